// The final boss "Tenma": appearing, the laser, the blob, the balls, and the cloud it
// vanishes in. The laser leaves on the last beam frame and the blob on the last blast
// frame, so those frame counts are part of the fight.
//
// Each body is a box added top, right, bottom, left, every side run so that it ends where
// the one added before it starts: followed along their directions the sides go
// counter-clockwise on screen and every normal points out of the box.
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kBlue = 0xff0000;

constexpr Shape kStartBody[] = {
    Segment(56, 19, 43, 19),
    Segment(56, 43, 56, 19),
    Segment(43, 43, 56, 43),
    Segment(43, 19, 43, 43),
};
// The left side is two segments that meet at (42, 31).
constexpr Shape kBeamBody[] = {
    Segment(58, 18, 42, 18),
    Segment(58, 44, 58, 18),
    Segment(42, 44, 58, 44),
    Segment(42, 31, 42, 44),
    Segment(42, 18, 42, 31),
};
constexpr Shape kBlastBody[] = {
    Segment(57, 18, 41, 18),
    Segment(57, 43, 57, 18),
    Segment(41, 43, 57, 43),
    Segment(41, 18, 41, 43),
};
constexpr Shape kAttackBody[] = {
    Segment(57, 18, 43, 18),
    Segment(57, 43, 57, 18),
    Segment(43, 43, 57, 43),
    Segment(43, 18, 43, 43),
};

constexpr FrameData kStart[] = {
    {"Mage - Start 01.bmp", 104, 76, kBlue, 60, kStartBody},
    {"Mage - Start 02.bmp", 104, 76, kBlue, 3, kStartBody},
    {"Mage - Start 03.bmp", 104, 76, kBlue, 30, kStartBody},
};
constexpr FrameData kBeam[] = {
    {"Mage - Beam 01.bmp", 104, 76, kBlue, 5, kBeamBody},
    {"Mage - Beam 02.bmp", 104, 76, kBlue, 5, kBeamBody},
    {"Mage - Beam 03.bmp", 104, 76, kBlue, 5, kBeamBody},
    {"Mage - Beam 04.bmp", 104, 76, kBlue, 5, kBeamBody},
    {"Mage - Beam 05.bmp", 104, 76, kBlue, 5, kBeamBody},
};
constexpr FrameData kBlast[] = {
    {"Mage - Blast 01.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 02.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 03.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 04.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 05.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 06.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 07.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 08.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 09.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 10.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 11.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 12.bmp", 104, 76, kBlue, 3, kBlastBody},
    {"Mage - Blast 13.bmp", 104, 76, kBlue, 3, kBlastBody},
    {"Mage - Blast 14.bmp", 104, 76, kBlue, 3, kBlastBody},
    {"Mage - Blast 15.bmp", 104, 76, kBlue, 3, kBlastBody},
    {"Mage - Blast 16.bmp", 104, 76, kBlue, 3, kBlastBody},
    {"Mage - Blast 17.bmp", 104, 76, kBlue, 3, kBlastBody},
    {"Mage - Blast 18.bmp", 104, 76, kBlue, 3, kBlastBody},
    {"Mage - Blast 19.bmp", 104, 76, kBlue, 6, kBlastBody},
    {"Mage - Blast 20.bmp", 104, 76, kBlue, 6, kBlastBody},
};
constexpr FrameData kAttack[] = {
    {"Mage - Attack 01.bmp", 104, 76, kBlue, 30, kAttackBody},
    {"Mage - Attack 02.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 03.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 04.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 05.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 06.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 07.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 08.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 09.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 10.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 11.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 12.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 13.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 14.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 15.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 16.bmp", 104, 76, kBlue, 5, kAttackBody},
    {"Mage - Attack 17.bmp", 104, 76, kBlue, 30, kAttackBody},
};
constexpr FrameData kCloud[] = {
    {"Sequel Cloud - 01.bmp", 71, 69, kBlue, 6},
    {"Sequel Cloud - 02.bmp", 71, 69, kBlue, 6},
    {"Sequel Cloud - 03.bmp", 71, 69, kBlue, 6},
    {"Sequel Cloud - 04.bmp", 71, 69, kBlue, 6},
    {"Sequel Cloud - 05.bmp", 71, 69, kBlue, 6},
    {"Sequel Cloud - 06.bmp", 71, 69, kBlue, 6},
    {"Sequel Cloud - 07.bmp", 71, 69, kBlue, 6},
    {"Sequel Cloud - 08.bmp", 71, 69, kBlue, 6},
};

// The cloud stays on its last picture until the boss is removed.
constexpr ActionData kTenmaActions[] = {{kStart}, {kBeam}, {kBlast}, {kAttack}, {kCloud, 7}};

}  // namespace

constexpr EntryData kTenmaSet{kTenmaActions};

}  // namespace game
