// The mid boss "Demon".
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kDemonSet{};

}  // namespace game
