// The wall that the water shout bursts.
#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "platform/input_keys.h"

namespace game {

namespace {
constexpr int8_t kBurstAction = 1;
}  // namespace

// The shout is heard by every wall of the scene, wherever the hero stands. A wall that has
// burst already stays in its burst action, but the bang is heard again at each shout.
void WallBehaviour(quor::Sprite& wall) {
  if (!IsKeyPressedNow(platform::KeyS)) return;
  const quor::Sprite* water = FindSprite("WaterIcon");
  if (!water || !IsOnStatusRow(*water) || water->GetX() <= 0.0f) return;
  wall.SetAction(kBurstAction);
  PlaySound("Bomb");
}

}  // namespace game
