// Saving and loading games, recording input and replaying it.
#include <cstring>

#include "engine/app/engine_globals.h"
#include "engine/app/game_director.h"
#include "engine/scene/game_node.h"
#include "platform/host.h"

namespace quor {

void GameDirector::RequestSave(const char* path) {
  saveRequested = 1;
  if (path) savePath = path;
}

void GameDirector::RequestLoad(const char* path) {
  loadRequested = 1;
  if (path) loadPath = path;
}

void GameDirector::RequestReplayInput(const char* path) {
  replayInputRequested = 1;
  if (path && *path) replayInputPath = path;
}

void GameDirector::RequestSaveDialog() { saveRequested = 1; }
void GameDirector::RequestLoadDialog() { loadRequested = 1; }

void GameDirector::DoPendingSave() {
  savePath.clear();
  saveRequested = 0;
}

void GameDirector::DoPendingLoad() {
  loadRequested = 0;
  loadPath.clear();
}

void GameDirector::StartRecording() {
  RequestSave(StartRecordingStatePath().c_str());
  if (CurrentGameNode) {
    CurrentGameNode->recordedKeyMasks.Clear();
    CurrentGameNode->recordedMouseFlags.Clear();
    CurrentGameNode->recordedMouseMovement.Clear();
  }
  recording = 1;
  platform::CurrentHost().SetWindowTitle("Quor - Recording");
}

void GameDirector::StopRecording() {
  recording = 0;
  platform::CurrentHost().SetWindowTitle("Quor");
}

void GameDirector::StartReplay(bool) {}
void GameDirector::StartReplayFromFile(const std::string&, bool) {}
void GameDirector::LoadReplayFile(const std::string&) {}
void GameDirector::SaveReplayFile(const std::string&) {}
void GameDirector::SaveReplayDialog() {}
void GameDirector::LoadReplayDialog() {}

}  // namespace quor
