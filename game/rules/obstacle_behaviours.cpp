// The exit door, the secret doors the fire blast breaks, and the covers the glass lifts.
#include <cstdint>

#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_variables.h"

namespace game {

namespace {

constexpr int32_t kKeysToOpen = 3;
constexpr int8_t kOpening = 1;  // three pictures, the last one open
constexpr int8_t kOpenFrame = 2;

}  // namespace

// The door opens by itself once the third key is carried, wherever the hero is, and stays
// open on its last picture; walking into it then leads to the next stage.
void DoorBehaviour(quor::Sprite& door) {
  if (KeyCount == kKeysToOpen) door.SetAction(kOpening);
  if (door.IsActionFinished(kOpening)) door.SetFrame(kOpenFrame);
  if (door.HasTouched("Player") && KeyCount == kKeysToOpen) {
    RequestScene("StageIntro");
    ++Stage;
  }
}

void SecretDoorBehaviour(quor::Sprite& door) {
  if (door.HasTouched("FireBlast")) Kill(door);
}

// Every cover of the scene goes at once when the glass is taken.
void CoverBehaviour(quor::Sprite& cover) {
  if (IsOnStatusRow("Glass")) Kill(cover);
}

}  // namespace game
