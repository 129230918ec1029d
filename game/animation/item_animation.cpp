// Item icons, keys, meat, the life bar and the glass.
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kHatSet{};
constexpr EntryData kDaggerSet{};
constexpr EntryData kFireIconSet{};
constexpr EntryData kWaterIconSet{};
constexpr EntryData kKeysSet{};
constexpr EntryData kBootSet{};
constexpr EntryData kMeatSet{};
constexpr EntryData kHeartsSet{};
constexpr EntryData kGlassSet{};

}  // namespace game
