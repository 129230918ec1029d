// The final boss's projectiles.
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kTenmaAttackSet{};

}  // namespace game
