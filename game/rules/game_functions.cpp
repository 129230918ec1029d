#include "game/rules/game_functions.h"

#include <new>
#include <string>

#include "engine/app/game_hooks.h"
#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "engine/scene/game_tables.h"
#include "engine/scene/state_machine.h"
#include "game/rules/behaviours.h"
#include "game/rules/boss_machines.h"
#include "game/rules/game_variables.h"
#include "game/scenes/scene_list.h"
#include "platform/host.h"

namespace game {

namespace {

void StopForLackOfMemory(const char* what) {
  std::string text = std::string("Not enough memory for ") + what + ".";
  platform::CurrentHost().ShowMessageBox(text, "Quor Error.",
                                         platform::MessageBoxIcon::Exclamation);
  quor::QuitRequested = 1;
}

}  // namespace

void GamePreInit() {
  quor::StateMachineTable = new (std::nothrow) quor::StateMachine[kStateMachineCount];
  quor::BehaviourTable = new (std::nothrow) quor::BehaviourFunction[kBehaviourCount];
  if (!quor::StateMachineTable || !quor::BehaviourTable) {
    StopForLackOfMemory("the game's tables");
    return;
  }
  FillBehaviourTable();
  BuildDemonMachine(quor::StateMachineTable[kDemonMachine]);
  BuildTenmaMachine(quor::StateMachineTable[kTenmaMachine]);
}

void GameSetDisplayMode() {
  quor::SetScreenMode(640, 480, 16);
  quor::Windowed = 0;
}

void GameCreateScenes() {
  if (!CreateSceneList()) StopForLackOfMemory("the game's scenes");
}

void GameShutdown() {
  delete[] quor::StateMachineTable;
  quor::StateMachineTable = nullptr;
  delete[] quor::PathStateMachineTable;
  quor::PathStateMachineTable = nullptr;
  delete[] quor::BehaviourTable;
  quor::BehaviourTable = nullptr;
}

const quor::GameHooks& TheGameHooks() {
  static const quor::GameHooks hooks = [] {
    quor::GameHooks h;
    h.preInit = GamePreInit;
    h.setDisplayMode = GameSetDisplayMode;
    h.createScenes = GameCreateScenes;
    h.shutdown = GameShutdown;
    h.saveVariables = GameSaveVariables;
    h.loadVariables = GameLoadVariables;
    h.behaviourCount = kBehaviourCount;
    h.stateMachineCount = kStateMachineCount;
    return h;
  }();
  return hooks;
}

}  // namespace game
