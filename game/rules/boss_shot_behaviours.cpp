// The bosses' projectiles, and the first boss's attack as a plain behaviour.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void BallBehaviour(quor::Sprite&) {}
void BossLaserBehaviour(quor::Sprite&) {}
void BarfBehaviour(quor::Sprite&) {}
void TballBehaviour(quor::Sprite&) {}
void TlaserBehaviour(quor::Sprite&) {}
void TblobBehaviour(quor::Sprite&) {}
void DemonFireBehaviour(quor::Sprite&) {}

}  // namespace game
