// The final boss "Tenma".
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kTenmaSet{};

}  // namespace game
