// Content of the scenes. Until each scene's objects are built it starts empty.
#include "engine/scene/game_node.h"
#include "game/scenes/content.h"

namespace game {

void BuildStartContent(quor::GameNode*) {}
void BuildTitleContent(quor::GameNode*) {}
void BuildInstructContent(quor::GameNode*) {}
void BuildLevel1Content(quor::GameNode*) {}
void BuildLoseContent(quor::GameNode*) {}
void BuildLevel2Content(quor::GameNode*) {}
void BuildWinContent(quor::GameNode*) {}
void BuildLevel4Content(quor::GameNode*) {}
void BuildMidBossContent(quor::GameNode*) {}
void BuildStageIntroContent(quor::GameNode*) {}
void BuildLevel3Content(quor::GameNode*) {}
void BuildFinalLevelContent(quor::GameNode*) {}
void BuildFinalDoorContent(quor::GameNode*) {}

}  // namespace game
