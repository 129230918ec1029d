// Saving and loading games, recording input and replaying it.
//
// A load never leaves the running game half replaced: the present state is saved first,
// and when the file turns out to be damaged it is put back and the player is told.
// A save goes to a temporary file beside its target and is renamed into place, so a
// failed save never destroys an earlier good one.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/app/frame_passes.h"
#include "engine/app/game_director.h"
#include "engine/core/object_stream.h"
#include "engine/display/display.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "engine/app/game_hooks.h"
#include "platform/files.h"
#include "platform/host.h"

namespace quor {

namespace {

constexpr char kLoadError[] = "Load error .";
constexpr char kReplayError[] = "Replay error .";

void ErrorBox(const std::string& text, const char* caption) {
  platform::CurrentHost().ShowMessageBox(text, caption, platform::MessageBoxIcon::Exclamation);
}

// A file the player named that is not there is called missing in the same words by every load.
void SayMissing(const std::string& what, const std::string& path, const char* caption) {
  ErrorBox("The " + what + " \"" + path + "\" does not exist .", caption);
}

// A replay's start state: "x.rep" keeps "x.sar" beside it, as every replay saved so far
// does; any other name keeps its whole self with ".sar" added ("b.r" beside "b.r.sar"), so
// the pair stays in the replay's folder and never takes the start state of another replay.
std::string StateFileBeside(const std::string& replayPath) {
  const size_t n = replayPath.size();
  const bool rep = n >= 4 && replayPath[n - 4] == '.' &&
                   strncasecmp(replayPath.c_str() + n - 3, "rep", 3) == 0;
  return (rep ? replayPath.substr(0, n - 4) : replayPath) + ".sar";
}

std::string UndoStatePath() { return platform::CurrentDirectory() + "/gamesavebeforeload.sat"; }

// Writes the running game to path through a temporary file; false when anything failed.
bool WriteGame(const std::string& path) {
  GameNode* scene = CurrentGameNode;
  if (!scene) return false;
  std::string temporary = path + ".part";
  bool good;
  {
    ObjectStream stream(temporary, true);
    GameSaveVariables(stream);
    stream.WriteLong(scene->GetId());
    scene->Save(stream);
    stream.flush();
    good = stream.Good();
  }
  if (good) good = platform::RenameFile(temporary, path);
  if (!good) platform::DeleteFile(temporary);
  return good;
}

// Deletes what a failed read created and left outside every list. Objects inside a
// list belong to it (an orphaned map takes its shapes with it), so the orphans are all
// found before any is deleted.
void DeleteOrphans(const ObjectStream& stream) {
  std::vector<Node*> orphans;
  for (const auto& entry : stream.ObjectTable())
    if (!entry.second->GetNext()) orphans.push_back(entry.second);
  for (Node* orphan : orphans) delete orphan;
}

// Reads a saved game into the running one; false (with the game possibly half replaced)
// when the file is damaged.
bool ReadGame(const std::string& path) {
  ObjectStream stream(path, false);
  if (!stream.Good()) return false;
  GameLoadVariables(stream);
  int32_t id = 0;
  stream.ReadLong(&id);
  GameNode* scene = FindGameNodeById(id);
  if (!stream.Good() || !scene) return false;
  if (CurrentGameNode) {
    EmptyGameNode(CurrentGameNode, true);
    scene->TakeRecordingFrom(*CurrentGameNode);
  }
  ReleaseAnimationSurfaces();
  CurrentGameNode = scene;
  scene->Load(stream);
  if (stream.Good()) {
    // What only a reference named (a main character or a map in no list, a sprite that
    // set an alarm off) is kept with the scene rather than lost.
    for (const auto& entry : stream.ObjectTable()) AdoptLoadedOrphan(entry.second);
    return true;
  }
  MainCharacter = nullptr;
  DeleteOrphans(stream);
  return false;
}

}  // namespace

bool SaveGameFile(const std::string& path) {
  if (WriteGame(path)) return true;
  ErrorBox("The game could not be saved to \"" + path + "\" .", "Save error .");
  return false;
}

bool LoadGameFile(const std::string& path) {
  if (!platform::FileExists(path)) {
    SayMissing("saved game", path, kLoadError);
    return false;
  }
  std::string undo = UndoStatePath();
  if (!WriteGame(undo)) {
    ErrorBox("The saved game \"" + path + "\" was not loaded: the present game could not be kept .",
             kLoadError);
    return false;
  }
  bool loaded = ReadGame(path);
  if (!loaded) {
    if (CurrentGameNode) EmptyGameNode(CurrentGameNode, true);
    ReadGame(undo);
    ErrorBox("The saved game \"" + path + "\" is damaged or is not a saved game; the game goes on .",
             kLoadError);
  }
  platform::DeleteFile(undo);
  return loaded;
}

namespace {

// Opens a file dialog with the devices released, as a modal step inside the frame.
bool AskForFile(platform::FileDialogKind kind, const char* description, const char* pattern,
                const char* extension, std::string& path) {
  if (CurrentMouse) CurrentMouse->Unacquire();
  if (CurrentKeyboard) CurrentKeyboard->Unacquire();
  platform::Host& host = platform::CurrentHost();
  platform::FileDialogRequest request;
  request.kind = kind;
  request.filterDescription = description;
  request.filterPattern = pattern;
  request.defaultExtension = extension;
  request.initialDirectory = platform::CurrentDirectory();
  request.mustExist = kind == platform::FileDialogKind::Open;
  host.SetCursorVisible(true);
  bool ok = host.AskFileName(request, path);
  host.SetCursorVisible(false);
  if (CurrentMouse) CurrentMouse->Acquire();
  if (CurrentKeyboard) CurrentKeyboard->Acquire();
  if (CurrentMouse) CurrentMouse->ClearButtons();
  if (CurrentKeyboard) CurrentKeyboard->ClearKeys();
  return ok && !path.empty();
}

// A recording's three arrays, as a replay file holds them.
struct RecordedInput {
  DynamicArray<uint32_t> masks;
  DynamicArray<uint8_t> flags;
  DynamicArray<MouseDelta> moves;
};

// Reads a recording's three counted arrays whole, trusting no count beyond the file.
bool ReadRecordedInput(const std::string& path, RecordedInput& input) {
  std::ifstream in(platform::MapPath(path), std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  uint64_t remaining = static_cast<uint64_t>(in.tellg());
  in.seekg(0, std::ios::beg);
  auto readCount = [&](uint32_t elementSize, uint32_t& count) {
    int32_t n = 0;
    if (remaining < 4 || !in.read(reinterpret_cast<char*>(&n), 4)) return false;
    remaining -= 4;
    count = n < 1 ? 0 : static_cast<uint32_t>(n);
    if (uint64_t(count) * elementSize > remaining) return false;
    remaining -= uint64_t(count) * elementSize;
    return true;
  };
  uint32_t count = 0;
  if (!readCount(4, count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t mask = 0;
    in.read(reinterpret_cast<char*>(&mask), 4);
    input.masks.Add(mask);
  }
  if (!readCount(1, count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t flag = 0;
    in.read(reinterpret_cast<char*>(&flag), 1);
    input.flags.Add(flag);
  }
  if (!readCount(8, count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    MouseDelta delta;
    in.read(reinterpret_cast<char*>(&delta.dx), 4);
    in.read(reinterpret_cast<char*>(&delta.dy), 4);
    input.moves.Add(delta);
  }
  return static_cast<bool>(in);
}

bool ReadRecordedInputOrSay(const std::string& path, RecordedInput& input) {
  if (ReadRecordedInput(path, input)) return true;
  ErrorBox("The replay \"" + path + "\" is damaged .", kReplayError);
  return false;
}

}  // namespace

void GameDirector::DoPendingSave() {
  std::string path = savePath;
  savePath.clear();
  saveRequested = 0;
  if (path.empty()) {
    if (!AskForFile(platform::FileDialogKind::Save, "Saved Files (*.sav)", "*.sav", "sav", path))
      return;
  }
  SaveGameFile(path);
}

namespace {
// The rate a replay returns to: the scene's target, which is never 0.
uint32_t ReplayReturnRate() { return CurrentGameNode ? CurrentGameNode->targetRate : 60; }

void EnterReplayMode(GameDirector& director, uint32_t returnRate) {
  platform::CurrentHost().SetWindowTitle("Quor - Replay Mode");
  director.recording = 0;
  director.replaying = 1;
  director.replayRate = returnRate;
}
}  // namespace

void GameDirector::DoPendingLoad() {
  std::string path = loadPath;
  loadRequested = 0;
  loadPath.clear();
  const bool startsReplay = replayStartRequested != 0;
  replayStartRequested = 0;
  const bool fromReplayFile = replayInputRequested != 0;
  std::string inputPath = replayInputPath;
  replayInputPath.clear();
  replayInputRequested = 0;
  if (path.empty()) {
    if (!AskForFile(platform::FileDialogKind::Open, "Load Files (*.sav)", "*.sav", "sav", path))
      return;
  }
  if (startsReplay) {
    // A replay, the player's own (F3) or one from a file (F8), starts only once its
    // recording has been read whole and its start state has loaded; a refusal has said why
    // and left the game, the player's own recording included, as it was.
    RecordedInput input;
    const uint32_t returnRate = ReplayReturnRate();
    if ((fromReplayFile && !ReadRecordedInputOrSay(inputPath, input)) || !LoadGameFile(path) ||
        !CurrentGameNode) {
      slowReplay = 0;
      return;
    }
    if (fromReplayFile) {
      platform::CopyFile(path, StartRecordingStatePath());
      CurrentGameNode->recordedKeyMasks = input.masks;
      CurrentGameNode->recordedMouseFlags = input.flags;
      CurrentGameNode->recordedMouseMovement = input.moves;
    }
    EnterReplayMode(*this, returnRate);
  } else {
    LoadGameFile(path);
  }
  if (slowReplay && CurrentGameNode) {
    uint32_t rate = CurrentGameNode->measuredRate;
    CurrentGameNode->SetFPS(rate >= 60 ? rate / 4 : 15);
    slowReplay = 0;
  }
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

void GameDirector::StartReplay(bool slow) {
  if (!CurrentGameNode || CurrentGameNode->recordedKeyMasks.Size() < 1) return;
  RequestSave(WhenReplayStatePath().c_str());
  RequestLoad(StartRecordingStatePath().c_str());
  replayStartRequested = 1;
  if (slow) slowReplay = 1;
}

// The recording is read and checked whole at once; its start state is checked by the load
// of the next frame, which starts the replay only when both are good.
void GameDirector::StartReplayFromFile(const std::string& path, bool slow) {
  std::string state = StateFileBeside(path);
  if (!platform::FileExists(path)) {
    SayMissing("replay", path, kReplayError);
    return;
  }
  if (!platform::FileExists(state)) {
    SayMissing("saved game", state, kReplayError);
    return;
  }
  RecordedInput input;
  if (!ReadRecordedInputOrSay(path, input)) return;
  RequestSave(WhenReplayStatePath().c_str());
  LoadReplayFile(path);
  if (slow) slowReplay = 1;
}

// The start state is copied over the player's own recording's only once the replay is
// accepted (see DoPendingLoad).
void GameDirector::LoadReplayFile(const std::string& path) {
  RequestLoad(StateFileBeside(path).c_str());
  RequestReplayInput(path.c_str());
  replayStartRequested = 1;
}

void GameDirector::SaveReplayFile(const std::string& path) {
  GameNode* scene = CurrentGameNode;
  if (!scene || scene->recordedKeyMasks.Size() < 1) return;
  std::string state = StateFileBeside(path);
  std::string temporary = path + ".part";
  bool good = platform::CopyFile(StartRecordingStatePath(), state);
  if (good) {
    std::ofstream out(platform::MapPath(temporary), std::ios::binary | std::ios::trunc);
    auto writeLong = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    writeLong(scene->recordedKeyMasks.Size());
    for (uint32_t i = 0; i < scene->recordedKeyMasks.Size(); ++i)
      writeLong(scene->recordedKeyMasks[i]);
    writeLong(scene->recordedMouseFlags.Size());
    for (uint32_t i = 0; i < scene->recordedMouseFlags.Size(); ++i)
      out.write(reinterpret_cast<const char*>(scene->recordedMouseFlags.At(i)), 1);
    writeLong(scene->recordedMouseMovement.Size());
    for (uint32_t i = 0; i < scene->recordedMouseMovement.Size(); ++i) {
      writeLong(static_cast<uint32_t>(scene->recordedMouseMovement[i].dx));
      writeLong(static_cast<uint32_t>(scene->recordedMouseMovement[i].dy));
    }
    out.flush();
    good = static_cast<bool>(out);
    out.close();
    good = good && platform::RenameFile(temporary, path);
  }
  if (!good) {
    platform::DeleteFile(temporary);
    ErrorBox("The replay could not be saved to \"" + path + "\" .", "Replay error .");
  }
}

void GameDirector::SaveReplayDialog() {
  std::string path;
  if (AskForFile(platform::FileDialogKind::Save, "Saved Replays (*.rep)", "*.rep", "rep", path))
    SaveReplayFile(path);
}

void GameDirector::LoadReplayDialog() {
  std::string path;
  if (AskForFile(platform::FileDialogKind::Open, "Load Replays (*.rep)", "*.rep", "rep", path))
    StartReplayFromFile(path, false);
}

}  // namespace quor
