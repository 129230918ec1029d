// The six functions the engine calls into the game at fixed points.
#pragma once

namespace quor {
class ObjectStream;
}

namespace game {

// Behaviour table and template state machines.
void GamePreInit();
// The display mode and full screen.
void GameSetDisplayMode();
// Adds every scene to the director.
void GameCreateScenes();
// The last game code of a run.
void GameShutdown();
// The game's variables, first in every saved game.
void GameSaveVariables(quor::ObjectStream& stream);
void GameLoadVariables(quor::ObjectStream& stream);

}  // namespace game
