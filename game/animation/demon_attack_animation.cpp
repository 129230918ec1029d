// The mid boss's projectiles.
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kDemonAttackSet{};

}  // namespace game
