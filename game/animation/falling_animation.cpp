// The fall shown before each level and before the winning screen.
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kFallingSet{};

}  // namespace game
