// Doors, secret doors, covers and the wall the water shout bursts.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void DoorBehaviour(quor::Sprite&) {}
void FinalLevelDoorBehaviour(quor::Sprite&) {}
void SecretDoorBehaviour(quor::Sprite&) {}
void CoverBehaviour(quor::Sprite&) {}
void WallBehaviour(quor::Sprite&) {}

}  // namespace game
