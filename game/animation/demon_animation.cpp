// The mid boss "Demon": its base cycle, the beam, the breath and its death. The boss fires
// on the last frame of the beam and of the breath, so those frame counts and that order
// are part of the fight. Every outline starts at its leftmost point and goes
// counter-clockwise on screen, so its normals point out of the body.
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kCyan = 0xffff00;

constexpr auto kBaseOutline = Loop({{8, 57}, {17, 78}, {35, 91}, {51, 98}, {65, 96}, {68, 69}, {94, 70}, {97, 65}, {79, 37}, {54, 27}, {31, 32}});
constexpr auto kBeamOutline = Loop({{7, 60}, {18, 81}, {40, 97}, {52, 99}, {63, 97}, {64, 71}, {91, 72}, {95, 67}, {77, 35}, {65, 32}, {58, 29}, {48, 29}, {43, 32}, {32, 33}});
constexpr auto kBreathOutline = Loop({{7, 59}, {20, 82}, {39, 97}, {52, 100}, {61, 98}, {62, 70}, {92, 72}, {95, 67}, {79, 38}, {70, 31}, {66, 34}, {58, 29}, {48, 29}, {39, 34}, {31, 34}});

// The first beam picture is three rows shorter than the two after it but takes their
// centre and rectangle.
constexpr Departures kShortBeam = CollisionRect(0, 0, 111, 135).Centre(56, 68);

constexpr FrameData kBase[] = {
    {"Grobnik - 01.bmp", 112, 133, kCyan, 15, kBaseOutline},
    {"Grobnik - 02.bmp", 112, 133, kCyan, 15, kBaseOutline},
    {"Grobnik - 03.bmp", 112, 133, kCyan, 15, kBaseOutline},
    {"Grobnik - 04.bmp", 112, 133, kCyan, 15, kBaseOutline},
};
// The lasers leave on every tick of the last frame.
constexpr FrameData kBeam[] = {
    {"Grobnik - Beam 01.bmp", 112, 133, kCyan, 15, kBeamOutline, kShortBeam},
    {"Grobnik - Beam 02.bmp", 112, 136, kCyan, 15, kBeamOutline},
    {"Grobnik - Beam 03.bmp", 112, 136, kCyan, 15, kBeamOutline},
};
// The barf leaves on the first tick of the last frame.
constexpr FrameData kBreath[] = {
    {"Grobnik - Breath 01.bmp", 112, 133, kCyan, 15, kBreathOutline},
    {"Grobnik - Breath 02.bmp", 112, 133, kCyan, 15, kBreathOutline},
    {"Grobnik - Breath 03.bmp", 112, 133, kCyan, 15, kBreathOutline},
};
constexpr FrameData kDeath[] = {
    {"Grobnik - Die 01.bmp", 112, 133, kCyan, 12},
    {"Grobnik - Die 02.bmp", 112, 133, kCyan, 12},
    {"Grobnik - Die 03.bmp", 112, 133, kCyan, 12},
    {"Grobnik - Die 04.bmp", 112, 133, kCyan, 12},
    {"Grobnik - Die 05.bmp", 112, 133, kCyan, 12},
    {"Grobnik - Die 06.bmp", 112, 133, kCyan, 12},
    {"Grobnik - Die 07.bmp", 112, 133, kCyan, 12},
};
constexpr ActionData kDemonActions[] = {{kBase}, {kBeam}, {kBreath}, {kDeath}};

}  // namespace

constexpr EntryData kDemonSet{kDemonActions};

}  // namespace game
