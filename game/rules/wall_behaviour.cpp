// The wall that the water shout bursts.
#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"

namespace game {

void WallBehaviour(quor::Sprite&) {}

}  // namespace game
