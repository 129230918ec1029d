// "Level4", the fifth stage: the rooms and walls of "Level2" again, its map named for this
// level, without the cover, with its lasers out of step, a fourth spinner, a fire thrower
// and three helmeted guards on their rounds.
#include "game/scenes/content_data.h"

namespace game {

namespace {

// clang-format off

constexpr SoundRow kStreams[] = {{"Level2", kDungeonMusic}};
constexpr SoundRow kSounds[] = {kDoorSound, kItemSound, kLaughSound, kMeatSound,
                                kKeySound, kFireballSound, kBombSound, kLaserSound};
constexpr MapRow kMaps[] = {LevelMap("Level4", "Level 2.bmp", kLevel2Walls)};

constexpr PathStep kWestGuardWalk[] = {{74, 0}, {-74, 0}};
constexpr PathStep kHallGuardWalk[] = {{91, 0}, {0, 126}, {-91, 0}, {0, -126}};
constexpr PathStep kNorthGuardWalk[] = {{2, 43}, {-46, 3}, {1, 85}, {-7, -85}, {54, -4}, {-4, -42}};

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
    {"Spinner1", 5, 0, 1, 153, 331, 0, 0, kNoControl, "mso", {0, 5}, {0, 1}, kBounce},
    {"Spinner1", 5, 0, 3, 184, 280, 0, 0, kNoControl, "mso", {0, 5}, {0, 1}, kBounce},
    {"Spinner1", 5, 0, 2, 435, 180, 0, 0, kNoControl, "mso", {0, 5}, {0, 1}, kBounce},
    {"Wall", 21, 0, 0, 307, 353, 0, 0, Behaviour(24), "so"},
    {"Laser Ball Up", 24, 0, 0, 55, 412, 0, 0, Behaviour(25), "r"},
    {"Laser Ball Up", 24, 0, 0, 579, 412, 0, 0, Behaviour(25), "r"},
    {"Laser Beam Up", 23, 1, 0, 0, 0, 0, 3, Behaviour(26), "ms", {0, 5}, {}, kInactive},
    {"Laser Beam Across", 23, 0, 0, 0, 0, 3, 0, Behaviour(26), "ms", {5, 5}, {}, kInactive},
    {"Laser Beam Left", 24, 0, 1, 36, 55, 0, 0, Behaviour(27), "r"},
    {"Laser Beam Left", 24, 0, 1, 36, 392, 0, 0, Behaviour(27), "r"},
    {"Laser Trap Down", 24, 0, 2, 579, 36, 0, 0, Behaviour(28), "r"},
    {"Laser Trap Down", 24, 0, 2, 55, 36, 0, 0, Behaviour(28), "r"},
    {"Laser Trap Down", 24, 0, 3, 599, 55, 0, 0, Behaviour(29), "r"},
    {"Laser Trap Down", 24, 0, 3, 599, 392, 0, 0, Behaviour(29), "r"},
    {"FireBall", 2, 0, 0, -25, -20, 3, 0, Behaviour(1), "ms", {2, 7}, {0, 2}},
    {"Mellon Man 1", 0, 0, 0, 310, 85, 0, 0, Behaviour(0), "mso"},
    {"Helmit", 17, 0, 0, 90, 200, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kWestGuardWalk)},
    {"Helmit", 17, 0, 0, 302, 204, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kHallGuardWalk)},
    {"Helmit", 17, 0, 0, 254, 94, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kNorthGuardWalk)},
};

// clang-format on

}  // namespace

constexpr SceneContent kLevel4Content{kStreams, kSounds, kMaps, "Level2", kSprites, {}};

}  // namespace game
