// The final boss's life bar.
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kTenmaLifeSet{};

}  // namespace game
