// The bosses' life bars, and the final level's door.
#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_variables.h"

namespace game {

void DemonLifeBarBehaviour(quor::Sprite& bar) { ShowCountAsFrame(bar, DemonLife); }
void TenmaLifeBarBehaviour(quor::Sprite& bar) { ShowCountAsFrame(bar, TenmaLife); }

void FinalLevelDoorBehaviour(quor::Sprite& door) {
  if (KeyCount == 3) door.SetAction(1);
  if (door.IsActionFinished(1)) door.SetFrame(2);
  if (door.HasTouched("Player") && KeyCount == 3) {
    RequestScene("FinalDoor");
    KeyCount = 0;
    HeartCount = 2;
  }
}

}  // namespace game
