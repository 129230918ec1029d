#include "engine/core/run_state.h"

#include "engine/core/engine_globals.h"
#include "platform/files.h"

namespace quor {

std::string StartRecordingStatePath() {
  return platform::CurrentDirectory() + "/gamesavestartrecording.sat";
}

std::string WhenReplayStatePath() {
  return platform::CurrentDirectory() + "/gamesavewhenreplay.sat";
}

GameDirector::GameDirector() = default;

GameDirector::~GameDirector() {
  platform::DeleteFile(StartRecordingStatePath());
  platform::DeleteFile(WhenReplayStatePath());
}

void GameDirector::RequestQuit() { QuitRequested = 1; }

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

}  // namespace quor
