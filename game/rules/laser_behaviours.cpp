// Laser shooters that fire a copy of their beam at the end of every cycle, and the beams.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void LaserBallUpBehaviour(quor::Sprite&) {}
void LaserBeamBehaviour(quor::Sprite&) {}
void LaserBeamLeftBehaviour(quor::Sprite&) {}
void LaserTrapDownBehaviour(quor::Sprite&) {}
void LaserTrapRightBehaviour(quor::Sprite&) {}

}  // namespace game
