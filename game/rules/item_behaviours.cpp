// Items that move to the status row when the hero takes them, and the hearts shown as frames.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void HatBehaviour(quor::Sprite&) {}
void KeyBehaviour(quor::Sprite&) {}
void FireIconBehaviour(quor::Sprite&) {}
void WaterIconBehaviour(quor::Sprite&) {}
void DaggerBehaviour(quor::Sprite&) {}
void BootBehaviour(quor::Sprite&) {}
void GlassBehaviour(quor::Sprite&) {}
void MeatBehaviour(quor::Sprite&) {}
void HeartsBehaviour(quor::Sprite&) {}

}  // namespace game
