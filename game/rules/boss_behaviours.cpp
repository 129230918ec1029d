// The bosses' life bars, and the final level's door.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void DemonLifeBarBehaviour(quor::Sprite&) {}
void TenmaLifeBarBehaviour(quor::Sprite&) {}
void FinalLevelDoorBehaviour(quor::Sprite&) {}

}  // namespace game
