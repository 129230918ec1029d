// The final boss's projectiles: the laser, the blob and the ball, one action each.
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kBlue = 0xff0000;

// Four small circles along the beam, then a box round it, x 2 to 38 and y 1 to 4, run
// counter-clockwise on screen so its normals point out.
constexpr Shape kLaserBody[] = {
    Circle(2, 2, 1),
    Circle(10, 3, 1),
    Circle(20, 2, 1),
    Circle(26, 2, 1),
    Segment(2, 4, 38, 4),
    Segment(38, 4, 38, 1),
    Segment(38, 1, 2, 1),
    Segment(2, 1, 2, 4),
};
constexpr Shape kBlobBody[] = {Circle(6, 6, 4)};
constexpr Shape kBallBody[] = {Circle(4, 4, 3)};

constexpr FrameData kLaser[] = {
    {"Mage - Laser.bmp", 39, 5, kBlue, 1, kLaserBody},
};
constexpr FrameData kBlob[] = {
    {"Mage - Blob 01.bmp", 12, 13, kBlue, 8, kBlobBody},
    {"Mage - Blob 02.bmp", 12, 13, kBlue, 8, kBlobBody},
    {"Mage - Blob 03.bmp", 12, 13, kBlue, 8, kBlobBody},
    {"Mage - Blob 04.bmp", 12, 13, kBlue, 8, kBlobBody},
    {"Mage - Blob 05.bmp", 12, 13, kBlue, 12, kBlobBody},
    {"Mage - Blob 06.bmp", 12, 13, kBlue, 8, kBlobBody},
    {"Mage - Blob 07.bmp", 12, 13, kBlue, 8, kBlobBody},
};
constexpr FrameData kBall[] = {
    {"Mage - Ball 01.bmp", 9, 9, kBlue, 6, kBallBody},
    {"Mage - Ball 02.bmp", 9, 9, kBlue, 6, kBallBody},
    {"Mage - Ball 03.bmp", 9, 9, kBlue, 6, kBallBody},
    {"Mage - Ball 04.bmp", 9, 9, kBlue, 6, kBallBody},
    {"Mage - Ball 05.bmp", 9, 9, kBlue, 6, kBallBody},
    {"Mage - Ball 06.bmp", 9, 9, kBlue, 6, kBallBody},
};
constexpr ActionData kTenmaAttackActions[] = {{kLaser}, {kBlob}, {kBall}};

}  // namespace

constexpr EntryData kTenmaAttackSet{kTenmaAttackActions};

}  // namespace game
