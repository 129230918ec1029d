// "Level3", the fourth stage: a tall hall of battlements, a column of spears down its right
// side, and the door in a keep at its middle behind fire-throwing Mellon Men.
#include "game/scenes/content_data.h"

namespace game {

namespace {

// clang-format off

// The hall, its top wall toothed by four battlements.
constexpr Point kHall[] = {
    {208, 59}, {216, 59}, {216, 10}, {262, 10}, {262, 59}, {270, 59}, {270, 10}, {316, 10},
    {316, 59}, {324, 59}, {324, 10}, {370, 10}, {370, 59}, {378, 59}, {378, 10}, {424, 10},
    {424, 59}, {432, 59}, {432, 10}, {469, 10}, {469, 443}, {198, 443}, {198, 330},
    {190, 330}, {190, 443}, {157, 443}, {157, 10}, {208, 10}, {208, 59}};
// The pillar that parts the left passage.
constexpr Point kLeftPillar[] = {{198, 105}, {190, 105}, {190, 293}, {198, 293}, {198, 105}};
// The ring wall round the middle, open at the bottom.
constexpr Point kRing[] = {
    {235, 105}, {235, 407}, {322, 407}, {322, 399}, {243, 399}, {243, 113}, {429, 113},
    {429, 399}, {352, 399}, {352, 407}, {437, 407}, {437, 105}, {235, 105}};
// The keep in the middle of the ring, where the door is.
constexpr Point kKeep[] = {
    {272, 366}, {280, 365}, {280, 294}, {296, 294}, {296, 259}, {327, 259}, {327, 294},
    {343, 294}, {343, 365}, {351, 365}, {351, 252}, {393, 252}, {393, 365}, {401, 365},
    {401, 148}, {353, 148}, {353, 156}, {393, 156}, {393, 244}, {280, 244}, {280, 156},
    {320, 156}, {320, 148}, {272, 148}, {272, 366}};

constexpr Polyline kWalls[] = {kHall, kLeftPillar, kRing, kKeep};

constexpr SoundRow kStreams[] = {{"Level1", kFogMusic}};
constexpr SoundRow kSounds[] = {kKeySound, kMeatSound, kFireballSound,
                                kLaughSound, kDoorSound, kItemSound};
constexpr MapRow kMaps[] = {LevelMap("Level3", "Level 3.bmp", kWalls)};

constexpr PathStep kGuardWalk[] = {{0, 268}, {0, -268}};

constexpr SpriteRow kSprites[] = {
    {"Mellon Man 1", 0, 0, 0, 399, 118, 0, 0, Behaviour(0), "mso"},
    {"Mellon Man 2", 0, 0, 10, 246, 120, 0, 0, Behaviour(2), "mso"},
    {"Mellon Man 3", 0, 1, 3, 322, 215, 0, 0, Behaviour(3), "mso"},
    {"FireBall", 2, 0, 0, -25, -20, 0, 0, Behaviour(1), "mso", {2, 2}, {0, 2}},
    {"FireBall2", 2, 0, 0, -45, 42, 0, 0, Behaviour(1), "mso", {2, 2}, {0, 2}},
    {"FireBall3", 2, 1, 0, -24, 61, 0, 0, Behaviour(1), "mso", {2, 2}, {0, -2}},
    {"Spear", 3, 1, 4, 442, 113, 0, 0, kNoControl, "so", {}, {}, 0, {}, Block(1, 0, 17, 17)},
    {"Player", 4, 0, 0, 366, 276, 1, 0, Behaviour(7), "ms", {2, 2}},
    {"Spinner1", 5, 0, 0, 301, 70, 0, 3, kNoControl, "mso", {5, 0}, {1, 0}, kBounce},
    {"Hat", 6, 0, 0, 169, 129, 0, 0, Behaviour(5), "so"},
    {"Keys", 10, 0, 0, 289, 30, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 168, 167, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 366, 229, 0, 0, Behaviour(6), "mso"},
    {"FireIcon", 8, 0, 0, 177, 33, 0, 0, Behaviour(8), "so"},
    {"WaterIcon", 9, 0, 0, -9, -15, 0, 0, Behaviour(9), "so"},
    {"Dagger", 7, 0, 0, 235, 31, 0, 0, Behaviour(10), "so"},
    {"Boot", 11, 0, 0, 394, 33, 0, 0, Behaviour(11), "so"},
    {"Meat", 13, 0, 0, 295, 223, 0, 0, Behaviour(13), "so"},
    {"Meat", 13, 0, 0, 449, 37, 0, 0, Behaviour(13), "so"},
    {"Meat", 13, 0, 0, 168, 422, 0, 0, Behaviour(13), "so"},
    {"Meat", 13, 0, 0, 339, 29, 0, 0, Behaviour(13), "so"},
    {"Hearts", 14, 0, 2, 60, 460, 0, 0, Behaviour(14), "r"},
    {"FireBlast", 12, 0, 0, -76, -146, 1, 0, Behaviour(12), "ms", {3, 3}},
    {"Door", 15, 0, 0, 296, 259, 0, 0, Behaviour(15), "so"},
    {"Helmit", 17, 0, 0, 207, 109, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kGuardWalk)},
    {"Glass", 19, 0, 0, 519, 28, 0, 0, Behaviour(21), "mso", {}, {}, kInactive},
    {"Trap", 20, 0, 0, -18, -16, 1, 0, kNoControl, "ms"},
    {"SecDoor", 1, 2, 0, 156, 104, 0, 0, Behaviour(18), "r"},
    {"Cover", 18, 7, 0, 469, 97, 0, 8, kNoControl, "r"},
};

// clang-format on

}  // namespace

constexpr SceneContent kLevel3Content{kStreams, kSounds, kMaps, "Level1", kSprites, {}};

}  // namespace game
