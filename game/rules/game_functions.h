// The six functions through which the engine calls the game, and the table of hooks that
// hands them to the engine.
#pragma once

namespace quor {
struct GameHooks;
}

namespace game {

// Allocates and fills the behaviour table and the bosses' template machines. When memory
// for them cannot be had, says so and asks the program to stop.
void GamePreInit();
// 640 x 480 x 16, full screen.
void GameSetDisplayMode();
// The thirteen scenes with their ids, names and hooks.
void GameCreateScenes();
// Frees both tables; the last game code of a run.
void GameShutdown();

// The game's hooks, for the program entry (and any runner of the real game) to install.
const quor::GameHooks& TheGameHooks();

}  // namespace game
