// The engine's run state: which scene runs next and whether a switch is pending, and the
// pending save, load, recording and replay requests, carried out at the top of a frame.
#pragma once

#include <cstdint>
#include <string>

namespace quor {

class GameNode;
class NodeList;
class Variable;
class Sprite;

class GameDirector {
 public:
  GameDirector();
  // Deletes the two temporary state files.
  ~GameDirector();
  GameDirector(const GameDirector&) = delete;
  GameDirector& operator=(const GameDirector&) = delete;

  // Adds a scene at the front of the scene list unless its id is already there.
  void AddGameNode(GameNode* scene);
  // The game's scene change by name; an unknown name does nothing.
  void GoToGameNode(const char* name);
  void RequestGameNode(int32_t id);
  int8_t GetNextGameNodeId() const { return nextSceneId; }
  bool IsSwitchPending() const { return switchPending != 0; }
  uint8_t IsTextsCursorShown() const { return showTextsCursor; }
  void RequestQuit();

  // Requests carried out at the top of the next frame.
  void RequestSave(const char* path);
  void RequestLoad(const char* path);
  void RequestReplayInput(const char* path);
  void RequestSaveDialog();
  void RequestLoadDialog();
  void DoPendingSave();
  void DoPendingLoad();

  void StartRecording();
  void StopRecording();
  void StartReplay(bool slow);
  void StartReplayFromFile(const std::string& path, bool slow);
  void LoadReplayFile(const std::string& path);
  void SaveReplayFile(const std::string& path);
  void SaveReplayDialog();
  void LoadReplayDialog();
  // Ends a replay whose input could not be read, without reloading anything.
  void EndReplayAtOnce();

  // Fields, constructor defaults as the run state starts.
  int8_t nextSceneId = 1;
  uint8_t switchPending = 1;
  uint8_t showTextsCursor = 0;
  uint8_t recording = 0;
  uint8_t replaying = 0;
  uint32_t replayRate = 0;
  uint8_t loadRequested = 0;
  uint8_t saveRequested = 0;
  uint8_t replayInputRequested = 0;
  uint8_t slowReplay = 0;
  std::string loadPath;
  std::string savePath;
  std::string replayInputPath;
};

// Every scene of the game, newest first.
NodeList& GameNodeList();
GameNode* FindGameNodeById(int32_t id);
GameNode* FindGameNodeByName(const char* name);

// The id of the scene made current by the last switch.
extern uint8_t CurrentGameNodeId;
extern uint8_t FpsTextShown;

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
// The frame-rate box's update function.
void UpdateFpsText(Variable* box);
// The text cursor's behaviour.
void FollowMouse(Sprite* sprite);

// The temporary state files: the current directory + "\gamesavestartrecording.sat" and
// + "\gamesavewhenreplay.sat".
std::string StartRecordingStatePath();
// Writes the running game to path; a failure is shown and leaves any earlier file as it was.
bool SaveGameFile(const std::string& path);
// Loads a saved game; a missing or damaged file is shown and leaves the running game as it was.
bool LoadGameFile(const std::string& path);
std::string WhenReplayStatePath();

}  // namespace quor
