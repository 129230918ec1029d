#include "engine/app/game_hooks.h"

#include "engine/scene/game_tables.h"

namespace quor {

namespace {
GameHooks installed;
}  // namespace

void InstallGameHooks(const GameHooks& hooks) {
  installed = hooks;
  BehaviourTableSize = hooks.behaviourCount;
  StateMachineTableSize = hooks.stateMachineCount;
}

const GameHooks& InstalledGameHooks() { return installed; }

void GamePreInit() {
  if (installed.preInit) installed.preInit();
}

void GameSetDisplayMode() {
  if (installed.setDisplayMode) installed.setDisplayMode();
}

void GameCreateScenes() {
  if (installed.createScenes) installed.createScenes();
}

void GameShutdown() {
  if (installed.shutdown) installed.shutdown();
}

void GameSaveVariables(ObjectStream& stream) {
  if (installed.saveVariables) installed.saveVariables(stream);
}

void GameLoadVariables(ObjectStream& stream) {
  if (installed.loadVariables) installed.loadVariables(stream);
}

}  // namespace quor
