// The final boss's life bar: the frame is the life left, 0 to 19, chosen by the bar's
// behaviour every tick. The behaviour reloads the timer each tick, so the duration only
// has to be at least 1 to keep the animation step from moving the frame on.
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kGrey = 0xc8d0d4;

constexpr FrameData kTenmaLifeBar[] = {
    {"TenmaLife - 01.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 02.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 03.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 04.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 05.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 06.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 07.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 08.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 09.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 10.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 11.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 12.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 13.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 14.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 15.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 16.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 17.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 18.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 19.bmp", 126, 26, kGrey, 13},
    {"TenmaLife - 20.bmp", 126, 26, kGrey, 13, {}, kOpaque},
};
constexpr ActionData kTenmaLifeActions[] = {{kTenmaLifeBar}};

}  // namespace

constexpr EntryData kTenmaLifeSet{kTenmaLifeActions};

}  // namespace game
