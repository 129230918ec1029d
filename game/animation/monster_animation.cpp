// The dungeon's monsters and mechanical hazards: Mellon Man, the spears, the spinner, Helmit.
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kMellonManSet{};
constexpr EntryData kSpearSet{};
constexpr EntryData kSpinnerSet{};
constexpr EntryData kHelmitSet{};

}  // namespace game
