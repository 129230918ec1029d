// The mid boss's projectiles: its ball, an explosion that nothing shows, its laser bolt,
// the spark a bolt shows when it hits, and its barf.
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kCyan = 0xffff00;
constexpr uint32_t kGrey = 0x808080;

// The ball's circle sits a pixel right of and below the picture's centre.
constexpr Shape kBallBody[] = {Circle(6, 6, 3)};
// A bolt's box, x 20 to 26 and y 2 to 39, one row below the picture; added out of chain
// order, each segment ending where the one before it begins, every normal pointing out.
constexpr Shape kBoltBody[] = {
    Segment(20, 39, 26, 39),
    Segment(20, 2, 20, 39),
    Segment(26, 2, 20, 2),
    Segment(26, 39, 26, 2),
};
// The barf's circle sits a pixel above the picture's centre.
constexpr Shape kBarfBody[] = {Circle(34, 33, 27)};

constexpr FrameData kBall[] = {
    {"Grobnik - Ball 01.bmp", 11, 11, kCyan, 6, kBallBody},
    {"Grobnik - Ball 02.bmp", 11, 11, kCyan, 6, kBallBody},
    {"Grobnik - Ball 03.bmp", 11, 11, kCyan, 6, kBallBody},
    {"Grobnik - Ball 04.bmp", 11, 11, kCyan, 6, kBallBody},
};
constexpr FrameData kExplosion[] = {
    {"Grobnik - Explo 01.bmp", 81, 75, kCyan, 4},
    {"Grobnik - Explo 02.bmp", 81, 75, kCyan, 4},
    {"Grobnik - Explo 03.bmp", 81, 75, kCyan, 4},
    {"Grobnik - Explo 04.bmp", 81, 75, kCyan, 4},
    {"Grobnik - Explo 05.bmp", 81, 75, kCyan, 4},
};
constexpr FrameData kBolt[] = {
    {"Grobnik - Laser 01.bmp", 47, 39, kGrey, 3, kBoltBody},
    {"Grobnik - Laser 02.bmp", 47, 39, kGrey, 3, kBoltBody},
    {"Grobnik - Laser 03.bmp", 47, 39, kGrey, 3, kBoltBody},
    {"Grobnik - Laser 04.bmp", 47, 39, kGrey, 3, kBoltBody},
    {"Grobnik - Laser 05.bmp", 47, 39, kGrey, 3, kBoltBody},
    {"Grobnik - Laser 06.bmp", 47, 39, kGrey, 3, kBoltBody},
};
// A bolt that hit hides itself at the end of the spark's first pass.
constexpr FrameData kSpark[] = {
    {"Grobnik - Spark 01.bmp", 47, 39, kGrey, 6},
    {"Grobnik - Spark 02.bmp", 47, 39, kGrey, 6},
};
constexpr FrameData kBarf[] = {
    {"Grobnik - Barf 01.bmp", 69, 68, kCyan, 12, kBarfBody},
    {"Grobnik - Barf 02.bmp", 69, 68, kCyan, 12, kBarfBody},
    {"Grobnik - Barf 03.bmp", 69, 68, kCyan, 12, kBarfBody},
};
constexpr ActionData kDemonAttackActions[] = {{kBall}, {kExplosion}, {kBolt}, {kSpark}, {kBarf}};

}  // namespace

constexpr EntryData kDemonAttackSet{kDemonAttackActions};

}  // namespace game
