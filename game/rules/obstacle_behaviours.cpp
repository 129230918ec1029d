// Doors, secret doors and covers.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void DoorBehaviour(quor::Sprite&) {}
void SecretDoorBehaviour(quor::Sprite&) {}
void CoverBehaviour(quor::Sprite&) {}

}  // namespace game
