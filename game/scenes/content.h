// The scenes' content builders (maps, sprites, text boxes, sounds and music) and their exit
// hooks, each taking the scene being started.
#pragma once

namespace quor {
class GameNode;
}

namespace game {

void BuildStartContent(quor::GameNode* scene);
void BuildTitleContent(quor::GameNode* scene);
void BuildInstructContent(quor::GameNode* scene);
void BuildLevel1Content(quor::GameNode* scene);
void BuildLoseContent(quor::GameNode* scene);
void BuildLevel2Content(quor::GameNode* scene);
void BuildWinContent(quor::GameNode* scene);
void BuildLevel4Content(quor::GameNode* scene);
void BuildMidBossContent(quor::GameNode* scene);
void BuildStageIntroContent(quor::GameNode* scene);
void BuildLevel3Content(quor::GameNode* scene);
void BuildFinalLevelContent(quor::GameNode* scene);
void BuildFinalDoorContent(quor::GameNode* scene);

// Exit hooks: run once per stay, when the switch away is requested. They do nothing.
void LeaveStart(quor::GameNode* scene);
void LeaveTitle(quor::GameNode* scene);
void LeaveInstruct(quor::GameNode* scene);
void LeaveLevel1(quor::GameNode* scene);
void LeaveLose(quor::GameNode* scene);
void LeaveLevel2(quor::GameNode* scene);
void LeaveWin(quor::GameNode* scene);
void LeaveLevel4(quor::GameNode* scene);
void LeaveMidBoss(quor::GameNode* scene);
void LeaveStageIntro(quor::GameNode* scene);
void LeaveLevel3(quor::GameNode* scene);
void LeaveFinalLevel(quor::GameNode* scene);
void LeaveFinalDoor(quor::GameNode* scene);

}  // namespace game
