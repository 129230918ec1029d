// Item icons, keys, meat, the life bar and the glass. A collected item keeps its picture and
// outline on the status row. Every outline is closed and runs counter-clockwise on screen,
// so its normals point out of the item.
#include "game/animation/animation_data.h"

namespace game {

namespace {

// One frame a line, as the pictures play.
// clang-format off
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kDarkRed = 0x000080;
constexpr uint32_t kLightGrey = 0xc8d0d4;

// The square of the picture's edges, 0 to 9 on both axes.
constexpr auto kIconSquare = Loop({{9, 0}, {0, 0}, {0, 9}, {9, 9}});
// The same square with the left edge slanting out to (-1, 0); sides added top, right,
// bottom, left.
constexpr Shape kHatOutline[] = {
    Segment(9, 0, -1, 0),
    Segment(9, 9, 9, 0),
    Segment(0, 9, 9, 9),
    Segment(-1, 0, 0, 9),
};
// The square with the right edge slanting out to (10, 0).
constexpr auto kWaterOutline = Loop({{10, 0}, {0, 0}, {0, 9}, {9, 9}});
// One pixel left of the picture.
constexpr auto kKeyOutline = Loop({{17, 0}, {-1, 0}, {-1, 7}, {17, 7}});
constexpr auto kMeatOutline = Loop({{11, 0}, {3, 3}, {0, 5}, {1, 7}, {7, 6}, {11, 4}});
// The square, sides added top, right, bottom, left.
constexpr Shape kGlassOutline[] = {
    Segment(9, 0, 0, 0),
    Segment(9, 9, 9, 0),
    Segment(0, 9, 9, 9),
    Segment(0, 0, 0, 9),
};

constexpr FrameData kHat[] = {{"Icon - Hat.bmp", 9, 9, kBlack, 1, kHatOutline}};
constexpr FrameData kDagger[] = {{"Icon - Dagger.bmp", 9, 9, kBlack, 1, kIconSquare}};
constexpr FrameData kFireIcon[] = {{"Icon - Fire.bmp", 9, 9, kBlack, 1, kIconSquare}};
constexpr FrameData kWaterIcon[] = {{"Icon - Water.bmp", 9, 9, kBlack, 1, kWaterOutline}};
constexpr FrameData kKey[] = {{"Key.bmp", 17, 7, kDarkRed, 1, kKeyOutline}};
constexpr FrameData kBoot[] = {{"Icon - Boot.bmp", 9, 9, kBlack, 1, kIconSquare}};
constexpr FrameData kMeat[] = {{"Icon - Meat.bmp", 12, 8, kBlack, 1, kMeatOutline}};
constexpr FrameData kGlass[] = {{"Icon - Glass.bmp", 9, 9, kBlack, 1, kGlassOutline}};

// Frame i is shown while the hero has i hearts; below a full bar the grey is drawn too.
constexpr FrameData kLifeBar[] = {
    {"Life 0.bmp", 45, 8, kLightGrey, 1, {}, kOpaque},
    {"Life 1.bmp", 45, 8, kLightGrey, 1, {}, kOpaque},
    {"Life 2.bmp", 45, 8, kLightGrey, 1, {}, kOpaque},
    {"Life 3.bmp", 45, 8, kLightGrey, 1, {}, kOpaque},
    {"Life 4.bmp", 45, 8, kLightGrey, 1},
};

constexpr ActionData kHatActions[] = {{kHat}};
constexpr ActionData kDaggerActions[] = {{kDagger}};
constexpr ActionData kFireIconActions[] = {{kFireIcon}};
constexpr ActionData kWaterIconActions[] = {{kWaterIcon}};
constexpr ActionData kKeysActions[] = {{kKey}};
constexpr ActionData kBootActions[] = {{kBoot}};
constexpr ActionData kMeatActions[] = {{kMeat}};
constexpr ActionData kHeartsActions[] = {{kLifeBar}};
constexpr ActionData kGlassActions[] = {{kGlass}};

// clang-format on

}  // namespace

constexpr EntryData kHatSet{kHatActions};
constexpr EntryData kDaggerSet{kDaggerActions};
constexpr EntryData kFireIconSet{kFireIconActions};
constexpr EntryData kWaterIconSet{kWaterIconActions};
constexpr EntryData kKeysSet{kKeysActions};
constexpr EntryData kBootSet{kBootActions};
constexpr EntryData kMeatSet{kMeatActions};
constexpr EntryData kHeartsSet{kHeartsActions};
constexpr EntryData kGlassSet{kGlassActions};

}  // namespace game
