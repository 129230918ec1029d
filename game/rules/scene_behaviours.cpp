// The behaviours that move the player from scene to scene.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void TitleBehaviour(quor::Sprite&) {}
void InstructBehaviour(quor::Sprite&) {}
void IntroBehaviour(quor::Sprite&) {}
void StageIntroBehaviour(quor::Sprite&) {}
void ContinueBehaviour(quor::Sprite&) {}
void FinalDoorFallBehaviour(quor::Sprite&) {}
void RestartBehaviour(quor::Sprite&) {}

}  // namespace game
