// The hero: walking, facing, items used, shots, damage and the hidden level select.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void PlayerBehaviour(quor::Sprite&) {}

}  // namespace game
