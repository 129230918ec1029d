// The exit door, the secret doors the fire blast breaks, and the covers the glass lifts.
#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_variables.h"

namespace game {

// Walking into the open door leads to the next stage.
void DoorBehaviour(quor::Sprite& door) {
  if (!ExitDoorLetsHeroThrough(door)) return;
  RequestScene("StageIntro");
  ++Stage;
}

void SecretDoorBehaviour(quor::Sprite& door) {
  if (door.HasTouched("FireBlast")) Kill(door);
}

// Every cover of the scene goes at once when the glass is taken.
void CoverBehaviour(quor::Sprite& cover) {
  if (IsOnStatusRow("Glass")) Kill(cover);
}

}  // namespace game
