// "Level1", the first level: the hat, three keys and the door, with four Mellon Men, three
// spears, a spinner and six Helmits in the way.
#include "game/scenes/content_data.h"

namespace game {

namespace {

constexpr SoundRow kLevel1Streams[] = {{"Level1", kFogMusic}};
constexpr SoundRow kLevel1Sounds[] = {kKeySound,   kMeatSound, kFireballSound,
                                      kLaughSound, kDoorSound, kItemSound};

// The walls, in map pixels: six closed outlines and three short open pieces that round off
// corners.
constexpr Point kOuterWall[] = {
    {8, 445}, {8, 121}, {170, 121}, {170, 113}, {8, 113}, {8, 8}, {50, 8}, {50, 68}, {170, 68},
    {170, 53}, {105, 53}, {105, 20}, {170, 20}, {170, 8}, {632, 8}, {632, 441}, {604, 469},
    {497, 469}, {497, 445}, {454, 445}, {454, 402}, {481, 402}, {481, 394}, {454, 394}, {454, 330},
    {425, 330}, {425, 276}, {454, 276}, {454, 229}, {425, 229}, {425, 190}, {454, 190}, {454, 182},
    {411, 182}, {411, 101}, {357, 101}, {357, 136}, {366, 136}, {366, 110}, {400, 110}, {400, 136},
    {403, 136}, {403, 190}, {417, 190}, {417, 220}, {368, 220}, {368, 228}, {417, 228}, {417, 264},
    {368, 264}, {368, 272}, {417, 272}, {417, 317}, {309, 317}, {309, 325}, {376, 325}, {376, 404},
    {382, 404}, {382, 347}, {416, 347}, {416, 404}, {417, 404}, {417, 445}, {8, 445}
};
constexpr Point kPillar[] = {{65, 404}, {119, 404}, {119, 359}, {65, 359}, {65, 404}};
constexpr Point kSouthBlock[] = {
    {153, 359}, {153, 404}, {329, 404}, {329, 396}, {178, 396}, {178, 366}, {210, 366}, {210, 358},
    {178, 358}, {178, 328}, {247, 328}, {247, 264}, {239, 264}, {239, 320}, {212, 320}, {212, 286},
    {205, 286}, {205, 320}, {178, 320}, {178, 264}, {170, 264}, {170, 359}, {153, 359}
};
constexpr Point kEastColumn[] = {
    {537, 77}, {571, 77}, {571, 145}, {580, 145}, {580, 429}, {588, 429}, {588, 60}, {514, 60},
    {514, 145}, {537, 145}, {537, 77}
};
constexpr Point kEastBlock[] = {
    {506, 229}, {536, 229}, {536, 280}, {507, 280}, {507, 327}, {536, 327}, {536, 394}, {515, 394},
    {515, 402}, {536, 402}, {536, 429}, {544, 429}, {544, 182}, {506, 182}, {506, 229}
};
constexpr Point kNorthBlock[] = {
    {446, 145}, {454, 145}, {454, 60}, {239, 60}, {239, 171}, {65, 171}, {65, 179}, {170, 179},
    {170, 220}, {65, 220}, {65, 313}, {135, 313}, {135, 263}, {127, 263}, {127, 305}, {73, 305},
    {73, 228}, {178, 228}, {178, 179}, {205, 179}, {205, 213}, {212, 213}, {212, 179}, {239, 179},
    {239, 228}, {247, 228}, {247, 110}, {263, 110}, {263, 75}, {294, 75}, {294, 110}, {310, 110},
    {310, 179}, {358, 179}, {358, 171}, {318, 171}, {318, 68}, {446, 68}, {446, 145}
};
constexpr Point kRoundedCorner1[] = {{425, 216}, {428, 213}, {428, 206}, {425, 202}};
constexpr Point kRoundedCorner2[] = {{425, 309}, {428, 307}, {428, 298}, {425, 295}};
constexpr Point kRoundedCorner3[] = {{536, 247}, {533, 250}, {533, 258}, {536, 262}};
constexpr Polyline kLevel1Walls[] = {
    kOuterWall, kPillar, kSouthBlock, kEastColumn, kEastBlock, kNorthBlock,
    kRoundedCorner1, kRoundedCorner2, kRoundedCorner3,
};

constexpr MapRow kLevel1Maps[] = {LevelMap("Level1", "Level 1.bmp", kLevel1Walls)};

// The Helmits' rounds, each walked in a loop.
constexpr PathStep kHelmitWalk1[] = {{45, 1}, {0, 107}, {-44, 1}, {-1, -109}};
constexpr PathStep kHelmitWalk2[] = {
    {122, 2}, {8, 394}, {-25, 23}, {-28, 0}, {-3, -290}, {-74, -1}, {0, -128}
};
constexpr PathStep kHelmitWalk3[] = {{0, 273}, {0, -273}};
constexpr PathStep kHelmitWalk4[] = {
    {132, -3}, {5, -111}, {219, 0}, {-231, 3}, {-6, 119}, {-119, -8}
};
constexpr PathStep kHelmitWalk5[] = {{160, 1}, {-160, -1}};
constexpr PathStep kHelmitWalk6[] = {{-164, 4}, {164, -4}};

// The hero, its fire blast and its trap are the only sprites of layer 1, and none of them
// collides with its own layer, so the hero's weapons never touch the hero.
constexpr SpriteRow kLevel1Sprites[] = {
    {"DoorSide", 1, 1, 0, 167, 19, 0, 0, Behaviour(18), "so"},
    {"Mellon Man 1", 0, 0, 0, 179, 182, 0, 0, Behaviour(0), "mso"},
    {"Mellon Man 2", 0, 0, 10, 212, 182, 0, 0, Behaviour(2), "mso"},
    {"Mellon Man 4", 0, 1, 2, 179, 291, 0, 0, Behaviour(4), "mso"},
    {"Mellon Man 3", 0, 1, 3, 212, 291, 0, 0, Behaviour(3), "mso"},
    {"DoorFront", 1, 0, 0, 118, 358, 0, 0, Behaviour(18), "r"},
    {"DoorFront", 1, 0, 0, 365, 133, 0, 0, Behaviour(18), "r"},
    {"DoorFront", 1, 0, 0, 118, 401, 0, 0, Behaviour(18), "r"},
    {"DoorFront", 1, 0, 0, 480, 393, 0, 0, Behaviour(18), "r"},
    {"DoorFront", 1, 0, 0, 480, 399, 0, 0, Behaviour(18), "r"},
    {"DoorFront", 1, 0, 0, 536, 142, 0, 0, Behaviour(18), "r"},
    {"DoorFront", 1, 0, 0, 381, 401, 0, 0, Behaviour(18), "r"},
    {"FireBall", 2, 0, 0, -102, -23, 0, 0, Behaviour(1), "mso", {2, 2}, {0, 2}},
    {"FireBall2", 2, 0, 0, -45, 42, 0, 0, Behaviour(1), "mso", {2, 2}, {0, 2}},
    {"FireBall3", 2, 1, 0, -24, 61, 0, 0, Behaviour(1), "mso", {2, 2}, {0, -2}},
    {"FireBall4", 2, 1, 0, -26, 67, 0, 6, Behaviour(1), "mso", {2, 2}, {0, -2}},
    {"Spear1", 3, 0, 0, 428, 201, 0, 0, kNoControl, "mso"},
    {"Spear2", 3, 1, 2, 462, 246, 0, 0, kNoControl, "mso"},
    {"Spear3", 3, 0, 4, 428, 294, 0, 0, kNoControl, "mso"},
    {"Player", 4, 0, 0, 21, 25, 1, 0, Behaviour(7), "ms", {2, 2}},
    {"Spinner1", 5, 0, 0, 325, 228, 0, 3, kNoControl, "mso", {0, 5}, {0, -1}, kBounce},
    {"Hat", 6, 0, 0, 151, 195, 0, 0, Behaviour(5), "so"},
    {"Keys", 10, 0, 0, 105, 289, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 125, 378, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 140, 38, 0, 0, Behaviour(6), "mso"},
    {"FireIcon", 8, 0, 0, 491, 357, 0, 0, Behaviour(8), "so"},
    {"WaterIcon", 9, 0, 0, -9, -15, 0, 0, Behaviour(9), "so"},
    {"Dagger", 7, 0, 0, 119, 34, 0, 0, Behaviour(10), "so"},
    {"Boot", 11, 0, 0, 550, 113, 0, 0, Behaviour(11), "so"},
    {"Meat", 13, 0, 0, 377, 116, 0, 0, Behaviour(13), "so"},
    {"Meat", 13, 0, 0, 82, 285, 0, 0, Behaviour(13), "so"},
    {"Meat", 13, 0, 0, 394, 378, 0, 0, Behaviour(13), "so"},
    {"Meat", 13, 0, 0, 386, 289, 0, 0, Behaviour(13), "so"},
    {"Hearts", 14, 0, 2, 60, 460, 0, 0, Behaviour(14), "r"},
    {"FireBlast", 12, 0, 0, -76, -146, 1, 0, Behaviour(12), "ms", {3, 3}},
    {"Door", 15, 0, 0, 263, 75, 0, 0, Behaviour(15), "so"},
    {"Helmit", 17, 0, 0, 270, 194, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kHelmitWalk1)},
    {"Helmit", 17, 0, 0, 501, 32, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kHelmitWalk2)},
    {"Helmit", 17, 0, 0, 39, 159, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kHelmitWalk3)},
    {"Helmit", 17, 0, 0, 78, 144, 0, 0, Behaviour(19), "mso", {2, 2}, {}, 0, Path(kHelmitWalk4)},
    {"Helmit", 17, 0, 0, 190, 333, 0, 0, Behaviour(19), "mso", {2, 0}, {}, 0, Path(kHelmitWalk5)},
    {"Helmit", 17, 0, 0, 348, 372, 0, 0, Behaviour(19), "mso", {2, 0}, {}, 0, Path(kHelmitWalk6)},
    {"covers", 18, 0, 0, 119, 361, 2, 6, Behaviour(20), "r"},
    {"covers", 18, 1, 0, 105, 20, 2, 6, Behaviour(20), "r"},
    {"covers", 18, 2, 0, 382, 347, 2, 6, Behaviour(20), "r"},
    {"covers", 18, 3, 0, 481, 396, 2, 6, Behaviour(20), "r"},
    {"covers", 18, 4, 0, 537, 77, 2, 6, Behaviour(20), "r"},
    {"covers", 18, 5, 0, 366, 110, 2, 6, Behaviour(20), "r"},
    {"Glass", 19, 0, 0, 387, 246, 0, 0, Behaviour(21), "mso"},
    {"Trap", 20, 0, 0, -18, -16, 1, 0, kNoControl, "ms"},
};

}  // namespace

constexpr SceneContent kLevel1Content{kLevel1Streams, kLevel1Sounds,   kLevel1Maps,
                                      "Level1",       kLevel1Sprites, {}};

}  // namespace game
