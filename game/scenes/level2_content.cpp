// "Level2", the second level: laser traps on the room's edges, a wall that only the water
// shout breaks, and a cover that the glass lifts. "Level4" has the same walls.
#include "game/scenes/content_data.h"

namespace game {

namespace {

// clang-format off

// The room's outer wall, with a notch at the middle of each side.
constexpr Point kOuterWall[] = {
    {42, 195}, {42, 42}, {308, 42}, {308, 10}, {337, 10}, {337, 42}, {598, 42}, {598, 195},
    {627, 195}, {627, 227}, {598, 227}, {598, 411}, {337, 411}, {337, 443}, {308, 443},
    {308, 411}, {42, 411}, {42, 227}, {13, 227}, {13, 195}, {42, 195}};
// The rounded corners, two pieces at each.
constexpr Point kBottomLeftSide[] = {{41, 411}, {44, 403}, {44, 388}, {41, 379}};
constexpr Point kBottomLeftFloor[] = {{74, 411}, {64, 409}, {50, 409}, {42, 411}};
constexpr Point kBottomRightFloor[] = {{597, 411}, {588, 409}, {574, 409}, {566, 411}};
constexpr Point kBottomRightSide[] = {{598, 379}, {596, 387}, {596, 401}, {598, 411}};
constexpr Point kTopRightSide[] = {{598, 43}, {596, 50}, {596, 64}, {598, 73}};
constexpr Point kTopRightCeiling[] = {{566, 41}, {575, 44}, {588, 44}, {597, 41}};
constexpr Point kTopLeftSide[] = {{41, 73}, {44, 66}, {44, 52}, {41, 42}};
constexpr Point kTopLeftCeiling[] = {{42, 41}, {51, 44}, {64, 44}, {73, 42}};
// The walls inside the room.
constexpr Point kInnerRooms[] = {
    {74, 75}, {74, 374}, {308, 374}, {308, 366}, {277, 366}, {277, 265}, {112, 265},
    {112, 333}, {120, 333}, {120, 273}, {269, 273}, {269, 366}, {82, 366}, {82, 238},
    {196, 238}, {196, 133}, {243, 133}, {243, 125}, {196, 125}, {196, 83}, {284, 83},
    {284, 174}, {235, 174}, {235, 182}, {292, 182}, {292, 83}, {558, 83}, {558, 366},
    {478, 366}, {478, 125}, {470, 125}, {470, 294}, {428, 294}, {428, 287}, {420, 287},
    {420, 366}, {340, 366}, {340, 374}, {428, 374}, {428, 302}, {470, 302}, {470, 374},
    {566, 374}, {566, 75}, {188, 75}, {188, 230}, {82, 230}, {82, 125}, {98, 125},
    {98, 90}, {129, 90}, {129, 125}, {145, 125}, {145, 196}, {153, 196}, {153, 75},
    {74, 75}};
// A thin pillar, the secret doors at its foot.
constexpr Point kPillar[] = {{420, 125}, {420, 254}, {428, 254}, {428, 125}, {420, 125}};

constexpr SoundRow kStreams[] = {{"Level2", kDungeonMusic}};
constexpr SoundRow kSounds[] = {kKeySound,  kMeatSound, kFireballSound, kDoorSound,
                                kItemSound, kBombSound, kLaughSound,    kLaserSound};

// clang-format on

}  // namespace

constexpr Polyline kLevel2Walls[11] = {
    kOuterWall,       kBottomLeftSide, kBottomLeftFloor, kBottomRightFloor,
    kBottomRightSide, kTopRightSide,   kTopRightCeiling, kTopLeftSide,
    kTopLeftCeiling,  kInnerRooms,     kPillar,
};

namespace {

constexpr MapRow kMaps[] = {LevelMap("Level2", "Level 2.bmp", kLevel2Walls)};

// clang-format off
constexpr SpriteRow kSprites[] = {
    {"Player", 4, 0, 0, 441, 323, 1, 0, Behaviour(7), "ms", {2, 2}},
    {"Keys", 10, 0, 0, 314, 432, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 441, 274, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 243, 348, 0, 0, Behaviour(6), "mso"},
    {"Hat", 6, 0, 0, 607, 208, 0, 0, Behaviour(5), "mso"},
    {"FireIcon", 8, 0, 0, 534, 342, 0, 0, Behaviour(8), "mso"},
    {"WaterIcon", 9, 0, 0, 318, 23, 0, 0, Behaviour(9), "mso"},
    {"Dagger", 7, 0, 0, 492, 342, 0, 0, Behaviour(10), "mso"},
    {"Boot", 11, 0, 0, 247, 289, 0, 0, Behaviour(11), "mso"},
    {"Meat", 13, 0, 0, 245, 318, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 203, 93, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 21, 213, 0, 0, Behaviour(13), "mso"},
    {"Hearts", 14, 0, 2, 60, 460, 0, 0, Behaviour(14), "r"},
    {"FireBlast", 12, 0, 1, -16, -18, 1, 0, Behaviour(12), "ms", {3, 3}},
    {"Door", 15, 0, 0, 98, 90, 0, 0, Behaviour(15), "so"},
    {"Trap", 20, 0, 0, 0, 0, 1, 0, kNoControl, "s"},
    {"Glass", 19, 0, 0, 202, 110, 0, 0, Behaviour(21), "mso"},
    {"Doors", 1, 1, 0, 425, 253, 0, 0, Behaviour(18), "mso"},
    {"Doors", 1, 1, 0, 419, 253, 0, 0, Behaviour(18), "mso"},
    {"Spear1", 3, 0, 2, 481, 223, 0, 0, kNoControl, "mso"},
    {"Spear1", 3, 1, 0, 483, 268, 0, 0, kNoControl, "mso"},
    {"Spear1", 3, 1, 4, 484, 178, 0, 0, kNoControl, "mso"},
    {"Spear1", 3, 0, 0, 481, 133, 0, 0, kNoControl, "mso"},
    {"Spinner1", 5, 0, 0, 120, 280, 0, 0, kNoControl, "mso", {0, 5}, {0, 1}, kBounce},
    {"Spinner1", 5, 0, 3, 184, 280, 0, 0, kNoControl, "mso", {0, 5}, {0, 1}, kBounce},
    {"Spinner1", 5, 0, 2, 435, 180, 0, 0, kNoControl, "mso", {0, 5}, {0, 1}, kBounce},
    {"Wall", 21, 0, 0, 307, 353, 0, 0, Behaviour(24), "so"},
    {"Laser Ball Up", 24, 0, 0, 55, 412, 0, 0, Behaviour(25), "r"},
    {"Laser Ball Up", 24, 0, 0, 579, 412, 0, 0, Behaviour(25), "r"},
    {"Laser Beam Up", 23, 1, 0, 0, 0, 0, 3, Behaviour(26), "ms", {0, 5}, {}, kInactive},
    {"Laser Beam Across", 23, 0, 0, 0, 0, 3, 0, Behaviour(26), "ms", {5, 5}, {}, kInactive},
    {"Laser Beam Left", 24, 0, 3, 36, 55, 0, 0, Behaviour(27), "r"},
    {"Laser Beam Left", 24, 0, 3, 36, 392, 0, 0, Behaviour(27), "r"},
    {"Laser Trap Down", 24, 0, 0, 579, 36, 0, 0, Behaviour(28), "r"},
    {"Laser Trap Down", 24, 0, 0, 55, 36, 0, 0, Behaviour(28), "r"},
    {"Laser Trap Right", 24, 0, 3, 599, 55, 0, 0, Behaviour(29), "r"},
    {"Laser Trap Right", 24, 0, 3, 599, 392, 0, 0, Behaviour(29), "r"},
    {"Cover", 18, 6, 0, 421, 253, 3, 2, Behaviour(20), "r"},
};
// clang-format on

}  // namespace

constexpr SceneContent kLevel2Content{kStreams, kSounds, kMaps, "Level2", kSprites, {}};

}  // namespace game
