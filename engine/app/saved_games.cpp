// Saving and loading games, recording input and replaying it.
//
// A load never leaves the running game half replaced: the present state is saved first,
// and when the file turns out to be damaged it is put back and the player is told.
// A save is written whole to temporary files beside its targets and only then put in
// place, so a failed save never destroys an earlier good one.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "engine/app/frame_passes.h"
#include "engine/app/game_director.h"
#include "engine/app/game_hooks.h"
#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/display/display.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "platform/file_replacement.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/ownership.h"

namespace quor {

namespace {

constexpr char kLoadError[] = "Load error .";
constexpr char kReplayError[] = "Replay error .";
// A replay holds 13 bytes a frame: this is some 90 hours of play at 60 frames a second.
constexpr uint64_t kLargestReplay = uint64_t{256} << 20;
static_assert(kLargestReplay <= platform::kLargestSavedFile &&
                  kLargestSavedGame <= platform::kLargestSavedFile,
              "a save's files are told apart by reading no more than the largest");

void ErrorBox(const std::string& text, const char* caption) {
  platform::CurrentHost().ShowMessageBox(text, caption, platform::MessageBoxIcon::Exclamation);
}

// The system's own words for why a file could not be written or read.
std::string Why(int error) { return platform::ErrorText(error); }

// A file the player named is told of in the same words by every load: one that is not
// there is called missing, one that is there but cannot be opened says why.
std::string UnreadableText(const std::string& what, const std::string& path, int error) {
  const std::string named = "The " + what + " \"" + path + "\" ";
  if (error == ENOENT || error == ENOTDIR) return named + "does not exist .";
  return named + "cannot be read (" + (error == EINVAL ? "not a plain file" : Why(error)) + ") .";
}

// 0 where path opens for reading, else why not.
int OpenError(const std::string& path) {
  std::FILE* file = platform::OpenFileForReading(path);
  if (!file) return errno ? errno : EIO;
  std::fclose(file);
  return 0;
}

bool Readable(const std::string& what, const std::string& path, const char* caption) {
  const int error = OpenError(path);
  if (error) ErrorBox(UnreadableText(what, path, error), caption);
  return !error;
}

void DamagedBox(const std::string& path) {
  ErrorBox("The saved game \"" + path + "\" is damaged or is not a saved game; the game goes on .",
           kLoadError);
}

// Why a save failed: an errno value (or the save path's own) and its words; and where it
// was left half way, the names that hold its new files and what the next save does.
struct SaveFailure {
  int error = 0;
  std::string why;
  std::vector<std::string> holdingNew;
};

// A save's failure told in a box; one given up as the player asked the game to end says
// nothing, as the game is ending.
void FailureBox(const SaveFailure& failure, const std::string& text, const char* caption) {
  if (failure.error != platform::kGivenUp) ErrorBox(text, caption);
}

// The game keeps its own state files in its folder. Where it cannot write them, a box
// names that folder and says what it keeps there, never the state file itself, which the
// player did not choose.
std::string GameFolderRefused(const std::string& kept, const std::string& file,
                              const SaveFailure& failure) {
  const std::string folder = "\"" + platform::CurrentDirectory() + "\"";
  if (failure.error == platform::kFolderBusy)
    return "another game is saving in the game's folder " + folder + ": try again in a moment .";
  const bool refused = failure.error == EPERM || failure.error == EACCES || failure.error == EROFS;
  // In a shared folder, a state of another user's game that stopped may be one that only
  // they may replace, however writable the folder.
  if (refused && platform::IsAnotherUsersFile(file))
    return "the game keeps " + kept + " in its folder " + folder +
           ", where another user's game left one that only they may replace (" +
           Why(failure.error) + ") .";
  if (refused)
    return "the game keeps " + kept + " in its folder " + folder + ", which must be writable (" +
           Why(failure.error) + ") .";
  return "the game keeps " + kept + " in its folder " + folder +
         ", and could not save it: " + failure.why + " .";
}

// A replay is saved as "x.rep" with its start state "x.sar" beside it: a name without
// ".rep" gets it, so no two names share a start state. A replay saved otherwise by an
// earlier version ("b.r" beside "b.r.sar") still loads.
std::string ReplayFileFor(const std::string& name) { return platform::WithExtension(name, "rep"); }
std::string StateFileBeside(const std::string& replayPath) {
  return platform::CompanionFile(replayPath, "rep", "sar");
}

std::string UndoStatePath() { return platform::CurrentDirectory() + "/gamesavebeforeload.sat"; }

// What the player can do, where anything: the things said joined by "or".
std::string CanDo(const std::vector<std::string>& things) {
  std::string said;
  for (const std::string& thing : things)
    if (!thing.empty()) said += (said.empty() ? ": " : ", or ") + thing;
  return said;
}

// Whether the running scene holds a recording to replay or save.
bool Recorded() { return CurrentGameNode && CurrentGameNode->recordedKeyMasks.Size() >= 1; }

// Why a file of a save that a game left half way is held back, in the player's words, with
// what they can do: F7 is offered only where the player's save of the pair would replace it,
// after F1 and F2 where nothing is recorded.
std::string HeldBackText(const platform::HeldBack& why, bool recorded = false) {
  using platform::HeldBack;
  const std::string cut = why.writer.empty() ? "its save was cut short"
                                             : "its save, " + why.writer + "'s, was cut short",
                    wait = platform::IsPermission(why.error) ? "" : "try again in a moment",
                    replace = !why.replaceable
                                  ? ""
                                  : std::string(recorded ? "" : "record with F1 and F2, then ") +
                                        "save your own recording under this name (F7) in its place";
  switch (why.kind) {
    case HeldBack::kNone:
      return "";
    case HeldBack::kBeingSaved:
      return (why.error ? "whether another game saved it as it was read cannot be told (" +
                              Why(why.error) + ")"
                        : "another game is saving it") +
             ": try again in a moment";
    case HeldBack::kFolderLocked:
      if (why.error == ENOLCK)
        return cut + ", and this folder's file system gives no locks, which finishing it needs: " +
               (why.writer.empty() ? "play" : "ask " + why.writer + " to play") +
               " it on the computer that saved it";
      if (why.error == EROFS)
        return cut + ", and its folder is read-only now: play it once the folder can be written";
      if (platform::IsPermission(why.error))
        return cut + ", and only a user who may write its folder can finish it (" + Why(why.error) +
               "): ask them to play it once";
      return cut + ", and its folder cannot be locked to finish it (" + Why(why.error) + ")";
    case HeldBack::kAnotherUsers:
      return cut + ", and only that user's game can finish it" +
             CanDo({"ask " + why.writer + " to play it once", replace});
    case HeldBack::kCannotTell:
      return cut + ", and what it holds cannot be read now (" + Why(why.error) + ")" +
             CanDo({wait, replace});
    case HeldBack::kLaterVersion:
      return cut + " by a later version of the game" +
             CanDo({"play it once with that version", replace});
    case HeldBack::kDamaged:
      return cut + ", and what it left to finish it is damaged" + CanDo({replace});
    case HeldBack::kNotFinished:
      break;
  }
  return why.error ? cut + ", and finishing it failed here (" + Why(why.error) + ")" +
                         CanDo({wait, replace})
                   : cut + ", and what would finish it is gone" + CanDo({replace});
}

using SaveResult = platform::FileReplacement::Result;
using Locking = platform::FileReplacement::Locking;

SaveResult Commit(platform::FileReplacement& replacement, SaveFailure& failure,
                  Locking locking = Locking::kRequired) {
  const SaveResult result = replacement.Commit(locking);
  const platform::HeldBack& held = replacement.HeldBackBy();
  failure = {replacement.Error(),
             held.kind != platform::HeldBack::kNone ? HeldBackText(held) : replacement.ErrorText(),
             replacement.HoldingNew()};
  return result;
}

// Writes the running game to path, replacing the file there whole. The result, with in
// failure why it failed or may not last.
SaveResult WriteGame(const std::string& path, SaveFailure& failure,
                     Locking locking = Locking::kRequired) {
  GameNode* scene = CurrentGameNode;
  failure = SaveFailure();
  failure.error = EINVAL;
  failure.why = Why(EINVAL);
  if (!scene) return SaveResult::kFailed;
  ObjectStream stream;
  GameSaveVariables(stream);
  stream.WriteLong(scene->GetId());
  scene->Save(stream);
  if (!stream.Good()) return SaveResult::kFailed;
  platform::FileReplacement replacement;
  replacement.Write(path, stream.WrittenBytes());
  return Commit(replacement, failure, locking);
}

bool Saved(SaveResult result) {
  return result == SaveResult::kReplaced || result == SaveResult::kNotDurable;
}

// A state of the game's own, which lives no longer than this run: kept, or why not.
bool WriteState(const std::string& path, SaveFailure& failure) {
  return Saved(WriteGame(path, failure, Locking::kWhereAny));
}

// What the names of a save left half way hold now. Whatever the disk did meanwhile (one
// turned read-only may have lost a rename already made), the next save there settles it.
std::string HalfWayText(const SaveFailure& failure) {
  std::string names;
  for (const std::string& name : failure.holdingNew)
    names += (names.empty() ? "\"" : "\", \"") + name;
  return "Now only " + names + "\" " + (failure.holdingNew.size() == 1 ? "holds" : "hold") +
         " the new file; the next save there makes it whole, with the new files or the earlier "
         "ones .";
}

// Tells the player of a save that did not simply succeed: one the disk did not confirm, whose
// names hold the new files that a power loss may yet undo; or what failed.
void SayHowSaved(const std::string& what, const std::string& path, SaveResult result,
                 const SaveFailure& failure, const char* failed, const char* unconfirmed) {
  const std::string named = "\"" + path + "\"";
  switch (result) {
    case SaveResult::kReplaced:
      return;
    case SaveResult::kNotDurable:
      ErrorBox(what + " was saved to " + named + ", but the disk did not confirm it, so it may " +
                   "not survive a power loss (" + failure.why + ") .",
               unconfirmed);
      return;
    case SaveResult::kLeftHalfWay:
      ErrorBox(what + " could not be saved whole to " + named + ": " + failure.why + " . " +
                   HalfWayText(failure),
               failed);
      return;
    case SaveResult::kFailed:
      break;
  }
  FailureBox(failure, what + " could not be saved to " + named + ": " + failure.why + " .", failed);
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
bool ReadGame(ObjectStream& stream) {
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
  SaveFailure failure;
  const SaveResult result = WriteGame(path, failure);
  SayHowSaved("The game", path, result, failure, "Save error .", "Saved, not confirmed .");
  return Saved(result);
}

namespace {

// Loads a saved game as LoadGameFile does, from the bytes given where there are any (path
// then only names them). Where `stands` is given, the load counts only once it agrees
// (having said why where it does not); otherwise the game goes back to where it was.
bool LoadGame(const std::string& path, const std::vector<uint8_t>* bytes,
              const std::function<bool()>& stands) {
  if (!bytes && !Readable("saved game", path, kLoadError)) return false;
  std::string undo = UndoStatePath();
  SaveFailure failure;
  if (!WriteState(undo, failure)) {
    FailureBox(failure,
               "The saved game \"" + path + "\" was not loaded: " +
                   GameFolderRefused("the present game while it loads", undo, failure),
               kLoadError);
    return false;
  }
  bool loaded = false;
  try {
    ObjectStream stream = bytes ? ObjectStream(*bytes) : ObjectStream(path, false);
    loaded = ReadGame(stream);
  } catch (const std::bad_alloc&) {
    // Memory ran out on the way: refused as a damaged file is.
  }
  const bool kept = loaded && (!stands || stands());
  if (!kept) {
    if (CurrentGameNode) EmptyGameNode(CurrentGameNode, true);
    ObjectStream stream(undo, false);
    ReadGame(stream);
  }
  if (!loaded) DamagedBox(path);
  platform::DeleteFile(undo);
  return kept;
}

}  // namespace

bool LoadGameFile(const std::string& path) { return LoadGame(path, nullptr, nullptr); }

namespace {

platform::FileDialogRequest DialogRequest(platform::FileDialogKind kind, const char* description,
                                          const char* pattern, const char* extension) {
  platform::FileDialogRequest request;
  request.kind = kind;
  request.filterDescription = description;
  request.filterPattern = pattern;
  request.defaultExtension = extension;
  request.initialDirectory = platform::CurrentDirectory();
  request.mustExist = kind == platform::FileDialogKind::Open;
  return request;
}

// A replay's name always ends in ".rep" (see ReplayFileFor), and its save writes the start
// state beside it.
platform::FileDialogRequest ReplayDialogRequest(platform::FileDialogKind kind,
                                                const char* description) {
  platform::FileDialogRequest request = DialogRequest(kind, description, "*.rep", "rep");
  request.extensionRequired = true;
  if (kind == platform::FileDialogKind::Save) request.companionExtension = "sar";
  return request;
}

// Opens a file dialog with the devices released, as a modal step inside the frame.
bool AskForFile(const platform::FileDialogRequest& request, std::string& path) {
  if (CurrentMouse) CurrentMouse->Unacquire();
  if (CurrentKeyboard) CurrentKeyboard->Unacquire();
  platform::Host& host = platform::CurrentHost();
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
bool ReadRecordedInput(const std::vector<uint8_t>& bytes, RecordedInput& input) {
  size_t at = 0;
  auto readLong = [&]() {
    uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    at += 4;
    return v;
  };
  auto readCount = [&](uint32_t elementSize, uint32_t& count) {
    if (bytes.size() - at < 4) return false;
    int32_t n = static_cast<int32_t>(readLong());
    count = n < 1 ? 0 : static_cast<uint32_t>(n);
    return uint64_t(count) * elementSize <= bytes.size() - at;
  };
  // Each array is given its room at once: grown ten at a time, hours of play would take
  // hours to read.
  uint32_t count = 0;
  try {
    if (!readCount(4, count)) return false;
    input.masks.Reserve(count);
    for (uint32_t i = 0; i < count; ++i) input.masks.Add(readLong());
    if (!readCount(1, count)) return false;
    input.flags.Reserve(count);
    for (uint32_t i = 0; i < count; ++i) input.flags.Add(bytes[at++]);
    if (!readCount(8, count)) return false;
    input.moves.Reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      MouseDelta delta;
      delta.dx = static_cast<int32_t>(readLong());
      delta.dy = static_cast<int32_t>(readLong());
      input.moves.Add(delta);
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool ReadRecordedInputOrSay(const std::string& path, const std::vector<uint8_t>& bytes,
                            RecordedInput& input) {
  if (ReadRecordedInput(bytes, input)) return true;
  ErrorBox("The replay \"" + path + "\" is damaged .", kReplayError);
  return false;
}

}  // namespace

void GameDirector::DoPendingSave() {
  std::string path = savePath;
  savePath.clear();
  saveRequested = 0;
  if (path.empty()) {
    if (!AskForFile(
            DialogRequest(platform::FileDialogKind::Save, "Saved Files (*.sav)", "*.sav", "sav"),
            path))
      return;
  }
  const bool recordingStart = path == StartRecordingStatePath();
  if (!recordingStart && path != WhenReplayStatePath()) {
    SaveGameFile(path);
    return;
  }
  // A state of the game's own that cannot be kept stops what needs it: a recording with
  // no start state, or a replay with nothing to come back to (whose load waits in this
  // frame).
  SaveFailure failure;
  recordingRefused = 0;
  if (WriteState(path, failure)) return;
  if (recordingStart) {
    StopRecording();
    recordingRefused = 1;
    FailureBox(failure,
               "Recording did not start: " +
                   GameFolderRefused("the state a recording starts from", path, failure),
               "Recording error .");
    return;
  }
  const std::string replay = replayInputRequested ? " \"" + replayInputPath + "\"" : "";
  loadRequested = replayStartRequested = replayInputRequested = slowReplay = 0;
  loadPath.clear();
  replayInputPath.clear();
  replayInputBytes.clear();
  replayStateBytes.clear();
  FailureBox(
      failure,
      "The replay" + replay + " did not start: " +
          GameFolderRefused("the present game to come back to after a replay", path, failure),
      kReplayError);
}

namespace {
// The rate a replay returns to: the scene's target, which is never 0.
uint32_t ReplayReturnRate() { return CurrentGameNode ? CurrentGameNode->targetRate : 60; }

// Says why a replay from a file did not start: its start state could not be kept; false.
bool StartStateNotKept(const std::string& replay, const SaveFailure& failure) {
  FailureBox(
      failure,
      "The replay \"" + replay + "\" did not start: " +
          GameFolderRefused("the state a replay starts from", StartRecordingStatePath(), failure),
      kReplayError);
  return false;
}

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
  std::vector<uint8_t> inputBytes, stateBytes;
  inputBytes.swap(replayInputBytes);
  stateBytes.swap(replayStateBytes);
  if (path.empty()) {
    if (!AskForFile(
            DialogRequest(platform::FileDialogKind::Open, "Load Files (*.sav)", "*.sav", "sav"),
            path))
      return;
  }
  if (!startsReplay) {
    LoadGameFile(path);
    return;
  }
  // A replay, the player's own (F3) or one from a file (F8), starts only once its
  // recording has been read whole and its start state has loaded; a refusal has said why
  // and left the game, the player's own recording included, as it was.
  const bool slow = slowReplay != 0;
  slowReplay = 0;
  RecordedInput input;
  const uint32_t returnRate = ReplayReturnRate();
  // A replay from a file becomes the player's last recording, so its start state takes the
  // place of theirs in the same step as the load, and a later F7 saves the pair whole. The
  // copy is written out before the load and put in place once the load has succeeded.
  platform::FileReplacement startState;
  std::function<bool()> keepStartState;
  if (fromReplayFile) {
    if (!ReadRecordedInputOrSay(inputPath, inputBytes, input)) return;
    startState.Write(StartRecordingStatePath(), stateBytes);
    keepStartState = [&] {
      SaveFailure failure;
      return Saved(Commit(startState, failure, Locking::kWhereAny)) ||
             StartStateNotKept(inputPath, failure);
    };
  }
  if (!LoadGame(path, fromReplayFile ? &stateBytes : nullptr, keepStartState) || !CurrentGameNode)
    return;
  if (fromReplayFile) {
    CurrentGameNode->recordedKeyMasks = input.masks;
    CurrentGameNode->recordedMouseFlags = input.flags;
    CurrentGameNode->recordedMouseMovement = input.moves;
  }
  EnterReplayMode(*this, returnRate);
  if (slow) {
    uint32_t rate = CurrentGameNode->measuredRate;
    CurrentGameNode->SetFPS(rate >= 60 ? rate / 4 : 15);
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

namespace {
// F3 and F7 need a recording; without one the player is told which keys make it, or, where
// F1 was refused, that it could not start.
bool RecordingThere(const GameDirector& director, const char* wanted) {
  if (Recorded()) return true;
  ErrorBox(std::string("Nothing has been recorded to ") + wanted +
               (director.recordingRefused ? ", as the recording could not start ."
                                          : ": F1 starts a recording and F2 stops it ."),
           kReplayError);
  return false;
}
}  // namespace

void GameDirector::StartReplay(bool slow) {
  if (!RecordingThere(*this, "replay")) return;
  RequestSave(WhenReplayStatePath().c_str());
  RequestLoad(StartRecordingStatePath().c_str());
  replayStartRequested = 1;
  if (slow) slowReplay = 1;
}

// The pair is read whole at once, as one: no game saves it meanwhile, and one whose save a
// game left half way is made whole first, or the replay does not start. The folder is let go
// before anything is said. The recording is checked now; its start state is checked by the
// load of the next frame, which starts the replay only when both are good.
void GameDirector::StartReplayFromFile(const std::string& path, bool slow) {
  const std::string state = StateFileBeside(path);
  std::string refused;
  int replayError = 0, stateError = 0;
  std::vector<uint8_t> inputBytes, stateBytes;
  {
    const auto folder = platform::SettledFolder::Hold(path);
    auto readError = [&](const std::string& file, std::vector<uint8_t>& bytes, uint64_t most) {
      return folder->Read(file, bytes, most) ? 0 : errno ? errno : EIO;
    };
    platform::HeldBack why;
    if (folder->Refused() == platform::kGivenUp) {
      return;
    } else if (folder->Refused()) {
      refused = folder->RefusalText(false);
    } else if ((why = folder->WhyHeldBack({path, state})).kind != platform::HeldBack::kNone) {
      refused = HeldBackText(why, Recorded());
    } else if (!(replayError = readError(path, inputBytes, kLargestReplay)) &&
               !(stateError = readError(state, stateBytes, kLargestSavedGame))) {
      refused = HeldBackText(folder->Confirmed());
    }
  }
  if (!refused.empty()) {
    ErrorBox("The replay \"" + path + "\" did not start: " + refused + " .", kReplayError);
    return;
  }
  if (replayError || stateError) {
    ErrorBox(replayError ? UnreadableText("replay", path, replayError)
                         : UnreadableText("start state", state, stateError),
             kReplayError);
    return;
  }
  RecordedInput input;
  if (!ReadRecordedInputOrSay(path, inputBytes, input)) return;
  replayInputBytes.swap(inputBytes);
  replayStateBytes.swap(stateBytes);
  RequestSave(WhenReplayStatePath().c_str());
  LoadReplayFile(path);
  if (slow) slowReplay = 1;
}

// Plays the pair that StartReplayFromFile read. The start state is copied over the player's
// own recording's only once the replay is accepted (see DoPendingLoad).
void GameDirector::LoadReplayFile(const std::string& path) {
  RequestLoad(StateFileBeside(path).c_str());
  RequestReplayInput(path.c_str());
  replayStartRequested = 1;
}

namespace {

std::vector<uint8_t> RecordedInputBytes(const GameNode& scene) {
  std::vector<uint8_t> out;
  auto writeLong = [&](uint32_t v) {
    const auto* at = reinterpret_cast<const uint8_t*>(&v);
    out.insert(out.end(), at, at + 4);
  };
  writeLong(scene.recordedKeyMasks.Size());
  for (uint32_t i = 0; i < scene.recordedKeyMasks.Size(); ++i) writeLong(scene.recordedKeyMasks[i]);
  writeLong(scene.recordedMouseFlags.Size());
  for (uint32_t i = 0; i < scene.recordedMouseFlags.Size(); ++i)
    out.push_back(*scene.recordedMouseFlags.At(i));
  writeLong(scene.recordedMouseMovement.Size());
  for (uint32_t i = 0; i < scene.recordedMouseMovement.Size(); ++i) {
    writeLong(static_cast<uint32_t>(scene.recordedMouseMovement[i].dx));
    writeLong(static_cast<uint32_t>(scene.recordedMouseMovement[i].dy));
  }
  return out;
}

}  // namespace

// Both files are written in full beside their places first and put in place together, so
// a failed save leaves the earlier pair as it was.
void GameDirector::SaveReplayFile(const std::string& path) {
  GameNode* scene = CurrentGameNode;
  if (!scene || scene->recordedKeyMasks.Size() < 1) return;
  const std::string replay = ReplayFileFor(path), state = StateFileBeside(replay);
  std::vector<uint8_t> startState;
  if (!platform::ReadWholeFile(StartRecordingStatePath(), startState, kLargestSavedGame)) {
    ErrorBox("The replay could not be saved to \"" + replay +
                 "\": the state its recording starts from could not be read (" + Why(errno) + ") .",
             kReplayError);
    return;
  }
  platform::FileReplacement replacement;
  replacement.Write(state, std::move(startState));
  replacement.Write(replay, RecordedInputBytes(*scene));
  SaveFailure failure;
  const SaveResult result = Commit(replacement, failure);
  SayHowSaved("The replay", replay, result, failure, kReplayError, "Replay saved, not confirmed .");
}

void GameDirector::SaveReplayDialog() {
  if (!RecordingThere(*this, "save")) return;
  std::string path;
  if (AskForFile(ReplayDialogRequest(platform::FileDialogKind::Save, "Saved Replays (*.rep)"),
                 path))
    SaveReplayFile(path);
}

void GameDirector::LoadReplayDialog() {
  std::string path;
  if (AskForFile(ReplayDialogRequest(platform::FileDialogKind::Open, "Load Replays (*.rep)"), path))
    StartReplayFromFile(path, false);
}

}  // namespace quor
