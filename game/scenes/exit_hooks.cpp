// Leaving a scene asks nothing of the game.
#include "engine/scene/game_node.h"
#include "game/scenes/content.h"

namespace game {

void LeaveStart(quor::GameNode*) {}
void LeaveTitle(quor::GameNode*) {}
void LeaveInstruct(quor::GameNode*) {}
void LeaveLevel1(quor::GameNode*) {}
void LeaveLose(quor::GameNode*) {}
void LeaveLevel2(quor::GameNode*) {}
void LeaveWin(quor::GameNode*) {}
void LeaveLevel4(quor::GameNode*) {}
void LeaveMidBoss(quor::GameNode*) {}
void LeaveStageIntro(quor::GameNode*) {}
void LeaveLevel3(quor::GameNode*) {}
void LeaveFinalLevel(quor::GameNode*) {}
void LeaveFinalDoor(quor::GameNode*) {}

}  // namespace game
