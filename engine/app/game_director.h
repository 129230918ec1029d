// The scene list, the scene switch, the built-in keys and saved games: the top of the
// engine, carrying out what the run state requests.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/run_state.h"

namespace quor {

class GameNode;
class NodeList;

// Every scene of the game, newest first.
NodeList& GameNodeList();
GameNode* FindGameNodeById(int32_t id);
GameNode* FindGameNodeByName(const char* name);

// The id of the scene made current by the last switch.
extern uint8_t CurrentGameNodeId;

// The scene switch, performed by the main loop while a switch is pending.
void PerformSceneSwitch();
// Called after each switch, once the new scene is built; null unless a runner that follows
// the scenes from outside (the headless runner) sets it. Sees every switch, a scene
// entered again and a switch made again by the new scene's own start included.
extern void (*SceneSwitchObserver)(GameNode* scene);
// Empties a scene as leaving it does (all but its state machine when keepStateMachine).
void EmptyGameNode(GameNode* scene, bool keepStateMachine);
// The built-in function keys, once per frame.
void HandleSystemKeys();

// Writes the running game to path; a failure is shown and leaves any earlier file as it was.
bool SaveGameFile(const std::string& path);
// Loads a saved game; a missing or damaged file is shown and leaves the running game as it was.
bool LoadGameFile(const std::string& path);

}  // namespace quor
