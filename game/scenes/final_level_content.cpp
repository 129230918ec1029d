// "FinalLevel", the last stage: the fight with "Tenma", with "Demon" back beside it. The
// final boss's three shots wait hidden off screen as the templates it copies; the door
// leads on to "FinalDoor". The scene has no "Bomb": the wall bursts in silence.
#include "game/scenes/content_data.h"

namespace game {

namespace {

constexpr SoundRow kFinalLevelStreams[] = {
    {"Level2", kDungeonMusic},
    {"Final_Music", "1_Vostrel - Lanterns On The Ridge.wav"},
};
constexpr SoundRow kFinalLevelSounds[] = {kMeatSound,  kKeySound,  kFireballSound,
                                          kLaughSound, kItemSound, kDoorSound};

constexpr Point kFinalLevelOutline[] = {
    {9, 130},   {33, 130},  {33, 122},  {9, 122},   {9, 17},    {72, 17},   {72, 122},
    {65, 122},  {65, 130},  {89, 130},  {89, 122},  {83, 122},  {83, 17},   {125, 17},
    {125, 122}, {119, 122}, {119, 130}, {125, 130}, {125, 358}, {133, 358}, {133, 9},
    {631, 9},   {631, 185}, {557, 185}, {557, 193}, {631, 193}, {631, 253}, {557, 253},
    {557, 261}, {631, 261}, {631, 442}, {133, 442}, {133, 423}, {125, 423}, {125, 442},
    {9, 442},   {9, 327},   {51, 327},  {51, 397},  {59, 397},  {59, 319},  {9, 319},
    {9, 283},   {24, 283},  {24, 248},  {55, 248},  {55, 283},  {79, 283},  {79, 233},
    {9, 233},   {9, 130},
};
constexpr Polyline kFinalLevelWalls[] = {kFinalLevelOutline};

constexpr MapRow kFinalLevelMaps[] = {
    LevelMap("Final_Level", "Final Level.bmp", kFinalLevelWalls),
    MistMap("Mist", "Mist 2.bmp", 2, -3.0f),
};

constexpr PathStep kDemonPacing[] = {{330, 0}, {-294, 0}, {204, 0},
                                     {-255, 0}, {111, 0}, {-96, 0}};

constexpr SpriteRow kFinalLevelSprites[] = {
    {"Player", 4, 0, 0, 22, 347, 1, 0, Behaviour(7), "ms", {2, 2}},
    {"Hat", 6, 0, 0, 94, 107, 0, 0, Behaviour(5), "mso"},
    {"FireIcon", 8, 0, 0, 93, 84, 0, 0, Behaviour(8), "mso"},
    {"WaterIcon", 9, 0, 0, 113, 60, 0, 0, Behaviour(9), "mso", {}, {}, kInactive},
    {"Dagger", 7, 0, 0, 113, 108, 0, 0, Behaviour(10), "mso"},
    {"Boot", 11, 0, 0, 113, 38, 0, 0, Behaviour(11), "mso"},
    {"Meat", 13, 0, 0, 14, 22, 0, 0, Behaviour(13), "mso", {}, {}, 0, {}, Block(4, 12, 12, 8)},
    {"Hearts", 14, 0, 2, 60, 460, 0, 0, Behaviour(14), "r"},
    {"FireBlast", 12, 0, 1, -16, -18, 1, 0, Behaviour(12), "ms", {3, 3}},
    {"Door", 15, 0, 0, 24, 248, 0, 0, Behaviour(23), "so"},
    {"Trap", 20, 0, 0, 0, 0, 1, 0, kNoControl, "s"},
    {"Glass", 19, 0, 0, 113, 85, 0, 0, Behaviour(21), "mso"},
    {"Wall", 21, 0, 0, 32, 108, 0, 0, Behaviour(24), "so"},
    {"Keys", 10, 0, 0, 609, 198, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 610, 219, 0, 0, Behaviour(6), "mso"},
    {"Keys", 10, 0, 0, 609, 241, 0, 0, Behaviour(6), "mso"},
    {"TenmaLife", 32, 0, 19, 502, 450, 0, 0, Behaviour(40), "r"},
    {"Tenma", 30, 0, 0, 522, 190, 3, 3, Machine(1), "msp"},
    {"Tlaser", 31, 0, 0, -24, -24, 0, 0, Behaviour(38), "r", {-20, 3}, {}, kInactive},
    {"Tball", 31, 2, 0, -11, -14, 0, 0, Behaviour(37), "msp", {5, 5}, {}, kBounce | kInactive},
    {"Tblob", 31, 1, 0, -21, -20, 3, 6, Behaviour(39), "r", {-4, 4}, {}, kInactive},
    {"BlobStopper", 1, 4, 0, 130, 3, 1, 0, kNoControl, "s"},
    {"Barf", 29, 4, 0, -77, -71, 3, 6, Behaviour(36), "ms", {1, 1}},
    {"Laser1", 29, 2, 0, -57, -48, 3, 6, Behaviour(35), "ms", {0, 6}, {1, 1}},
    {"Laser2", 29, 2, 0, -119, -62, 3, 6, Behaviour(35), "ms", {0, 6}, {1, 1}},
    {"Ball", 29, 0, 0, -33, -15, 3, 6, Behaviour(34), "ms", {0, 6}, {1, 1}},
    {"Demon", 28, 0, 0, 151, 24, 3, 3, Machine(0), "ms", {3, 0}, {}, 0, Path(kDemonPacing)},
};

}  // namespace

constexpr SceneContent kFinalLevelContent{kFinalLevelStreams, kFinalLevelSounds,
                                          kFinalLevelMaps,    "Final_Music",
                                          kFinalLevelSprites, {}};

}  // namespace game
