// The hero: walking down, left, right and up, shouting down, up, left and right, the taunt
// and the death. Every outline goes counter-clockwise on screen, so its normals point out
// of the body; the outlines of walking down and shouting down stop one pixel short of
// closing.
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kOlive = 0x8080;
constexpr uint32_t kGreen = 0x8000;
constexpr uint32_t kPurple = 0x800080;
constexpr uint32_t kCyan = 0xffff00;

constexpr auto kWalkDownOutline = Chain({{16, 20}, {16, 9}, {12, 5}, {10, 0}, {6, 0}, {3, 7}, {0, 10}, {0, 19}, {4, 19}, {4, 22}, {13, 22}, {13, 19}, {15, 19}});
constexpr auto kWalkLeftOutline = Loop({{11, 22}, {13, 20}, {13, 7}, {8, 0}, {3, 0}, {2, 2}, {2, 20}, {6, 22}});
constexpr auto kWalkRightOutline = Loop({{15, 22}, {16, 15}, {13, 10}, {14, 3}, {12, 1}, {8, 1}, {0, 18}, {0, 22}});
constexpr auto kWalkUpOutline = Loop({{16, 20}, {16, 9}, {12, 5}, {10, 0}, {6, 0}, {4, 5}, {0, 10}, {0, 19}, {4, 19}, {4, 22}, {12, 22}, {12, 19}});
constexpr auto kShoutDownOutline = Chain({{16, 19}, {15, 4}, {12, 4}, {10, 0}, {6, 0}, {4, 4}, {1, 4}, {0, 20}, {3, 20}, {3, 22}, {13, 22}, {13, 20}, {16, 20}});
constexpr auto kShoutUpOutline = Loop({{13, 22}, {13, 20}, {16, 20}, {16, 16}, {13, 13}, {16, 11}, {16, 5}, {12, 4}, {10, 0}, {6, 0}, {4, 4}, {0, 5}, {0, 10}, {2, 13}, {0, 16}, {0, 20}, {3, 20}, {3, 22}});
constexpr auto kShoutLeftOutline = Loop({{11, 23}, {11, 20}, {13, 20}, {13, 4}, {10, 3}, {8, 0}, {4, 0}, {0, 4}, {3, 15}, {3, 21}, {6, 23}});
constexpr auto kShoutRightOutline = Loop({{11, 23}, {14, 21}, {14, 14}, {16, 6}, {16, 4}, {13, 0}, {10, 0}, {4, 4}, {4, 20}, {6, 20}, {6, 23}});
constexpr auto kTauntOutline = Loop({{13, 22}, {13, 20}, {16, 19}, {16, 10}, {12, 7}, {12, 3}, {10, 0}, {6, 0}, {4, 3}, {4, 7}, {0, 9}, {0, 20}, {3, 20}, {3, 22}});

// The walking-left body is narrower than its picture.
constexpr Departures kWalkLeftRect = CollisionRect(0, 0, 9, 21);

constexpr FrameData kWalkDown[] = {
    {"FC - Walk F2.bmp", 16, 22, kOlive, 9, kWalkDownOutline},
    {"FC - Walk F3.bmp", 16, 22, kOlive, 9, kWalkDownOutline},
    {"FC - Walk F4.bmp", 16, 22, kOlive, 9, kWalkDownOutline},
    {"FC - Walk F1.bmp", 16, 22, kOlive, 9, kWalkDownOutline},
};
constexpr FrameData kWalkLeft[] = {
    {"FC - Walk L4.bmp", 17, 23, kOlive, 9, kWalkLeftOutline, kWalkLeftRect},
    {"FC - Walk L3.bmp", 17, 23, kOlive, 9, kWalkLeftOutline, kWalkLeftRect},
    {"FC - Walk L2.bmp", 17, 23, kOlive, 9, kWalkLeftOutline, kWalkLeftRect},
    {"FC - Walk L1.bmp", 17, 23, kOlive, 9, kWalkLeftOutline, kWalkLeftRect},
};
constexpr FrameData kWalkRight[] = {
    {"FC - Walk R2.bmp", 17, 23, kOlive, 9, kWalkRightOutline},
    {"FC - Walk R3.bmp", 17, 23, kOlive, 9, kWalkRightOutline},
    {"FC - Walk R4.bmp", 17, 23, kOlive, 9, kWalkRightOutline},
    {"FC - Walk R1.bmp", 17, 23, kOlive, 9, kWalkRightOutline},
};
constexpr FrameData kWalkUp[] = {
    {"FC - WaklB2.bmp", 16, 22, kOlive, 9, kWalkUpOutline},
    {"FC - WaklB3.bmp", 16, 22, kOlive, 9, kWalkUpOutline},
    {"FC - WaklB4.bmp", 16, 22, kOlive, 9, kWalkUpOutline},
    {"FC - WaklB1.bmp", 16, 22, kOlive, 9, kWalkUpOutline},
};
constexpr FrameData kShoutDown[] = {
    {"FC - Shout F1.bmp", 16, 22, kGreen, 12, kShoutDownOutline},
    {"FC - Shout F2.bmp", 16, 22, kGreen, 30, kShoutDownOutline},
};
constexpr FrameData kShoutUp[] = {
    {"FC - Shout B1.bmp", 16, 22, kGreen, 42, kShoutUpOutline},
};
constexpr FrameData kShoutLeft[] = {
    {"FC - Shout L1.bmp", 17, 23, kGreen, 12, kShoutLeftOutline},
    {"FC - Shout L2.bmp", 17, 23, kGreen, 30, kShoutLeftOutline},
};
constexpr FrameData kShoutRight[] = {
    {"FC - Shout R1.bmp", 17, 23, kGreen, 12, kShoutRightOutline},
    {"FC - Shout R2.bmp", 17, 23, kGreen, 30, kShoutRightOutline},
};
constexpr FrameData kTaunt[] = {
    {"FC - T1.bmp", 16, 22, kPurple, 7, kTauntOutline},
    {"FC - T2.bmp", 16, 22, kPurple, 7, kTauntOutline},
};
constexpr FrameData kDeath[] = {
    {"Vrendle - Death01.bmp", 38, 33, kCyan, 50},
    {"Vrendle - Death02.bmp", 38, 33, kCyan, 20},
    {"Vrendle - Death03.bmp", 38, 33, kCyan, 20},
    {"Vrendle - Death04.bmp", 38, 33, kCyan, 20},
    {"Vrendle - Death05.bmp", 38, 33, kCyan, 50},
    {"Vrendle - Death06.bmp", 38, 33, kCyan, 6},
    {"Vrendle - Death07.bmp", 38, 33, kCyan, 6},
    {"Vrendle - Death08.bmp", 38, 33, kCyan, 6},
};

// The death ends on its last picture and stays there.
constexpr ActionData kHeroActions[] = {
    {kWalkDown}, {kWalkLeft}, {kWalkRight}, {kWalkUp}, {kShoutDown},
    {kShoutUp},  {kShoutLeft}, {kShoutRight}, {kTaunt}, {kDeath, 7},
};

}  // namespace

constexpr EntryData kHeroSet{kHeroActions};

}  // namespace game
