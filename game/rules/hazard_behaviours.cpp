// The Mellon Men and their fireballs, the hero's fire blast and the Helmits.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void MellonMan1Behaviour(quor::Sprite&) {}
void MellonMan2Behaviour(quor::Sprite&) {}
void MellonMan3Behaviour(quor::Sprite&) {}
void MellonMan4Behaviour(quor::Sprite&) {}
void FireBallBehaviour(quor::Sprite&) {}
void FireBlastBehaviour(quor::Sprite&) {}
void HelmitBehaviour(quor::Sprite&) {}

}  // namespace game
