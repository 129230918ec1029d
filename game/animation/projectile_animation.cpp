// Fire balls, the hero's fire blast and knife trap, the laser beams and laser traps.
#include "game/animation/animation_data.h"

namespace game {

namespace {

// One frame a line, as the pictures play.
// clang-format off
constexpr uint32_t kSkyBlue = 0xff8000;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kSpringGreen = 0x80ff00;
constexpr uint32_t kWhite = 0xffffff;
constexpr uint32_t kLightGrey = 0xc0c0c0;

// --- fire ball: only the edge that leads in the direction of flight collides ---

// Along the lower edge, normals pointing down and away from the ball.
constexpr auto kFallingBallEdge = Chain({{2, 20}, {4, 23}, {7, 23}, {9, 21}});
// Along the upper edge, normals pointing up and away; added from the chain's last
// segment to its first.
constexpr Shape kRisingBallEdge[] = {
    Segment(4, 2, 2, 4),
    Segment(7, 2, 4, 2),
    Segment(9, 4, 7, 2),
};

constexpr FrameData kBallDown[] = {
    {"Fire Ball 1.bmp", 11, 25, kSkyBlue, 10, kFallingBallEdge},
    {"Fire Ball 2.bmp", 11, 25, kSkyBlue, 10, kFallingBallEdge},
};
constexpr FrameData kBallUp[] = {
    {"Fire Ball up 1.bmp", 11, 25, kSkyBlue, 10, kRisingBallEdge},
    {"Fire Ball up 2.bmp", 11, 25, kSkyBlue, 10, kRisingBallEdge},
};
constexpr ActionData kFireBallActions[] = {{kBallDown}, {kBallUp}};

// --- the hero's fire blast ---

constexpr Shape kBlastBody[] = {Circle(7, 7, 5)};

constexpr FrameData kBlast[] = {
    {"Fire 2.bmp", 14, 14, kBlack, 2, kBlastBody},
    {"Fire 3.bmp", 14, 14, kBlack, 2, kBlastBody},
};
constexpr ActionData kFireBlastActions[] = {{kBlast}};

// --- the hero's knife, laid down as a trap ---

constexpr Shape kKnifeBody[] = {Circle(6, 5, 4)};

constexpr FrameData kKnife[] = {
    {"KnifeSpr.bmp", 13, 10, kSpringGreen, 1, kKnifeBody},
};
constexpr ActionData kTrapActions[] = {{kKnife}};

// --- laser beam: the pictures play 1, 10, 11, 2 ... 9, whichever way the beam flies ---

// Rightward along the bottom, up the right side, back along the top and down the left.
constexpr auto kAcrossBeamOutline = Loop({{1, 7}, {26, 7}, {26, 1}, {1, 1}});
constexpr auto kUpBeamOutline = Loop({{2, 26}, {8, 26}, {8, 1}, {2, 1}});

constexpr FrameData kBeamAcross[] = {
    {"Laser 1.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 10.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 11.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 2.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 3.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 4.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 5.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 6.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 7.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 8.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
    {"Laser 9.bmp", 27, 9, kWhite, 5, kAcrossBeamOutline},
};
constexpr FrameData kBeamUp[] = {
    {"Laser u 1.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 10.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 11.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 2.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 3.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 4.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 5.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 6.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 7.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 8.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
    {"Laser u 9.bmp", 9, 27, kWhite, 5, kUpBeamOutline},
};
constexpr ActionData kLaserBeamActions[] = {{kBeamAcross}, {kBeamUp}};

// --- laser trap: fires as its last picture runs out; the start frame sets the phase ---

constexpr FrameData kTrapCycle[] = {
    {"Laser Trap Down.bmp", 5, 5, kLightGrey, 80},
    {"Laser Trap Left.bmp", 5, 5, kLightGrey, 80},
    {"Laser Trap Right.bmp", 5, 5, kLightGrey, 80},
    {"Laser Trap Up.bmp", 5, 5, kLightGrey, 80},
};
constexpr ActionData kLaserTrapActions[] = {{kTrapCycle}};

// clang-format on

}  // namespace

constexpr EntryData kFireBallSet{kFireBallActions};
constexpr EntryData kFireBlastSet{kFireBlastActions};
constexpr EntryData kTrapSet{kTrapActions};
constexpr EntryData kLaserBeamSet{kLaserBeamActions};
constexpr EntryData kLaserTrapSet{kLaserTrapActions};

}  // namespace game
