// The bosses' life bars, and the final level's door.
#include "engine/scene/sprite.h"
#include "game/rules/behaviour_helpers.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_variables.h"

namespace game {

void DemonLifeBarBehaviour(quor::Sprite& bar) { ShowCountAsFrame(bar, DemonLife); }
void TenmaLifeBarBehaviour(quor::Sprite& bar) { ShowCountAsFrame(bar, TenmaLife); }

// The last door leads out of the levels, to the fall before the win; the stage stays.
void FinalLevelDoorBehaviour(quor::Sprite& door) {
  if (!ExitDoorLetsHeroThrough(door)) return;
  RequestScene("FinalDoor");
  KeyCount = 0;
  HeartCount = kStartHearts;
}

}  // namespace game
