// "MidBoss", the third stage: the fight with the first boss, "Demon". The water icon waits
// hidden until the boss dies; the boss's shots start parked off screen or, for the two
// lasers, already falling where the boss will first fire them.
#include "game/scenes/content_data.h"

namespace game {

namespace {

constexpr SoundRow kMidBossStreams[] = {
    {"Level2", kDungeonMusic},
    {"Mid_Music", "Vostrel - Rain Over The Old Mill.wav"},
};
constexpr SoundRow kMidBossSounds[] = {kLaughSound, kDoorSound, kItemSound, kBombSound,
                                       kMeatSound,  kKeySound,  kFireballSound};

constexpr Point kMidBossOutline[] = {
    {88, 130},  {88, 8},    {552, 8},   {552, 130}, {560, 130}, {560, 59},  {576, 59},
    {576, 24},  {607, 24},  {607, 59},  {623, 59},  {623, 130}, {632, 130}, {632, 319},
    {573, 319}, {573, 399}, {581, 399}, {581, 327}, {623, 327}, {623, 443}, {16, 443},
    {17, 327},  {59, 327},  {59, 397},  {67, 397},  {67, 319},  {8, 319},   {8, 130},
    {33, 130},  {33, 122},  {17, 122},  {17, 17},   {80, 17},   {80, 122},  {65, 122},
    {65, 130},  {88, 130},
};
constexpr Polyline kMidBossWalls[] = {kMidBossOutline};

constexpr MapRow kMidBossMaps[] = {
    LevelMap("Mid_Boss", "Mid Boss.bmp", kMidBossWalls),
    MistMap("Mist", "Mist 2.bmp", 2, -3.0f),
};

constexpr PathStep kDemonPacing[] = {{101, 0},  {-133, 0}, {191, 0}, {-124, 0}, {287, 0},
                                     {-385, 0}, {436, 0},  {-249, 0}, {138, 0}, {-262, 0}};

constexpr SpriteRow kMidBossSprites[] = {
    {"Player", 4, 0, 0, 31, 346, 1, 0, Behaviour(7), "ms", {2, 2}},
    {"Hat", 6, 0, 0, 589, 391, 0, 0, Behaviour(5), "mso"},
    {"FireIcon", 8, 0, 0, 608, 391, 0, 0, Behaviour(8), "mso"},
    {"WaterIcon", 9, 0, 0, 318, 23, 0, 0, Behaviour(9), "mso", {}, {}, kInactive},
    {"Dagger", 7, 0, 0, 53, 85, 0, 0, Behaviour(10), "mso"},
    {"Boot", 11, 0, 0, 29, 74, 0, 0, Behaviour(11), "mso"},
    {"Meat", 13, 0, 0, 606, 363, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 611, 300, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 586, 363, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 585, 338, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 587, 300, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 607, 338, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 46, 298, 0, 0, Behaviour(13), "mso"},
    {"Meat", 13, 0, 0, 20, 290, 0, 0, Behaviour(13), "mso"},
    {"Hearts", 14, 0, 2, 60, 460, 0, 0, Behaviour(14), "r"},
    {"FireBlast", 12, 0, 1, -16, -18, 1, 0, Behaviour(12), "ms", {3, 3}},
    {"Door", 15, 0, 0, 576, 24, 0, 0, Behaviour(15), "so"},
    {"Trap", 20, 0, 0, 0, 0, 1, 0, kNoControl, "s"},
    {"Glass", 19, 0, 0, 57, 53, 0, 0, Behaviour(21), "mso"},
    {"Spinner1", 5, 0, 0, 84, 172, 3, 0, kNoControl, "ms", {6, 0}, {1, 0}, kBounce},
    {"Spinner1", 5, 0, 1, 522, 229, 3, 0, kNoControl, "ms", {6, 0}, {1, 0}, kBounce},
    {"Wall", 21, 0, 0, 32, 108, 0, 0, Behaviour(24), "so"},
    {"Keys", 10, 0, 0, 49, 29, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 23, 46, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 22, 22, 0, 0, Behaviour(6), "mso"},
    {"BLife", 26, 0, 0, 502, 450, 0, 0, Behaviour(32), "r"},
    {"Demon", 28, 0, 0, 99, 15, 3, 3, Machine(0), "ms", {3, 0}, {}, 0, Path(kDemonPacing)},
    {"Ball", 29, 0, 0, -7, -10, 3, 6, Behaviour(34), "msp", {0, 6}, {1, 1}},
    {"Laser1", 29, 2, 1, 80, 67, 3, 6, Behaviour(35), "msp", {0, 6}, {1, 1}},
    {"Laser2", 29, 2, 0, 56, 64, 3, 6, Behaviour(35), "msp", {0, 6}, {1, 1}},
    {"Barf", 29, 4, 0, -81, -75, 3, 6, Behaviour(36), "msp", {1, 1}},
};

}  // namespace

constexpr SceneContent kMidBossContent{kMidBossStreams, kMidBossSounds,   kMidBossMaps,
                                       "Mid_Music",     kMidBossSprites, {}};

}  // namespace game
