// The dungeon's monsters and mechanical hazards: Mellon Man, the spears, the spinner, Helmit.
// Every outline is closed and runs counter-clockwise on screen, so its normals point out.
#include "game/animation/animation_data.h"

namespace game {

namespace {

// One frame a line, as the pictures play.
// clang-format off
constexpr uint32_t kBrown = 0x004080;
constexpr uint32_t kNavy = 0x800000;
constexpr uint32_t kWhite = 0xffffff;

// --- Mellon Man: stands in place and throws a fire ball at the end of each pass ---

constexpr Shape kMellonManBody[] = {Circle(12, 11, 11)};

constexpr FrameData kMellonManFront[] = {
    {"Mellon Man F01.bmp", 25, 25, kBrown, 90, kMellonManBody},
    {"Mellon Man F02.bmp", 25, 25, kBrown, 15, kMellonManBody},
    {"Mellon Man F03.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man F04.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man F05.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man F06.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man F07.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man F08.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man F09.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man F10.bmp", 25, 25, kBrown, 20, kMellonManBody},
    {"Mellon Man F11.bmp", 25, 25, kBrown, 15, kMellonManBody, CollisionRect(7, 6, 17, 13)},
};
constexpr FrameData kMellonManBack[] = {
    {"Mellon Man B01.bmp", 25, 25, kBrown, 100, kMellonManBody},
    {"Mellon Man B02.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B03.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B04.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B05.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B06.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B07.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B08.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B09.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B10.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B11.bmp", 25, 25, kBrown, 10, kMellonManBody},
    {"Mellon Man B12.bmp", 25, 25, kBrown, 10, kMellonManBody},
};
constexpr ActionData kMellonManActions[] = {{kMellonManFront}, {kMellonManBack}};

// --- spear trap: a box over the full height whose length follows the thrust ---

// Thrusting right from the left edge: the box from x 0 to x L.
constexpr auto kThrust29 = Loop({{29, 0}, {0, 0}, {0, 17}, {29, 17}});
constexpr Shape kThrust26[] = {
    Segment(0, 17, 26, 17), Segment(0, 0, 0, 17), Segment(26, 0, 0, 0), Segment(26, 17, 26, 0),
};
constexpr auto kThrust43 = Loop({{43, 0}, {0, 0}, {0, 17}, {43, 17}});
constexpr Shape kThrust69[] = {
    Segment(69, 0, 0, 0), Segment(69, 17, 69, 0), Segment(0, 17, 69, 17), Segment(0, 0, 0, 17),
};
constexpr auto kThrust28 = Loop({{28, 0}, {0, 0}, {0, 17}, {28, 17}});

// Thrusting left from the right edge: the box from x X to x 72.
constexpr auto kThrustFrom43 = Loop({{72, 0}, {43, 0}, {43, 17}, {72, 17}});
constexpr auto kThrustFrom46 = Loop({{72, 0}, {46, 0}, {46, 17}, {72, 17}});
constexpr auto kThrustFrom44 = Loop({{72, 0}, {44, 0}, {44, 17}, {72, 17}});
constexpr auto kThrustFrom29 = Loop({{72, 0}, {29, 0}, {29, 17}, {72, 17}});
constexpr auto kThrustFrom3 = Loop({{72, 0}, {3, 0}, {3, 17}, {72, 17}});

constexpr FrameData kSpearRight[] = {
    {"Poker1.bmp", 72, 17, kBrown, 5, kThrust29},
    {"Poker2.bmp", 72, 17, kBrown, 5, kThrust26},
    {"Poker3.bmp", 72, 17, kBrown, 5, kThrust29},
    {"Poker4.bmp", 72, 17, kBrown, 5, kThrust43},
    {"Poker5.bmp", 72, 17, kBrown, 5, kThrust69},
    {"Poker6.bmp", 72, 17, kBrown, 5, kThrust43},
    {"Poker7.bmp", 72, 17, kBrown, 5, kThrust28},
};
constexpr FrameData kSpearLeft[] = {
    {"Poker1R.bmp", 72, 17, kBrown, 5, kThrustFrom43},
    {"Poker2R.bmp", 72, 17, kBrown, 5, kThrustFrom46},
    {"Poker3R.bmp", 72, 17, kBrown, 5, kThrustFrom44},
    {"Poker4R.bmp", 72, 17, kBrown, 5, kThrustFrom29},
    {"Poker5R.bmp", 72, 17, kBrown, 5, kThrustFrom3},
    {"Poker6R.bmp", 72, 17, kBrown, 5, kThrustFrom29},
    {"Poker7R.bmp", 72, 17, kBrown, 5, kThrustFrom44},
};
constexpr ActionData kSpearActions[] = {{kSpearRight}, {kSpearLeft}};

// --- spinner: one turn through its four pictures takes 8 ticks ---

constexpr Shape kSpinnerBody[] = {Circle(13, 13, 12)};

constexpr FrameData kSpin[] = {
    {"Spinner 2.bmp", 27, 27, kNavy, 1, kSpinnerBody},
    {"Spinner 4.bmp", 27, 27, kNavy, 1, kSpinnerBody},
    {"Spinner 1.bmp", 27, 27, kNavy, 1, kSpinnerBody},
    {"Spinner 3.bmp", 27, 27, kNavy, 1, kSpinnerBody},
};
constexpr ActionData kSpinnerActions[] = {{kSpin}};

// --- Helmit: walks its path facing the way it goes ---

constexpr auto kHelmitUpright = Loop({{18, 0}, {0, 0}, {0, 21}, {18, 21}});
// Facing left: the body box, then a small box at its lower right that shares a piece of
// the line x = 19 with it, run the other way.
constexpr Shape kHelmitLeftOutline[] = {
    Segment(19, 0, 0, 0),    Segment(19, 21, 19, 0),  Segment(0, 21, 19, 21),
    Segment(0, 0, 0, 21),    Segment(24, 18, 19, 18), Segment(24, 21, 24, 18),
    Segment(19, 21, 24, 21), Segment(19, 18, 19, 21),
};
// Facing right: the same two boxes mirrored about x = 12.
constexpr std::array<Shape, 4> kHelmitRightBody = {
    Segment(24, 0, 5, 0), Segment(24, 21, 24, 0), Segment(5, 21, 24, 21), Segment(5, 0, 5, 21),
};
constexpr auto kHelmitRightFoot = Loop({{5, 18}, {0, 18}, {0, 21}, {5, 21}});
constexpr auto kHelmitRightOutline = Join(kHelmitRightBody, kHelmitRightFoot);

// The 25-pixel-wide left pictures keep the body of the 24-pixel-wide ones.
constexpr Departures kHelmitLeftRect = CollisionRect(0, 0, 23, 20);

constexpr FrameData kHelmitFront[] = {
    {"Helmit - F3.bmp", 18, 21, kWhite, 9, kHelmitUpright},
    {"Helmit - F2.bmp", 18, 21, kWhite, 9, kHelmitUpright},
    {"Helmit - F1.bmp", 18, 21, kWhite, 9, kHelmitUpright},
    {"Helmit - F4.bmp", 18, 21, kWhite, 9, kHelmitUpright},
};
constexpr FrameData kHelmitBack[] = {
    {"Helmit - B1.bmp", 18, 21, kWhite, 9, kHelmitUpright},
    {"Helmit - B2.bmp", 18, 21, kWhite, 9, kHelmitUpright},
    {"Helmit - B3.bmp", 18, 21, kWhite, 9, kHelmitUpright},
    {"Helmit - B4.bmp", 18, 21, kWhite, 9, kHelmitUpright},
};
constexpr FrameData kHelmitLeft[] = {
    {"Helmit - L1.bmp", 24, 21, kWhite, 9, kHelmitLeftOutline},
    {"Helmit - L2.bmp", 25, 21, kWhite, 9, kHelmitLeftOutline, kHelmitLeftRect},
    {"Helmit - L3.bmp", 24, 21, kWhite, 9, kHelmitLeftOutline},
    {"Helmit - L4.bmp", 25, 21, kWhite, 9, kHelmitLeftOutline, kHelmitLeftRect},
};
constexpr FrameData kHelmitRight[] = {
    {"Helmit - R1.bmp", 27, 21, kWhite, 9, kHelmitRightOutline},
    {"Helmit - R2.bmp", 27, 21, kWhite, 9, kHelmitRightOutline},
    {"Helmit - R3.bmp", 27, 21, kWhite, 9, kHelmitRightOutline},
    {"Helmit - R4.bmp", 27, 21, kWhite, 9, kHelmitRightOutline},
};
constexpr ActionData kHelmitActions[] = {
    {kHelmitFront}, {kHelmitBack}, {kHelmitLeft}, {kHelmitRight},
};

// clang-format on

}  // namespace

constexpr EntryData kMellonManSet{kMellonManActions};
constexpr EntryData kSpearSet{kSpearActions};
constexpr EntryData kSpinnerSet{kSpinnerActions};
constexpr EntryData kHelmitSet{kHelmitActions};

}  // namespace game
