// Stand-ins until the game's rules land: the display mode and a first, empty scene.
#include "game/rules/game_functions.h"

#include "engine/core/engine_globals.h"
#include "engine/app/game_director.h"
#include "engine/display/display.h"
#include "engine/scene/game_node.h"

namespace game {

void GamePreInit() {}

void GameSetDisplayMode() {
  quor::SetScreenMode(640, 480, 16);
  quor::Windowed = 0;
}

void GameCreateScenes() {
  auto* start = new quor::GameNode;
  start->SetId(1);
  start->SetName("Start");
  quor::CurrentGameDirector->AddGameNode(start);
}

void GameShutdown() {}
void GameSaveVariables(quor::ObjectStream&) {}
void GameLoadVariables(quor::ObjectStream&) {}

}  // namespace game
