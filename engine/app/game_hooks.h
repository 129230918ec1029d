// The engine's one way into the game: the six game functions, called at fixed points of
// start-up, shutdown, saving and loading, and the sizes of the two tables the game fills.
// The program entry installs them before it runs the engine; a hook left null is skipped.
#pragma once

#include <cstdint>

namespace quor {

class ObjectStream;

struct GameHooks {
  void (*preInit)() = nullptr;          // fills the behaviour and state-machine tables
  void (*setDisplayMode)() = nullptr;   // the display mode and full screen or window
  void (*createScenes)() = nullptr;     // adds every scene to the director
  void (*shutdown)() = nullptr;         // the last game code of a run
  void (*saveVariables)(ObjectStream& stream) = nullptr;  // first in every saved game
  void (*loadVariables)(ObjectStream& stream) = nullptr;
  int32_t behaviourCount = 0;           // entries of BehaviourTable once preInit has run
  int32_t stateMachineCount = 0;        // entries of StateMachineTable once preInit has run
};

// Installs the game's hooks and the sizes against which table indices are checked.
void InstallGameHooks(const GameHooks& hooks);
const GameHooks& InstalledGameHooks();

// The hooks, called where the engine needs them; each does nothing when its hook is null.
void GamePreInit();
void GameSetDisplayMode();
void GameCreateScenes();
void GameShutdown();
void GameSaveVariables(ObjectStream& stream);
void GameLoadVariables(ObjectStream& stream);

}  // namespace quor
