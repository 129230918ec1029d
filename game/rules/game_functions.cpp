// Stand-ins until the game's rules land: a display mode and no scenes.
#include "game/rules/game_functions.h"

namespace game {

void GamePreInit() {}
void GameSetDisplayMode() {}
void GameCreateScenes() {}
void GameShutdown() {}
void GameSaveVariables(quor::ObjectStream&) {}
void GameLoadVariables(quor::ObjectStream&) {}

}  // namespace game
