// The mid boss's life bar: the frame is the life left, 0 to 12, chosen by the bar's
// behaviour every tick. The behaviour reloads the timer each tick, so a duration of 1
// keeps the animation step from moving the frame on before it is drawn.
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey = 0xc8d0d4;

// The pictures are numbered from full life down, so their numbers run against the frames.
constexpr FrameData kDemonLifeBar[] = {
    {"BossLife - 12.bmp", 126, 26, kBlack, 1},
    {"BossLife - 11.bmp", 126, 26, kBlack, 1},
    {"BossLife - 10.bmp", 126, 26, kBlack, 1},
    {"BossLife - 09.bmp", 126, 26, kBlack, 1},
    {"BossLife - 08.bmp", 126, 26, kBlack, 1},
    {"BossLife - 07.bmp", 126, 26, kBlack, 1},
    {"BossLife - 06.bmp", 126, 26, kBlack, 1},
    {"BossLife - 05.5.bmp", 126, 26, kBlack, 1},
    {"BossLife - 05.bmp", 126, 26, kBlack, 1},
    {"BossLife - 04.bmp", 126, 26, kBlack, 1},
    {"BossLife - 03.bmp", 126, 26, kBlack, 1},
    {"BossLife - 02.bmp", 126, 26, kBlack, 1},
    {"BossLife - 01.bmp", 126, 26, kGrey, 1, {}, kOpaque},
};
constexpr ActionData kDemonLifeActions[] = {{kDemonLifeBar}};

}  // namespace

constexpr EntryData kDemonLifeSet{kDemonLifeActions};

}  // namespace game
