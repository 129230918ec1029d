// The engine's run state: which scene runs next and whether a switch is pending, and the
// pending save, load, recording and replay requests. The parts of the engine that only
// read or request (input devices, scenes, text boxes) need nothing more than this; the
// switch and the requests themselves are carried out by the top of the engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quor {

class GameNode;

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
  // The next frame's load starts a replay once it has succeeded (F3, F8).
  uint8_t replayStartRequested = 0;
  uint8_t slowReplay = 0;
  // The last F1 could not start a recording, so nothing was recorded since.
  uint8_t recordingRefused = 0;
  std::string loadPath;
  std::string savePath;
  std::string replayInputPath;
  // A replay from a file as StartReplayFromFile read it whole: its recording and the state
  // it starts from, for the next frame's load.
  std::vector<uint8_t> replayInputBytes, replayStateBytes;
};

// The temporary state files: the current directory + "/gamesavestartrecording.sat" and
// + "/gamesavewhenreplay.sat".
std::string StartRecordingStatePath();
std::string WhenReplayStatePath();

}  // namespace quor
