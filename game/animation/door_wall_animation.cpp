// Secret doors, spotlight and blob stopper; the exit door; the covers; the wall.
#include "game/animation/animation_data.h"

namespace game {

namespace {

// One frame a line, as the pictures play.
// clang-format off
constexpr uint32_t kPurple = 0x800080;
constexpr uint32_t kOrange = 0x4080ff;
constexpr uint32_t kCyan = 0xffff00;
constexpr uint32_t kDarkGrey = 0x595959;
constexpr uint32_t kLightGrey = 0xc8d0d4;
constexpr uint32_t kPaleGrey = 0xcfcfcf;
constexpr uint32_t kWhite = 0xffffff;

// --- secret doors, the spotlight and the blob barrier ---

// The secret doors' boxes, normals out; the front and side ones are added last edge first.
constexpr Shape kSecretFrontOutline[] = {
    Segment(35, 1, 1, 1),
    Segment(35, 3, 35, 1),
    Segment(1, 3, 35, 3),
    Segment(1, 1, 1, 3),
};
constexpr Shape kSecretSideOutline[] = {
    Segment(3, 1, 1, 1),
    Segment(3, 34, 3, 1),
    Segment(1, 34, 3, 34),
    Segment(1, 1, 1, 34),
};
constexpr auto kBigSecretOutline = Loop({{1, 9}, {34, 9}, {34, 1}, {1, 1}});
// The barrier fences the final level in, normals pointing inward, with a gap in its left
// side from y 352 to y 421; added last segment first.
constexpr Shape kBlobStopOutline[] = {
    Segment(2, 440, 2, 421),
    Segment(505, 440, 2, 440),
    Segment(505, 2, 505, 440),
    Segment(2, 2, 505, 2),
    Segment(2, 352, 2, 2),
};

constexpr FrameData kSecretFront[] = {{"Secret Front.bmp", 36, 4, kPurple, 1, kSecretFrontOutline}};
constexpr FrameData kSecretSide[] = {{"Secret Side.bmp", 4, 35, kPurple, 1, kSecretSideOutline}};
constexpr FrameData kBigSecret[] = {{"BigSecret.bmp", 35, 10, kOrange, 1, kBigSecretOutline}};
constexpr FrameData kSpotlight[] = {{"Spotlight.bmp", 72, 73, kCyan, 1}};
constexpr FrameData kBlobStop[] = {{"BlobStop.bmp", 505, 442, kCyan, 1, kBlobStopOutline}};
constexpr ActionData kDoorsActions[] = {
    {kSecretFront}, {kSecretSide}, {kBigSecret}, {kSpotlight}, {kBlobStop},
};

// --- the exit door: its sill, on the row below the picture, normal pointing down ---

constexpr Shape kSill[] = {Segment(0, 35, 31, 35)};
constexpr Shape kWideSill[] = {Segment(-1, 35, 31, 35)};
constexpr Shape kOpenDoorway[] = {Circle(15, 17, 14)};

constexpr FrameData kDoorClosed[] = {
    {"Door - 1.bmp", 31, 35, kDarkGrey, 1, kSill},
};
// Its behaviour holds the last frame once the door is open, so the loop never runs.
constexpr FrameData kDoorOpening[] = {
    {"Door - 1.bmp", 31, 35, kDarkGrey, 10, kSill},
    {"Door - 2.bmp", 31, 35, kDarkGrey, 10, kWideSill},
    {"Door - 3.bmp", 31, 35, kDarkGrey, 5, kSill},
};
// No sprite selects it.
constexpr FrameData kDoorOpen[] = {
    {"Door - 3.bmp", 31, 35, kDarkGrey, 1, kOpenDoorway},
};
constexpr ActionData kDoorActions[] = {{kDoorClosed}, {kDoorOpening}, {kDoorOpen}};

// --- covers over the secret doors: all but the level-2 one hide their whole rectangle ---

constexpr FrameData kCover1[] = {{"Sec - 1.bmp", 34, 41, kLightGrey, 1, {}, kOpaque}};
constexpr FrameData kCover2[] = {{"Sec - 2.bmp", 63, 33, kLightGrey, 1, {}, kOpaque}};
constexpr FrameData kCover3[] = {{"Sec - 3.bmp", 34, 55, kLightGrey, 1, {}, kOpaque}};
constexpr FrameData kCover4[] = {{"Sec - 4.bmp", 34, 4, kLightGrey, 1, {}, kOpaque}};
constexpr FrameData kCover5[] = {{"Sec - 5.bmp", 34, 66, kLightGrey, 1, {}, kOpaque}};
constexpr FrameData kCover6[] = {{"Sec - 6.bmp", 34, 24, kLightGrey, 1, {}, kOpaque}};
constexpr FrameData kLevel2Cover[] = {{"Cover - Lv2.bmp", 6, 35, kPaleGrey, 1}};
constexpr FrameData kBigCover[] = {{"Big Cover.bmp", 106, 316, kLightGrey, 1, {}, kOpaque}};
constexpr ActionData kCoversActions[] = {
    {kCover1}, {kCover2}, {kCover3}, {kCover4}, {kCover5}, {kCover6}, {kLevel2Cover}, {kBigCover},
};

// --- the bombable wall: a bar across the middle blocks until the rubble settles ---

constexpr auto kWallBar = Loop({{1, 21}, {33, 21}, {33, 13}, {1, 13}});

constexpr FrameData kWallIntact[] = {
    {"Bombwall.bmp", 34, 35, kWhite, 1, kWallBar, CollisionRect(0, 0, 33, 9).Centre(17, 5)},
};
// Ends on the rubble and stays there.
constexpr FrameData kWallFalling[] = {
    {"Bombwall - 01.bmp", 34, 35, kWhite, 8, kWallBar},
    {"Bombwall - 02.bmp", 34, 35, kWhite, 8, kWallBar},
    {"Bombwall - 03.bmp", 34, 35, kWhite, 8, kWallBar},
    {"Bombwall - 04.bmp", 34, 35, kWhite, 8, kWallBar},
    {"Bombwall - 05.bmp", 34, 35, kWhite, 8, kWallBar},
    {"Bombwall - 06.1.bmp", 34, 35, kWhite, 30, kWallBar},
    {"Bombwall - 06.bmp", 34, 35, kWhite, 100},
};
constexpr ActionData kWallActions[] = {{kWallIntact}, {kWallFalling, 6}};

// clang-format on

}  // namespace

constexpr EntryData kDoorsSet{kDoorsActions};
constexpr EntryData kDoorSet{kDoorActions};
constexpr EntryData kCoversSet{kCoversActions};
constexpr EntryData kWallSet{kWallActions};

}  // namespace game
