#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/core/node_list.h"
#include "engine/core/object_stream.h"
#include "engine/display/variable.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/lock_file.h"
#include "platform/save_names.h"
#include "tests/engine/app/director_fixture.h"
#include "tests/support/faults.h"
#include "tests/support/file_bytes.h"
#include "tests/support/game_files.h"
#include "tests/support/ordinary_user.h"
#include "tests/support/sealed_record.h"

namespace quor {
namespace {

using testing_support::ReadBytes;
using testing_support::SealedRecord;
using testing_support::WriteBytes;

int CountVariables(GameNode* scene) { return scene->variables.Count(); }

// A running game of two scenes, without the main loop.
class SavedGames : public DirectorTest {
 protected:
  void SetUp() override {
    MakeScenes(2);
    director->switchPending = 0;
    auto* box = new Variable;
    box->SetName("Score");
    box->SetText("Hello");
    CurrentGameNode->InsertVariable(box);
    CurrentGameNode->SetFPS(30);
  }
};

TEST_F(SavedGames, SaveLoadSaveGivesTheSameBytesAndKeepsTheScene) {
  ASSERT_TRUE(SaveGameFile(dir.File("one.sav")));
  CurrentGameNode->SetFPS(45);
  ASSERT_TRUE(LoadGameFile(dir.File("one.sav")));
  EXPECT_EQ(CurrentGameNode->GetId(), 1);
  EXPECT_EQ(CurrentGameNode->targetRate, 30u);
  // The frame-rate box is not doubled; the saved box comes back; a loaded scene holds the
  // text cursor that emptying it made.
  EXPECT_EQ(CountVariables(CurrentGameNode), 2);
  EXPECT_EQ(CurrentGameNode->layers[0].Count(), 1);
  ASSERT_TRUE(SaveGameFile(dir.File("two.sav")));
  ASSERT_TRUE(LoadGameFile(dir.File("two.sav")));
  EXPECT_EQ(CountVariables(CurrentGameNode), 2);
  EXPECT_EQ(CurrentGameNode->layers[0].Count(), 1);
  ASSERT_TRUE(SaveGameFile(dir.File("three.sav")));
  EXPECT_EQ(ReadBytes(dir.File("two.sav")), ReadBytes(dir.File("three.sav")));
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"one.sav", "three.sav", "two.sav"}));
}

TEST_F(SavedGames, AGameSavedWhileASwitchWasPendingSwitchesAfterLoading) {
  director->RequestGameNode(2);
  ASSERT_TRUE(SaveGameFile(dir.File("pending.sav")));
  director->switchPending = 0;
  ASSERT_TRUE(LoadGameFile(dir.File("pending.sav")));
  EXPECT_TRUE(director->IsSwitchPending());
  EXPECT_EQ(director->GetNextGameNodeId(), 2);
}

TEST_F(SavedGames, EveryTruncationLeavesTheRunningGameAsItWasAndSaysSoOnce) {
  ASSERT_TRUE(SaveGameFile(dir.File("first.sav")));
  ASSERT_TRUE(LoadGameFile(dir.File("first.sav")));
  ASSERT_TRUE(SaveGameFile(dir.File("good.sav")));
  std::vector<uint8_t> good = ReadBytes(dir.File("good.sav"));
  ASSERT_GT(good.size(), 40u);
  CurrentGameNode->SetFPS(45);
  ASSERT_TRUE(SaveGameFile(dir.File("before.sav")));
  std::vector<uint8_t> before = ReadBytes(dir.File("before.sav"));
  for (size_t cut = 0; cut < good.size(); cut += (cut < 64 ? 1 : 7)) {
    WriteBytes(dir.File("cut.sav"), std::vector<uint8_t>(good.begin(), good.begin() + cut));
    host.messageBoxes.clear();
    EXPECT_FALSE(LoadGameFile(dir.File("cut.sav"))) << cut;
    ASSERT_EQ(host.messageBoxes.size(), 1u) << cut;
    EXPECT_EQ(host.messageBoxes[0].caption, "Load error .");
    EXPECT_NE(host.messageBoxes[0].text.find("cut.sav"), std::string::npos);
    ASSERT_TRUE(SaveGameFile(dir.File("after.sav")));
    ASSERT_EQ(ReadBytes(dir.File("after.sav")), before) << "cut at " << cut;
  }
}

TEST_F(SavedGames, UnknownSceneIdsAndMissingFilesAreRefused) {
  ASSERT_TRUE(SaveGameFile(dir.File("good.sav")));
  std::vector<uint8_t> bytes = ReadBytes(dir.File("good.sav"));
  // The scene id follows the game's variables; find it by its value 1 after them.
  std::vector<uint8_t> wrong = bytes;
  for (size_t i = 0; i + 4 <= wrong.size(); ++i) {
    if (wrong[i] == 1 && wrong[i + 1] == 0 && wrong[i + 2] == 0 && wrong[i + 3] == 0) {
      wrong[i] = 99;
      break;
    }
  }
  WriteBytes(dir.File("wrong.sav"), wrong);
  EXPECT_FALSE(LoadGameFile(dir.File("wrong.sav")));
  EXPECT_FALSE(LoadGameFile(dir.File("nowhere.sav")));
  EXPECT_EQ(host.messageBoxes.size(), 2u);
  EXPECT_EQ(CurrentGameNode->GetId(), 1);
}

// The box used to say only that the save failed, never why.
TEST_F(SavedGames, AFailedSaveKeepsTheEarlierFileAndSaysWhy) {
  ASSERT_TRUE(SaveGameFile(dir.File("keep.sav")));
  std::vector<uint8_t> kept = ReadBytes(dir.File("keep.sav"));
  EXPECT_FALSE(SaveGameFile(dir.File("no-such-folder/keep.sav")));
  EXPECT_FALSE(SaveGameFile(dir.File(std::string(254, 'n') + ".sav")));
  ASSERT_EQ(host.messageBoxes.size(), 2u);
  EXPECT_EQ(host.messageBoxes[0].caption, "Save error .");
  EXPECT_NE(host.messageBoxes[0].text.find("\": No such file or directory ."), std::string::npos);
  EXPECT_NE(host.messageBoxes[1].text.find("\": File name too long ."), std::string::npos);
  EXPECT_EQ(ReadBytes(dir.File("keep.sav")), kept);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"keep.sav"}));
  // Under a plain file, its folder was said not to be writable.
  WriteBytes(dir.File("plain"), {});
  EXPECT_FALSE(SaveGameFile(dir.File("plain/x.sav")));
  director->StartReplayFromFile(dir.File("plain/x.rep"), false);
  ASSERT_EQ(host.messageBoxes.size(), 4u);
  for (size_t i = 2; i < 4; ++i) {
    EXPECT_NE(host.messageBoxes[i].text.find(": Not a directory ."), std::string::npos)
        << host.messageBoxes[i].text;
  }
}

TEST_F(SavedGames, DialogsSaveWhereTheUserSaysAndCancelDoesNothing) {
  host.CancelFileDialog();
  director->RequestSaveDialog();
  director->DoPendingSave();
  EXPECT_EQ(director->saveRequested, 0);
  ASSERT_EQ(host.dialogRequests.size(), 1u);
  EXPECT_EQ(host.dialogRequests[0].filterDescription, "Saved Files (*.sav)");
  EXPECT_EQ(host.dialogRequests[0].defaultExtension, "sav");

  host.AnswerFileDialog(dir.File("chosen"));
  director->RequestSaveDialog();
  director->DoPendingSave();
  EXPECT_TRUE(platform::FileExists(dir.File("chosen.sav")));

  host.AnswerFileDialog(dir.File("chosen.sav"));
  director->RequestLoadDialog();
  director->DoPendingLoad();
  EXPECT_EQ(host.dialogRequests.back().filterDescription, "Load Files (*.sav)");
  EXPECT_TRUE(host.dialogRequests.back().mustExist);
  EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(SavedGames, ReplayFilesKeepTheirStateBesideThemAndHugeCountsAreRefused) {
  GameNode* scene = CurrentGameNode;
  // Nothing recorded: nothing written.
  director->SaveReplayFile(dir.File("empty.rep"));
  EXPECT_FALSE(platform::FileExists(dir.File("empty.rep")));

  director->StartRecording();
  EXPECT_EQ(host.WindowTitle(), "Quor - Recording");
  director->DoPendingSave();
  for (uint32_t i = 0; i < 3; ++i) {
    scene->recordedKeyMasks.Add(i);
    scene->recordedMouseFlags.Add(static_cast<uint8_t>(4));
    scene->recordedMouseMovement.Add(MouseDelta{static_cast<int32_t>(i), -1});
  }
  director->StopRecording();
  director->SaveReplayFile(dir.File("run.rep"));
  std::vector<uint8_t> rep = ReadBytes(dir.File("run.rep"));
  ASSERT_EQ(rep.size(), 4u + 12 + 4 + 3 + 4 + 24);
  EXPECT_EQ(rep[0], 3);
  EXPECT_TRUE(platform::FileExists(dir.File("run.sar")));

  scene->recordedKeyMasks.Clear();
  director->StartReplayFromFile(dir.File("run.rep"), false);
  director->DoPendingSave();
  director->DoPendingLoad();
  EXPECT_EQ(host.WindowTitle(), "Quor - Replay Mode");
  ASSERT_EQ(CurrentGameNode->recordedKeyMasks.Size(), 3u);
  EXPECT_EQ(CurrentGameNode->recordedMouseMovement[2].dx, 2);
  EXPECT_EQ(director->replayRate, 30u);
}

// A temporary named after its target plus ".part" was too long for the file system.
TEST_F(SavedGames, NamesAsLongAsTheFileSystemTakesSaveGamesAndReplays) {
  const std::string stem(250, 'n');
  EXPECT_TRUE(SaveGameFile(dir.File(stem + ".sav")));
  CurrentGameNode->recordedKeyMasks.Add(1u);
  ASSERT_TRUE(testing_support::CopyBytes(dir.File(stem + ".sav"), StartRecordingStatePath()));
  director->SaveReplayFile(dir.File(stem + ".rep"));
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_TRUE(platform::FileExists(dir.File(stem + ".rep")));
  EXPECT_EQ(ReadBytes(dir.File(stem + ".sar")), ReadBytes(dir.File(stem + ".sav")));
}

// The start state used to be copied into place before the recording was written; where
// the recording then failed, the old recording sat beside a new start state.
TEST_F(SavedGames, AReplayThatCannotBeSavedWholeLeavesTheEarlierPairAsItWas) {
  WriteBytes(dir.File("pair.sar"), {1, 2, 3});
  ASSERT_EQ(mkdir(dir.File("pair.rep").c_str(), 0700), 0);
  ASSERT_TRUE(SaveGameFile(StartRecordingStatePath()));
  CurrentGameNode->recordedKeyMasks.Add(1u);
  director->SaveReplayFile(dir.File("pair.rep"));
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].caption, "Replay error .");
  EXPECT_NE(host.messageBoxes[0].text.find("pair.rep\": Is a directory ."), std::string::npos);
  EXPECT_EQ(ReadBytes(dir.File("pair.sar")), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(dir.Names(),
            (std::vector<std::string>{"gamesavestartrecording.sat", "pair.rep", "pair.sar"}));
}

// What happens to the names of a folder, as inotify tells it: each change (of those asked
// for) and the name it touched.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder, uint32_t changes = IN_ALL_EVENTS)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    EXPECT_GE(inotify_add_watch(fd_, folder.c_str(), changes), 0);
  }
  ~FolderWatch() { close(fd_); }
  std::vector<std::pair<uint32_t, std::string>> Events() {
    std::vector<std::pair<uint32_t, std::string>> events;
    alignas(inotify_event) char buffer[65536];
    ssize_t n;
    while ((n = read(fd_, buffer, sizeof buffer)) > 0) {
      for (char* at = buffer; at < buffer + n;) {
        auto* event = reinterpret_cast<inotify_event*>(at);
        events.emplace_back(event->mask, event->len ? event->name : "");
        at += sizeof(inotify_event) + event->len;
      }
    }
    return events;
  }

 private:
  int fd_;
};

// A save moved the earlier file away from its name before it put the new one there, so a
// game killed between the two left the name empty; a replay's start state was copied into
// the state file itself (and a pipe of that name held the game for good); a save over a
// file took the usual permissions in place of that file's.
TEST_F(SavedGames, EveryNameShowsItsEarlierFileOrTheNewOneWholeAndKeepsItsPermissions) {
  const std::string state = platform::MapPath(StartRecordingStatePath());
  ASSERT_TRUE(SaveGameFile(dir.File("keep.sav")));
  ASSERT_EQ(chmod(dir.File("keep.sav").c_str(), 0600), 0);
  ASSERT_TRUE(SaveGameFile(state));
  CurrentGameNode->recordedKeyMasks.Add(1u);
  director->SaveReplayFile(dir.File("pair.rep"));
  // An earlier version's temporary may be the only copy of an earlier save.
  WriteBytes(dir.File(".quor-AbCdEf"), {2});

  FolderWatch watch(dir.Path());
  CurrentGameNode->SetFPS(45);
  ASSERT_TRUE(SaveGameFile(dir.File("keep.sav")));
  CurrentGameNode->recordedKeyMasks.Add(2u);
  director->SaveReplayFile(dir.File("pair.rep"));
  std::vector<std::pair<uint32_t, std::string>> events = watch.Events();
  ASSERT_EQ(unlink(state.c_str()), 0);
  ASSERT_EQ(mkfifo(state.c_str(), 0600), 0);
  watch.Events();
  // A pipe opened as a file would hold the game for good: the test fails instead.
  std::signal(SIGALRM, [](int) {
    static const char held[] = "a pipe at a state file's name held the game\n";
    if (write(2, held, sizeof held - 1) < 0) _exit(2);
    _exit(1);
  });
  alarm(120);
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  director->DoPendingSave();
  director->DoPendingLoad();
  alarm(0);
  EXPECT_EQ(director->replaying, 1);
  EXPECT_TRUE(host.messageBoxes.empty());

  std::vector<std::string> replaced;
  for (const auto& event : watch.Events()) events.push_back(event);
  for (const auto& [mask, name] : events) {
    if (name != "keep.sav" && name != "pair.rep" && name != "pair.sar" &&
        name != "gamesavestartrecording.sat")
      continue;
    EXPECT_EQ(mask & (IN_MOVED_FROM | IN_DELETE | IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE), 0u)
        << name << " changed otherwise than by a rename over it: " << std::hex << mask;
    if (mask & IN_MOVED_TO) replaced.push_back(name);
  }
  std::sort(replaced.begin(), replaced.end());
  EXPECT_EQ(replaced, (std::vector<std::string>{"gamesavestartrecording.sat", "keep.sav",
                                                "pair.rep", "pair.sar"}));
  struct stat st;
  ASSERT_EQ(stat(dir.File("keep.sav").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadBytes(state), ReadBytes(dir.File("pair.sar")));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{".quor-AbCdEf", "gamesavestartrecording.sat",
                                                   "gamesavewhenreplay.sat", "keep.sav", "pair.rep",
                                                   "pair.sar"}));
}

}  // namespace
}  // namespace quor

namespace quor {
namespace {

TEST_F(SavedGames, AReplayWithoutItsStateFileOrWithHugeCountsDoesNotStart) {
  WriteBytes(dir.File("alone.rep"), {0, 0, 0, 0});
  director->StartReplayFromFile(dir.File("alone.rep"), false);
  EXPECT_EQ(director->replaying, 0);
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].caption, "Replay error .");

  ASSERT_TRUE(SaveGameFile(dir.File("huge.sar")));
  WriteBytes(dir.File("huge.rep"), {0xff, 0xff, 0xff, 0x7f, 1, 2, 3, 4});
  director->StartReplayFromFile(dir.File("huge.rep"), false);
  director->DoPendingSave();
  director->DoPendingLoad();
  EXPECT_EQ(director->replaying, 0);
  EXPECT_EQ(CurrentGameNode->recordedKeyMasks.Size(), 0u);
  EXPECT_NE(host.WindowTitle(), "Quor - Replay Mode");

  // A pipe at the start state was opened before it was refused, which let a program waiting to
  // write to it through.
  ASSERT_EQ(mkfifo(dir.File("alone.sar").c_str(), 0600), 0);
  std::atomic<bool> through{false};
  std::thread writer([&] { through = close(open(dir.File("alone.sar").c_str(), O_WRONLY)) == 0; });
  director->StartReplayFromFile(dir.File("alone.rep"), false);
  usleep(100000);
  EXPECT_FALSE(through);
  close(open(dir.File("alone.sar").c_str(), O_RDONLY | O_NONBLOCK));
  writer.join();
  EXPECT_EQ(host.messageBoxes.back().text, "The start state \"" + dir.File("alone.sar") +
                                               "\" cannot be read (not a plain file) .");
}

}  // namespace
}  // namespace quor

namespace quor {
namespace {

// The real game, run headless in folder (given the game's files there) with faults staged in
// its file calls, doing each "FRAME ACTION" of the script. The exit status, or -1 where it
// was killed.
// It runs as the user `as` where one is given (see AsUser), from copies of the program and
// its fault library that user may reach.
std::vector<std::string> GameCommand(const std::vector<std::string>& script,
                                     std::vector<std::string> as = {}) {
  if (as.empty()) {
    as.push_back(QUOR_BINARY_DIR "/quor_headless");
  } else {
    as.insert(as.begin(), {"/usr/bin/env",
                           "LD_PRELOAD=" + testing_support::ReachableCopy(QUOR_FAULT_PRELOAD)});
    as.push_back(testing_support::ReachableCopy(QUOR_BINARY_DIR "/quor_headless"));
  }
  for (const std::string& step : script) as.insert(as.end(), {"--do", step});
  return as;
}

int RunGame(const std::string& folder, const std::vector<std::string>& script,
            const std::string& faults, std::string* output = nullptr,
            const std::vector<std::string>& as = {}) {
  testing_support::ProvideGameFiles(folder);
  testing_support::FaultedRun game(GameCommand(script, as), faults, folder);
  int status = game.Wait();
  if (output) *output = game.Output();
  return status;
}

// What runs a command as another user than the test's (its group of the same number), with
// the given umask: for RunGame's `as`.
std::vector<std::string> AsUser(uid_t user, const char* mask = "022") {
  const std::string id = std::to_string(user);
  return {"/usr/bin/setpriv", "--reuid=" + id,       "--regid=" + id,
          "--clear-groups",   "/bin/sh",              "-c",
          std::string("umask ") + mask + " && exec \"$@\"", "sh"};
}

// The script of a game that records `frames` frames, saves them by F7 as name, and has seen
// `boxes` message boxes by the end.
std::vector<std::string> SaveReplayScript(int frames, int boxes, const std::string& name) {
  const std::string stop = std::to_string(10 + frames), save = std::to_string(20 + frames),
                    look = std::to_string(30 + frames);
  return {"10 tap F1", stop + " tap F2", save + " answer " + name, save + " tap F7",
          look + " expect messages " + std::to_string(boxes)};
}

int SaveReplayInGame(const std::string& folder, int frames, int boxes, const std::string& faults,
                     std::string* output = nullptr, const std::string& name = "pair.rep",
                     const std::vector<std::string>& as = {}) {
  return RunGame(folder, SaveReplayScript(frames, boxes, name), faults, output, as);
}

// The replay name played by F8, and `boxes` message boxes by the end.
int PlayReplayInGame(const std::string& folder, int boxes, const std::string& faults,
                     std::string* output = nullptr, const std::vector<std::string>& as = {},
                     const std::string& name = "pair.rep") {
  return RunGame(folder,
                 {"10 answer " + name, "10 tap F8", "20 expect messages " + std::to_string(boxes)},
                 faults, output, as);
}

// The names a save keeps beside its files while it lives (in folder, in dir).
std::vector<std::string> HiddenNames(const testing_support::TempDir& dir,
                                     const std::string& folder = "") {
  std::vector<std::string> hidden;
  for (const std::string& name : dir.Names(folder))
    if (name.rfind(".quor-", 0) == 0) hidden.push_back(name);
  return hidden;
}

// The record a save of several files keeps in folder (in dir) while it lives, found by what
// it holds.
std::string RecordIn(const testing_support::TempDir& dir, const std::string& folder = "") {
  const std::string at = folder.empty() ? dir.Path() : dir.File(folder);
  for (const std::string& name : HiddenNames(dir, folder)) {
    struct stat st;
    if (lstat((at + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const std::vector<uint8_t> bytes = ReadBytes(at + "/" + name);
    if (bytes.size() > 17 && std::string(bytes.begin(), bytes.begin() + 17) == "quor-save-record ")
      return at + "/" + name;
  }
  return "";
}

// The hidden files of the save whose record is at path: its new and kept files.
std::vector<std::string> FilesOfRecord(const testing_support::TempDir& dir,
                                       const std::string& path) {
  std::string id, role, otherId;
  platform::save_names::Parse(path.substr(path.rfind('/') + 1), id, role);
  std::vector<std::string> files;
  for (const std::string& name : HiddenNames(dir))
    if (platform::save_names::Parse(name, otherId, role) && otherId == id &&
        !platform::save_names::IsRecordRole(role))
      files.push_back(name);
  return files;
}

// Waits until a game held by a "hold=" fault (at go) is held. The test's only child while it
// waits is that game: one that ended (that could not start) will never be held.
bool WaitUntilHeld(const std::string& go) {
  siginfo_t ended{};
  for (int wait = 0; wait < 12000 && !platform::FileExists(go + ".held"); ++wait) {
    if (waitid(P_ALL, 0, &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid != 0) break;
    usleep(10000);
  }
  return platform::FileExists(go + ".held");
}

// Users other than the test's, for a shared folder.
constexpr uid_t kPlayer = 65534, kOther = 65533;

// Why a game cannot be run as another user than the test's here, or "" where it can.
std::string NoOtherUser(const testing_support::TempDir& dir) {
  return geteuid() != 0 ? "other users take root"
         : testing_support::OthersReach(platform::FolderOf(dir.Path()))
             ? ""
             : "other users may reach no folder for the test's files, neither $TMPDIR nor /tmp";
}

// A folder in dir of the given mode, which other users may reach, with game files they may
// reach.
std::string OpenFolder(const testing_support::TempDir& dir, const std::string& name, mode_t mode) {
  EXPECT_EQ(chmod(dir.Path().c_str(), 0755), 0);
  EXPECT_EQ(mkdir(dir.File(name).c_str(), 0700), 0);
  EXPECT_EQ(chmod(dir.File(name).c_str(), mode), 0);
  testing_support::ProvideGameFiles(dir.File(name),
                                    testing_support::ReachableCopy(QUOR_STANDIN_FOLDER));
  return dir.File(name);
}

void Own(uid_t user, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) EXPECT_EQ(chown(path.c_str(), user, user), 0) << path;
}

constexpr char kFailWithEio[] = ":fail=5";

// Only plain files were kept for the rollback: where the recording's rename failed over a
// pair whose start state was a symbolic link, the link was deleted instead of put back.
TEST_F(SavedGames, AFailedReplaySaveLeavesEveryNameAsItWasLinksIncluded) {
  ASSERT_EQ(mkdir(dir.File("elsewhere").c_str(), 0700), 0);
  WriteBytes(dir.File("elsewhere/start.sar"), {1, 2, 3});
  ASSERT_EQ(symlink("elsewhere/start.sar", dir.File("pair.sar").c_str()), 0);
  WriteBytes(dir.File("pair.rep"), {4, 5});
  for (const char* failing : {"pair.rep", "pair.sar"}) {
    std::string output;
    EXPECT_EQ(SaveReplayInGame(dir.Path(), 30, 1, "rename:" + std::string(failing) + kFailWithEio,
                               &output),
              0)
        << output;
    EXPECT_NE(output.find("Input/output error"), std::string::npos) << output;
    char link[64] = {};
    EXPECT_EQ(readlink(dir.File("pair.sar").c_str(), link, sizeof link - 1), 19) << failing;
    EXPECT_STREQ(link, "elsewhere/start.sar");
    EXPECT_EQ(ReadBytes(dir.File("elsewhere/start.sar")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadBytes(dir.File("pair.rep")), (std::vector<uint8_t>{4, 5}));
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"BITMAPS", "Sounds", "elsewhere", "pair.rep", "pair.sar"}));
  }
}

// A pair saved here by the director as the earlier one, and what the real game saves as the
// new one, in a folder of its own: a pair whose names hold one of them is whole.
class SavedPairs : public SavedGames {
 protected:
  void SetUp() override {
    SavedGames::SetUp();
    ASSERT_TRUE(SaveGameFile(StartRecordingStatePath()));
    CurrentGameNode->recordedKeyMasks.Add(1u);
    director->SaveReplayFile(dir.File("pair.rep"));
    earlier = {ReadBytes(dir.File("pair.rep")), ReadBytes(dir.File("pair.sar"))};
    ASSERT_EQ(mkdir(dir.File("clean").c_str(), 0700), 0);
    ASSERT_EQ(SaveReplayInGame(dir.File("clean"), 40, 0, ""), 0);
    fresh = {ReadBytes(dir.File("clean/pair.rep")), ReadBytes(dir.File("clean/pair.sar"))};
    ASSERT_NE(fresh.second, earlier.second);
  }
  using Pair = std::pair<std::vector<uint8_t>, std::vector<uint8_t>>;
  Pair Held(const std::string& folder = "") const {
    const std::string at = folder.empty() ? dir.Path() : dir.File(folder);
    return {ReadBytes(at + "/pair.rep"), ReadBytes(at + "/pair.sar")};
  }
  bool Whole(const std::string& folder = "") const {
    return Held(folder) == earlier || Held(folder) == fresh;
  }
  // The earlier pair back in place (in folder), as before a save.
  void PutEarlierBack(const std::string& folder = "") {
    const std::string at = folder.empty() ? dir.Path() : dir.File(folder);
    WriteBytes(at + "/pair.rep", earlier.first);
    WriteBytes(at + "/pair.sar", earlier.second);
  }
  // The earlier pair in folder (in dir) as user's, and user's save of the new one there killed
  // between its renames.
  void KillUsersSave(const std::string& folder, uid_t user) {
    PutEarlierBack(folder);
    const std::string at = dir.File(folder);
    Own(user, {at + "/pair.rep", at + "/pair.sar"});
    EXPECT_EQ(SaveReplayInGame(at, 40, 0, "rename:pair.rep:kill", nullptr, "pair.rep", AsUser(user)),
              -1);
  }
  Pair earlier, fresh;
};

// A file as records of the version before told it: its size and its bytes summed a byte a step
// (each changed by as much as asked).
std::string BytewisePrint(const std::vector<uint8_t>& bytes, uint64_t sizeBy = 0,
                          uint64_t sumBy = 0) {
  uint64_t sum = 0xcbf29ce484222325u;
  for (uint8_t b : bytes) sum = (sum ^ b) * 0x100000001b3u;
  return "f " + std::to_string(bytes.size() + sizeBy) + " " + std::to_string(sum + sumBy) + " 0 0";
}

// A record of the version before of the pair's save: each file's new print, then its earlier one.
std::string UnsealedRecord(const std::string& sar, const std::string& rep) {
  return "quor-save-record 4\n706169722e736172 " + sar + "\n706169722e726570 " + rep + "\n";
}

// A game killed between the pair's two renames left the new start state beside the earlier
// recording, and F8 then played that mixed pair without a word. Where the version before was
// killed so, its record (of version 4) held the pair back for good. And a save killed so
// beside another such save, which it finished first, told its earlier recording as it was
// before that: F8 took nothing of it for its own and played the mix.
TEST_F(SavedPairs, AReplaySaveKilledBetweenItsRenamesIsWholeByTheNextReplay) {
  using platform::save_names::Make;
  using platform::save_names::RecordRole;
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  EXPECT_FALSE(Whole()) << "the game was not killed between the renames";
  // Beside it a damaged record of another pair, which stays, and one of this pair whose save
  // left no hidden file, which goes: neither holds the pair back.
  const std::vector<std::string> others{Make("7-abcdef", "kept0"),
                                        Make("7-abcdef", RecordRole({"other.sar", "other.rep"}))};
  for (const std::string& name :
       {others[0], others[1], Make("8-abcdef", RecordRole({"pair.sar", "pair.rep"}))})
    WriteBytes(dir.File(name), {'x'});
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  EXPECT_TRUE(Whole());
  EXPECT_EQ(HiddenNames(dir), others);
  for (const std::string& name : others) unlink(dir.File(name).c_str());

  // Where the version before was killed so, its record (of version 4, without a checksum) is
  // finished; one changed in a field (a size, a sum, a kind letter), which showed a name holding
  // neither file, was taken for one of a save outdone by a later one: it went with what repairs
  // the pair, and F8 played the mix. So were ones each of whose names still held one of its
  // files: prints swapped in a line, a new file told as none, a name whose earlier file no longer
  // stood kept beside it though no rename had touched it (a start state deleted). Another user's
  // record changed so was taken for whole, and one naming a file twice held its pair for good.
  // Each holds the pair back as damaged, changing nothing, and F7 of the player's own recording
  // replaces it.
  const std::string sar = BytewisePrint(fresh.second), rep = BytewisePrint(earlier.first),
                    newRep = BytewisePrint(fresh.first), oldSar = BytewisePrint(earlier.second),
                    none = "n 0 0 0 0", between = "rename:pair.rep:kill",
                    removing = "unlink:.quor-*record*:kill", beforeKeeps = "rename:pair.sar:kill";
  const bool root = geteuid() == 0;
  // How the save was killed, whether the pair had a start state before it, the field changed,
  // and whether the record is another user's.
  for (const auto& [kill, stateBefore, field, changed, others] :
       std::vector<std::tuple<std::string, bool, std::string, std::string, bool>>{
           {between, true, sar, BytewisePrint(fresh.second, 1), false},
           {between, true, sar, BytewisePrint(fresh.second, 0, 1), false},
           {between, true, sar, "u" + sar.substr(1), false},
           {between, true, rep, BytewisePrint(earlier.first, 0, 1), false},
           {between, true, sar + " " + oldSar, oldSar + " " + sar, false},
           {between, true, newRep + " " + rep, rep + " " + newRep, false},
           {beforeKeeps, true, newRep + " " + rep, rep + " " + newRep, false},
           {between, true, "706169722e736172", "706169722e726570", false},
           {between, false, sar + " " + none, none + " " + sar, false},
           {removing, false, newRep + " " + rep, rep + " " + newRep, false},
           {between, true, rep, BytewisePrint(earlier.first, 1), root},
           {between, true, sar, sar, false}}) {
    std::string text =
        UnsealedRecord(sar + " " + (stateBefore ? oldSar : none), newRep + " " + rep);
    text.replace(text.find(field), field.size(), changed);
    PutEarlierBack();
    if (!stateBefore) unlink(dir.File("pair.sar").c_str());
    EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, kill), -1);
    const std::string record = RecordIn(dir);
    // Killed before it kept the earlier files, or as it removed its record once it had
    // removed them, as far as what it left shows.
    if (kill == beforeKeeps || kill == removing)
      for (const std::string& name : FilesOfRecord(dir, record))
        if (name.find("-kept") != std::string::npos) unlink(dir.File(name).c_str());
    const std::vector<std::string> files = FilesOfRecord(dir, record);
    const Pair before = Held();
    WriteBytes(record, {text.begin(), text.end()});
    if (others) Own(kOther, {record});
    host.messageBoxes.clear();
    director->StartReplayFromFile(dir.File("pair.rep"), false);
    // One that outlived its save, which left no hidden file, goes whatever it says.
    const bool intact = field == changed || kill == removing;
    EXPECT_EQ(host.messageBoxes.size(), intact ? 0u : 1u) << changed;
    for (const auto& box : host.messageBoxes)
      EXPECT_NE(box.text.find(others ? "only that user's game can finish it" : "is damaged"),
                std::string::npos)
          << box.text;
    EXPECT_EQ(Held(), intact ? fresh : before) << changed;
    EXPECT_EQ(FilesOfRecord(dir, record), intact ? std::vector<std::string>{} : files) << changed;
    if (!intact && !others) {
      director->SaveReplayFile(dir.File("pair.rep"));
      EXPECT_EQ(host.messageBoxes.size(), 1u) << changed;
      EXPECT_EQ(Held(), Pair(earlier.first, ReadBytes(StartRecordingStatePath()))) << changed;
      EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{}) << changed;
    }
    unlink(record.c_str());
  }

  // A look at its hidden files that failed (a bad block) was taken for their being gone: the
  // record went, and with it what finishes the pair.
  PutEarlierBack();
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, between), -1);
  const std::string intact = UnsealedRecord(sar + " " + oldSar, newRep + " " + rep);
  WriteBytes(RecordIn(dir), {intact.begin(), intact.end()});
  std::string output;
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, "lstat:.quor-*-new*:fail=5,lstat:.quor-*-kept*:fail=5",
                             &output),
            0)
      << output;
  EXPECT_NE(output.find("cannot be read now (Input/output error)"), std::string::npos) << output;
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, "", &output), 0) << output;
  EXPECT_EQ(Held(), fresh);

  PutEarlierBack();
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  EXPECT_EQ(RunGame(dir.Path(),
                    {"12 tap Space", "30 tap F1", "60 tap F2", "70 answer pair.rep", "70 tap F7",
                     "80 expect messages 0"},
                    "rename:pair.rep@2:kill"),
            -1);
  ASSERT_NE(Held().second, fresh.second) << "both saves start where the game stood alike";
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_NE(Held().first, fresh.first);
  EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{});
}

// A record of the version before acted where a hidden file of its save was missing, or where
// no kept file could disagree with it: a save stopped after its first rename, its first kept file
// gone and a line's prints swapped, was taken for whole and its new files deleted, the pair left
// mixed for good; and so was a first save's whose recording's earlier print was a copy of its new
// one. Another user's record let F8 play such a mix.
TEST_F(SavedPairs, ARecordWithoutAChecksumActsOnlyWhereItsOwnSaveCouldHaveLeftTheFolder) {
  const std::string none = "n 0 0 0 0", removing = "unlink:.quor-*record*:kill";
  // How the save is stopped, whether the pair stood before it, and which of its kept files are
  // gone (not kept yet, or removed after the renames, as the version before removed them before
  // its record): every stop of a save of the pair, and of a first save.
  const std::vector<std::tuple<std::string, bool, std::string>> stops{
      {"rename:pair.sar:kill", true, "01"}, {"rename:pair.sar:kill", true, "1"},
      {"rename:pair.sar:kill", true, ""},   {"rename:pair.rep:kill", true, ""},
      {removing, true, ""},                 {removing, true, "0"},
      {removing, true, "01"},               {"rename:pair.sar:kill", false, ""},
      {"rename:pair.rep:kill", false, ""},  {removing, false, ""}};
  for (const auto& [kill, stood, keptGone] : stops) {
    PutEarlierBack();
    if (!stood) {
      ASSERT_EQ(unlink(dir.File("pair.rep").c_str()) | unlink(dir.File("pair.sar").c_str()), 0);
    }
    const Pair before = Held();
    ASSERT_EQ(SaveReplayInGame(dir.Path(), 40, 0, kill), -1) << kill;
    const std::string record = RecordIn(dir);
    std::string id, role;
    platform::save_names::Parse(record.substr(record.rfind('/') + 1), id, role);
    for (const char k : keptGone)
      unlink(dir.File(platform::save_names::Make(id, std::string("kept") + k)).c_str());
    // The pair and what its save left beside it.
    const auto files = [&, id = id] {
      std::map<std::string, std::vector<uint8_t>> held;
      for (const std::string& name : dir.Names())
        if (name.rfind("pair.", 0) == 0 || name.find(id) != std::string::npos)
          held[name] = ReadBytes(dir.File(name));
      return held;
    };
    const std::map<std::string, std::vector<uint8_t>> left = files();
    const std::vector<std::vector<std::string>> prints{
        {BytewisePrint(fresh.second), stood ? BytewisePrint(earlier.second) : none},
        {BytewisePrint(fresh.first), stood ? BytewisePrint(earlier.first) : none}};
    // Each row: one of the hidden files gone, or none; and a line's prints changed, or none.
    std::vector<std::string> gone{""};
    for (const auto& [name, bytes] : left)
      if (name.find("-new") != std::string::npos || name.find("-kept") != std::string::npos)
        gone.push_back(name);
    for (const bool others : {false, geteuid() == 0}) {
      for (const std::string& missing : gone)
        for (int change = 0; change < 5; ++change) {
          // None, then each line's prints swapped and its earlier one a copy of its new one.
          std::vector<std::vector<std::string>> lines = prints;
          const size_t at = change > 2;
          if (change % 2) std::swap(lines[at][0], lines[at][1]);
          if (change && change % 2 == 0) lines[at][1] = lines[at][0];
          const std::string damage =
              missing +
              (change ? (change % 2 ? " swapped " : " copied ") + std::to_string(at) : "");
          for (const auto& [name, bytes] : files()) unlink(dir.File(name).c_str());
          for (const auto& [name, bytes] : left)
            if (name != missing) WriteBytes(dir.File(name), bytes);
          const std::string text = UnsealedRecord(lines[0][0] + " " + lines[0][1],
                                                  lines[1][0] + " " + lines[1][1]);
          WriteBytes(record, {text.begin(), text.end()});
          if (others) Own(kOther, {record});
          const std::map<std::string, std::vector<uint8_t>> was = files();
          const Pair then = Held();
          host.messageBoxes.clear();
          director->StartReplayFromFile(dir.File("pair.rep"), false);
          const std::string row = kill + " " + keptGone + (stood ? "" : " first") + " " + damage +
                                  (others ? " others'" : "");
          // Held back, nothing changes and the box says why; else the pair is whole and played (or
          // found to lack a file), nothing of the player's save left beside it.
          const bool held = std::any_of(
              host.messageBoxes.begin(), host.messageBoxes.end(),
              [](const auto& box) { return box.text.find("does not exist") == std::string::npos; });
          EXPECT_TRUE(!(held || others) || files() == was) << row;
          if (held) {
            const std::string& said = host.messageBoxes[0].text;
            EXPECT_TRUE(
                said.find("is damaged") != std::string::npos ||
                (others && said.find("only that user's game can finish it") != std::string::npos))
                << row << said;
            EXPECT_TRUE(others || !damage.empty()) << row;
          } else {
            // One whose save left nothing beside it goes, and its names stay as they are.
            const bool nothingLeft =
                was.size() - was.count("pair.rep") - was.count("pair.sar") == 1;
            EXPECT_TRUE(Held() == before || Held() == fresh || (nothingLeft && Held() == then))
                << row;
            EXPECT_TRUE(others || HiddenNames(dir).empty()) << row;
          }
        }
    }
    for (const std::string& name : HiddenNames(dir)) unlink(dir.File(name).c_str());
  }

  // A settle killed between its removals of such a record's files (new0, kept0, new1, kept1,
  // then the record) left what no stop of its save leaves, and every F8 held the pair for good;
  // so did its save's own failure (the second rename failing), killed as it put the first file
  // back or as it removed what was left. Each stop, settled by a game killed at each removal,
  // then plays whole.
  const std::string text =
      UnsealedRecord(BytewisePrint(fresh.second) + " " + BytewisePrint(earlier.second),
                     BytewisePrint(fresh.first) + " " + BytewisePrint(earlier.first));
  for (const std::string& save : std::vector<std::string>{
           "rename:pair.sar:kill", "rename:pair.rep:kill",
           "rename:pair.rep:fail=5,rename:pair.sar@2:kill", "rename:pair.rep:fail=5," + removing})
    for (const std::string settle : {"", "record*", "-new0~*", "-kept0~*", "-new1~*", "-kept1~*"}) {
      PutEarlierBack();
      ASSERT_EQ(SaveReplayInGame(dir.Path(), 40, 0, save), -1) << save;
      WriteBytes(RecordIn(dir), {text.begin(), text.end()});
      if (!settle.empty()) {
        EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, "unlink:.quor-*" + settle + ":kill"), -1)
            << settle;
      }
      host.messageBoxes.clear();
      director->StartReplayFromFile(dir.File("pair.rep"), false);
      EXPECT_EQ(host.messageBoxes.size(), 0u) << save << " " << settle;
      EXPECT_TRUE(Whole()) << save << " " << settle;
      EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{}) << save << " " << settle;
    }
}

// Every file the game read was opened again through /proc/self/fd: where /proc is not mounted
// (a chroot, a sandbox), the game said its first picture did not exist and ended, a lock file a
// dead game left cost a save five seconds and "another game is saving", and the record of a
// pair's save killed between its renames was taken for gone, and F8 played the mixed pair.
// Here /proc goes as the game opens its first picture, once the sanitizers have read it.
TEST_F(SavedPairs, TheGameNeedsNoProc) {
  if (geteuid() != 0) GTEST_SKIP() << "a mount namespace of its own takes root";
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  WriteBytes(dir.File(platform::save_names::FolderLockName()), {});
  std::string output;
  EXPECT_EQ(RunGame(dir.Path(),
                    {"10 answer keep.sav", "10 tap F5", "20 answer keep.sav", "20 tap F6",
                     "30 answer pair.rep", "30 tap F8", "40 expect messages 0"},
                    "open:*.bmp@1:hold=go", &output,
                    {"/usr/bin/env", "ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0",
                     "/usr/bin/unshare", "-m", "/bin/sh", "-c",
                     "\"$@\" & until [ -e go.held ]; do sleep 0.05; done; "
                     "mount -t tmpfs none /proc && touch go && wait $!",
                     "sh"}),
            0)
      << output;
  EXPECT_EQ(Held(), fresh);
  EXPECT_TRUE(platform::FileExists(dir.File("keep.sav")));
}

// Where the rename that was to put the earlier start state back failed too, that file was
// left only under its hidden kept name, which the next save deleted as abandoned: the mixed
// pair stayed for good. Then the next save finished the save the player was told had failed,
// and the earlier replay was gone.
TEST_F(SavedPairs, AFailedSaveIsPutBackByTheNextSaveAndNeverFinished) {
  std::string output;
  const std::string faults =
      std::string("rename:pair.rep") + kFailWithEio + ",rename:pair.sar@2" + kFailWithEio;
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 1, faults, &output), 0) << output;
  const std::string whole =
      "holds the new file; the next save there makes it whole, with the new files or the "
      "earlier ones .";
  EXPECT_NE(output.find(whole), std::string::npos) << output;
  EXPECT_FALSE(Whole()) << "the putting back did not fail";
  ASSERT_TRUE(SaveGameFile(dir.File("next.sav")));
  EXPECT_EQ(Held(), earlier);
  EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{});

  // A disk turned read-only between the renames: the box said the earlier files would be put
  // back, and the next save finished the new pair instead; and where the disk's journal lost
  // the first rename too, "puts the rest of it in place" was untrue.
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 1, "rename:pair.rep:readonly", &output), 0) << output;
  EXPECT_NE(output.find("Now only \"" + dir.File("pair.sar") + "\" " + whole), std::string::npos)
      << output;
  ASSERT_TRUE(SaveGameFile(dir.File("next.sav")));
  EXPECT_EQ(Held(), fresh);
  EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{});
}

// A record whose settle could not end (the folder flush before its removal failed, or the
// one after) stayed while the save that ran the settle went on; a later settle took that
// save's start state, of the same bytes, for the one the record had placed, and put the
// earlier one back beside the later recording.
TEST_F(SavedPairs, ARecordIsSettledOnceAndNeverUndoesALaterSave) {
  ASSERT_EQ(mkdir(dir.File("later").c_str(), 0700), 0);
  ASSERT_EQ(SaveReplayInGame(dir.File("later"), 30, 0, ""), 0);
  const Pair later = Held("later");
  ASSERT_EQ(later.second, fresh.second);
  ASSERT_EQ(mkdir(dir.File("second").c_str(), 0700), 0);
  for (const char* flush : {"fsync:folder@2:fail=5", "fsync:folder@3:fail=5"}) {
    PutEarlierBack();
    std::string output;
    EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.sar:kill"), -1);
    EXPECT_EQ(SaveReplayInGame(dir.File("second"), 30, 1, flush, &output, dir.File("pair.rep")), 0)
        << output;
    EXPECT_NE(output.find("a save cut short there could not be cleared up (Input/output error)"),
              std::string::npos)
        << flush << output;
    EXPECT_EQ(Held(), earlier) << flush;
    EXPECT_EQ(SaveReplayInGame(dir.File("second"), 30, 0, "", &output, dir.File("pair.rep")), 0)
        << output;
    EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, "", &output), 0) << output;
    EXPECT_EQ(Held(), later) << flush;
  }
}

// The record told files by their inode numbers, which a copy of the folder (a backup put
// back, a move to another disk) or a remount gives anew: the settle found nothing of the
// save in place, deleted its new recording and F8 played the mixed pair for good.
TEST_F(SavedPairs, AReplaySaveKilledBetweenItsRenamesIsWholeInACopyOfItsFolder) {
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  ASSERT_EQ(std::system(("cd '" + dir.Path() + "' && mkdir copy && cp -a pair.rep pair.sar " +
                         ".quor-* copy/")
                            .c_str()),
            0);
  director->StartReplayFromFile(dir.File("copy/pair.rep"), false);
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_EQ(Held("copy"), fresh);
  EXPECT_EQ(dir.Names("copy"), (std::vector<std::string>{"pair.rep", "pair.sar"}));
}

// Locks were taken on descriptors open for reading, which NFS refuses, and the save wrote
// through another descriptor than the one its lock was on, which an SMB share refuses: an
// interrupted save was never settled (and F8 played its mixed pair), or no save was made at
// all. Where no lock works at all, a save went on all the same, its folder held by files
// that a stopped game kept for two minutes; now it changes nothing and says why, and F8
// still plays a whole pair there.
TEST_F(SavedPairs, AnInterruptedSaveIsSettledWhereLocksFailAsOnNetworkFileSystems) {
  for (const char* locks : {"lock:readonly:fail=9", "lock:all:mandatory"}) {
    PutEarlierBack();
    std::string output;
    EXPECT_EQ(
        SaveReplayInGame(dir.Path(), 40, 0, locks + std::string(",rename:pair.rep:kill"), &output),
        -1)
        << locks << output;
    EXPECT_FALSE(Whole()) << locks;
    EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, locks, &output), 0) << locks << output;
    EXPECT_EQ(Held(), fresh) << locks;
    EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{}) << locks;
  }
  const std::string noLocks = "lock:all:fail=37";
  WriteBytes(dir.File("pair.rep"), fresh.first);
  WriteBytes(dir.File("pair.sar"), fresh.second);
  // The lock files made where no lock could be had stay, empty: another computer's game, whose
  // locks work, may hold them.
  std::vector<std::string> before = dir.Names();
  before.insert(before.begin(), {platform::save_names::FolderLockName(),
                                 platform::save_names::RunLockName()});
  std::string output;
  for (const std::vector<std::string>& save :
       {std::vector<std::string>{"10 answer keep.sav", "10 tap F5", "20 expect messages 1"},
        SaveReplayScript(40, 1, "pair.rep")}) {
    EXPECT_EQ(RunGame(dir.Path(), save, noLocks, &output), 0) << output;
    EXPECT_NE(output.find("this folder's file system gives no locks: save in a folder on this "
                          "computer"),
              std::string::npos)
        << output;
    EXPECT_EQ(dir.Names(), before);
  }
  EXPECT_EQ(Held(), fresh);
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, noLocks, &output), 0) << output;
  // Where the listing that confirms the read fails, whether another game saved meanwhile cannot
  // be told.
  const std::string listing = "readdir:" + platform::NameOf(dir.Path()) + "@2:fail=5";
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, noLocks + "," + listing, &output), 0) << output;
  EXPECT_NE(output.find("cannot be told (Input/output error)"), std::string::npos) << output;
}

// Two games saving one pair at once left the start state of one beside the recording of the
// other, and F8 read the pair while a game was between its two renames.
TEST_F(SavedPairs, SavesOfOnePairTakeTurnsAndAReplayWaitsForThem) {
  testing_support::ProvideGameFiles(dir.Path());
  testing_support::FaultedRun first(
      {QUOR_BINARY_DIR "/quor_headless", "--do", "10 tap F1", "--do", "50 tap F2", "--do",
       "60 answer pair.rep", "--do", "60 tap F7", "--do", "70 expect messages 0"},
      "rename:pair.rep:hold=" + dir.File("go"), dir.Path());
  ASSERT_TRUE(WaitUntilHeld(dir.File("go")));
  ASSERT_FALSE(Whole()) << "the first game is not between its renames";

  director->StartReplayFromFile(dir.File("pair.rep"), false);
  EXPECT_EQ(director->replaying, 0);
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_NE(host.messageBoxes[0].text.find("another game is saving in the same folder: try again "
                                           "in a moment"),
            std::string::npos);
  ASSERT_EQ(mkdir(dir.File("second").c_str(), 0700), 0);
  std::string output;
  EXPECT_EQ(SaveReplayInGame(dir.File("second"), 70, 1, "", &output, dir.File("pair.rep")), 0)
      << output;
  EXPECT_NE(output.find("another game is saving"), std::string::npos) << output;

  WriteBytes(dir.File("go"), {});
  EXPECT_EQ(first.Wait(), 0) << first.Output();
  EXPECT_EQ(Held(), fresh);
  EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{});
}

// The folder's flush was never looked at: where the disk refused it, F5 said nothing, and a
// pair save went on to its renames with its record and kept files not known to be on the
// disk.
TEST_F(SavedPairs, AFlushTheDiskRefusesFailsTheSaveOrSaysItMayNotLast) {
  const std::vector<std::string> save{"10 answer keep.sav", "10 tap F5", "20 expect messages 1"};
  std::string output;
  EXPECT_EQ(RunGame(dir.Path(), save, "fsync:file:fail=5", &output), 0) << output;
  EXPECT_NE(output.find("could not be saved to"), std::string::npos) << output;
  EXPECT_FALSE(platform::FileExists(dir.File("keep.sav")));
  EXPECT_EQ(RunGame(dir.Path(), save, "fsync:folder:fail=5", &output), 0) << output;
  EXPECT_NE(output.find("may not survive a power loss (Input/output error)"), std::string::npos)
      << output;
  EXPECT_TRUE(platform::FileExists(dir.File("keep.sav")));

  ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0700), 0);
  PutEarlierBack("sub");
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 1, "fsync:folder:fail=5", &output, "sub/pair.rep"), 0)
      << output;
  EXPECT_NE(output.find("could not be saved to"), std::string::npos) << output;
  EXPECT_EQ(Held("sub"), earlier);
  EXPECT_EQ(dir.Names("sub"), (std::vector<std::string>{"pair.rep", "pair.sar"}));
}

// Every flush of the save path could be left out, or come after its rename, and every test
// still passed: the new files', the record's, a kept copy's, the folder's after the renames,
// after a settle and after files were put back.
TEST_F(SavedPairs, EachNewFileIsOnTheDiskBeforeItsNameAndEachNameBeforeTheSaveEnds) {
  const std::string log = dir.File("calls.log"), logged = "log:" + log;
  WriteBytes(log, {});
  ASSERT_EQ(chmod(log.c_str(), 0666), 0);
  ASSERT_EQ(RunGame(dir.Path(), {"10 answer keep.sav", "10 tap F5", "20 expect messages 0"},
                    logged),
            0);
  ASSERT_EQ(SaveReplayInGame(dir.Path(), 40, 0, logged), 0);
  ASSERT_EQ(Held(), fresh);
  // A save whose earlier files are put back, and one killed half way that F8 finishes.
  PutEarlierBack();
  ASSERT_EQ(SaveReplayInGame(dir.Path(), 40, 1, logged + ",rename:pair.rep:fail=5"), 0);
  ASSERT_EQ(Held(), earlier);
  ASSERT_EQ(SaveReplayInGame(dir.Path(), 40, 0, logged + ",rename:pair.rep:kill"), -1);
  ASSERT_EQ(PlayReplayInGame(dir.Path(), 0, logged), 0);
  ASSERT_EQ(Held(), fresh);
  // Earlier files that no hard link may keep (another user's that the player may not write)
  // are kept as copies.
  if (NoOtherUser(dir).empty()) {
    const std::string open = OpenFolder(dir, "open", 0777);
    PutEarlierBack("open");
    Own(kOther, {open + "/pair.rep", open + "/pair.sar"});
    ASSERT_EQ(SaveReplayInGame(open, 40, 0, logged, nullptr, "pair.rep", AsUser(kPlayer)), 0);
    ASSERT_EQ(Held("open"), fresh);
  }

  std::vector<std::string> calls;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) calls.push_back(line);
  auto visibleRename = [&](size_t i, std::string& from) {
    std::istringstream call(calls[i]);
    std::string what, to;
    call >> what >> from >> to;
    return what == "rename" && to.rfind(".quor-", 0) != 0;
  };
  auto isFolderFlush = [](const std::string& c) { return c.rfind("fsync-folder ", 0) == 0; };
  int renames = 0;
  for (size_t i = 0; i < calls.size(); ++i) {
    std::string from;
    if (!visibleRename(i, from)) continue;
    ++renames;
    // A new file (not an earlier one put back) is on the disk before its name.
    const auto begin = calls.begin(), at = begin + long(i);
    if (std::find(begin, at, "create " + from) != at) {
      EXPECT_NE(std::find(begin, at, "fsync " + from), at) << calls[i] << ": named before its flush";
    }
    // Before the next save flushes a file of its own.
    const auto after = std::find_if(at, calls.end(), [&](const std::string& c) {
      return isFolderFlush(c) || c.rfind("fsync ", 0) == 0;
    });
    EXPECT_TRUE(after != calls.end() && isFolderFlush(*after))
        << calls[i] << ": not flushed after its rename";
  }
  EXPECT_GE(renames, 12);
  // Every file a save makes (its new files, a record, spare copies) is on the disk before the
  // save's first rename, and where it makes several, so are their names.
  for (size_t c = 0; c < calls.size(); ++c) {
    if (calls[c].rfind("create ", 0) != 0) continue;
    size_t first = c + 1;
    std::string from;
    while (first < calls.size() && !visibleRename(first, from)) ++first;
    if (first == calls.size() || "create " + from != calls[c]) continue;
    const auto end = calls.begin() + long(first);
    bool several = false;
    for (size_t k = c; k < first; ++k) {
      if (calls[k].rfind("create ", 0) != 0) continue;
      several = several || k != c;
      EXPECT_NE(std::find(calls.begin() + long(k), end, "fsync " + calls[k].substr(7)), end)
          << calls[k] << ": not on the disk before " << calls[first];
    }
    if (several) {
      EXPECT_TRUE(isFolderFlush(calls[first - 1])) << calls[first];
    }
  }
}

// Telling a pair's files apart by their size alone takes one recording for another of the
// same length.
TEST_F(SavedPairs, RecordingsOfOneLengthAreToldApartByWhatTheyHold) {
  ASSERT_EQ(RunGame(dir.Path(),
                    {"12 tap F1", "22 tap Right", "52 tap F2", "60 answer pair.rep", "60 tap F7",
                     "70 expect messages 0"},
                    ""),
            0);
  const Pair keyed = Held();
  ASSERT_EQ(keyed.first.size(), fresh.first.size());
  ASSERT_NE(keyed.first, fresh.first);
  ASSERT_NE(keyed.second, fresh.second);
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_EQ(Held(), fresh);
}

// A name of the kind the game's hidden files had was taken for one of them: the dialog
// refused it, and the next save deleted a player's ".quor-2024-backup"; a temporary given an
// unreadable save's mode just before a kill, and a kept file whose name the player changed
// after a kill, stayed for good.
TEST_F(SavedPairs, NothingHiddenStaysAndNoNameOfThePlayersIsTakenForTheGames) {
  const std::vector<std::string> players{".quor-0-saves1", ".quor-1-abcdef", ".quor-12-Level4",
                                         ".quor-2024-backup"};
  host.AnswerFileDialog(dir.File(players[1]));
  director->RequestSaveDialog();
  director->DoPendingSave();
  EXPECT_TRUE(host.dialogRefusals.empty());
  for (const std::string& name : players) WriteBytes(dir.File(name), {5});

  WriteBytes(dir.File("own.sav"), {1});
  ASSERT_EQ(chmod(dir.File("own.sav").c_str(), 0), 0);
  EXPECT_EQ(RunGame(dir.Path(), {"10 answer own.sav", "10 tap F5", "20 expect messages 0"},
                    "rename:own.sav:kill"),
            -1);
  // What the game keeps for itself is no name for a save.
  std::vector<std::string> left;
  for (const std::string& name : HiddenNames(dir))
    if (std::find(players.begin(), players.end(), name) == players.end()) left.push_back(name);
  ASSERT_FALSE(left.empty());
  host.AnswerFileDialog(dir.File(left[0]));
  director->RequestSaveDialog();
  director->DoPendingSave();
  ASSERT_EQ(host.dialogRefusals.size(), 1u);
  EXPECT_NE(host.dialogRefusals[0].text.find("the game keeps for its own files"),
            std::string::npos);

  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  WriteBytes(dir.File("pair.sar"), {9});
  {
    testing_support::OrdinaryUser user;
    ASSERT_TRUE(SaveGameFile(dir.File("next.sav")));
  }
  EXPECT_EQ(HiddenNames(dir), players);
  EXPECT_EQ(ReadBytes(dir.File("pair.sar")), (std::vector<uint8_t>{9}));
  for (const std::string& name : players) EXPECT_EQ(ReadBytes(dir.File(name)).size(), 1u) << name;

  // Hidden files of the shapes of earlier versions, which no released game wrote, are the
  // player's own: a record of such a shape (a copied folder, a save pack) made a key delete
  // the files it named, and a save of the player's with a record's name was deleted.
  WriteBytes(dir.File("keep.sav"), {1, 2});
  WriteBytes(dir.File("notes.txt"), {3});
  const std::string keep = dir.File("keep.sav"), notes = dir.File("notes.txt");
  auto print = [](const std::vector<uint8_t>& bytes) { return BytewisePrint(bytes) + "\n"; };
  const std::string earlierShape =
      "quor save record 2\n2\n8:keep.sav\n14:.quor-7-abcdeA\n0:\n" + print({1, 2}) +
      "n 0 0 0 0\n9:notes.txt\n14:.quor-7-abcdeB\n19:.quor-7-abcdeB-kept\n" + print({4}) +
      print({3}) + "end\n";
  WriteBytes(dir.File(".quor-7-abcdef-record"), {earlierShape.begin(), earlierShape.end()});
  ASSERT_TRUE(SaveGameFile(dir.File(".quor-1-abcdef-record")));
  const std::vector<uint8_t> saved = ReadBytes(dir.File(".quor-1-abcdef-record"));
  PutEarlierBack();
  EXPECT_EQ(RunGame(dir.Path(), {"10 answer next.sav", "10 tap F5", "20 expect messages 0"}, ""),
            0);
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  EXPECT_EQ(ReadBytes(keep), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(ReadBytes(notes), (std::vector<uint8_t>{3}));
  EXPECT_EQ(ReadBytes(dir.File(".quor-1-abcdef-record")), saved);
  EXPECT_EQ(ReadBytes(dir.File(".quor-7-abcdef-record")).size(), earlierShape.size());

  // Another user's hidden file, of a save their game is making, is theirs to remove.
  if (geteuid() != 0) return;
  const std::string theirs = dir.File(platform::save_names::Make("7-abcdef", "new0"));
  WriteBytes(theirs, {1});
  Own(kOther, {theirs});
  ASSERT_TRUE(SaveGameFile(dir.File("next.sav")));
  EXPECT_TRUE(platform::FileExists(theirs));
}

// F8 dropped what the settle said: a pair it could not make whole (a folder it may not
// change, another user's interrupted save) was played mixed without a word.
TEST_F(SavedPairs, APairThatCannotBeMadeWholeHereIsNotPlayed) {
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
  {
    testing_support::OrdinaryUser user;
    director->StartReplayFromFile(dir.File("pair.rep"), false);
  }
  ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
  EXPECT_EQ(director->replaying, 0);
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_NE(host.messageBoxes[0].text.find("its save was cut short, and only a user who may "
                                           "write its folder can finish it"),
            std::string::npos)
      << host.messageBoxes[0].text;
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  EXPECT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(Held(), fresh);

  // What no wait clears was met with "try again in a moment", and a folder the player may
  // write but not list with "Permission denied" alone, then with "ask whoever owns it", though
  // the player owned it.
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  ASSERT_EQ(chmod(RecordIn(dir).c_str(), 0), 0);
  ASSERT_EQ(mkdir(dir.File("unlisted").c_str(), 0300), 0);
  {
    testing_support::OrdinaryUser user;
    director->StartReplayFromFile(dir.File("pair.rep"), false);
    EXPECT_FALSE(SaveGameFile(dir.File("unlisted/x.sav")));
    director->StartReplayFromFile(dir.File("unlisted/x.rep"), false);
  }
  ASSERT_EQ(chmod(dir.File("unlisted").c_str(), 0700), 0);
  // A listing that fails part way tells no more.
  ASSERT_EQ(mkdir(dir.File("listed").c_str(), 0700), 0);
  std::string output;
  EXPECT_EQ(RunGame(dir.Path(), {"10 answer listed/x.sav", "10 tap F5", "20 expect messages 1"},
                    "readdir:listed:fail=5", &output),
            0)
      << output;
  EXPECT_NE(output.find("\": Input/output error ."), std::string::npos) << output;
  EXPECT_FALSE(platform::FileExists(dir.File("listed/x.sav")));
  // Nor does one that left out a record: nothing of its save is swept as left over.
  const std::vector<std::string> files = FilesOfRecord(dir, RecordIn(dir));
  EXPECT_EQ(RunGame(dir.Path(), {"10 answer keep.sav", "10 tap F5", "20 expect messages 1"},
                    "readdir:.quor-*record*:lose=5", &output),
            0)
      << output;
  EXPECT_EQ(FilesOfRecord(dir, RecordIn(dir)), files);
  ASSERT_EQ(host.messageBoxes.size(), 4u);
  EXPECT_NE(host.messageBoxes[1].text.find("cannot be read now (Permission denied): save your own "
                                           "recording under this name (F7) in its place ."),
            std::string::npos)
      << host.messageBoxes[1].text;
  // The folder is the player's own (the test's user's): they may make it readable, and F5, which
  // saves, may save elsewhere; F8 saves nothing.
  const std::string unlisted = "its folder \"" + dir.File("unlisted") +
                               "\", yours, cannot be listed (Permission denied): make it readable";
  EXPECT_NE(host.messageBoxes[2].text.find(unlisted + ", or save in another folder ."),
            std::string::npos)
      << host.messageBoxes[2].text;
  EXPECT_NE(host.messageBoxes[3].text.find(unlisted + " ."), std::string::npos)
      << host.messageBoxes[3].text;
}

// In a shared folder with the sticky bit, a failed save over another user's pair left hard
// links to that user's files, which neither the player nor a later save could remove; and it
// first copied their file whole, however large, filling the disk, before its rename failed.
TEST_F(SavedGames, AFailedSaveInASharedFolderLeavesNothingBehind) {
  if (const std::string why = NoOtherUser(dir); !why.empty()) GTEST_SKIP() << why;
  const std::string shared = dir.File("shared");
  ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
  ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
  ASSERT_EQ(chown(shared.c_str(), 65533, 65533), 0);
  for (const char* name : {"/pair.rep", "/pair.sar"}) {
    WriteBytes(shared + name, {7});
    ASSERT_EQ(chmod((shared + name).c_str(), 0666), 0);
    ASSERT_EQ(chown((shared + name).c_str(), 65534, 65534), 0);
  }
  const off_t large = off_t{8} << 30;
  if (truncate((shared + "/pair.rep").c_str(), large) != 0) GTEST_SKIP() << "no sparse files here";
  ASSERT_TRUE(SaveGameFile(StartRecordingStatePath()));
  CurrentGameNode->recordedKeyMasks.Add(1u);
  {
    // A save writes no more than the largest file it saves.
    struct rlimit limit, bounded;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    bounded = {512 << 20, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &bounded), 0);
    void (*before)(int) = std::signal(SIGXFSZ, SIG_IGN);
    testing_support::OrdinaryUser user;
    director->SaveReplayFile(shared + "/pair.rep");
    director->SaveReplayFile(shared + "/pair.rep");
    std::signal(SIGXFSZ, before);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ASSERT_EQ(host.messageBoxes.size(), 2u);
  for (const auto& box : host.messageBoxes)
    EXPECT_NE(box.text.find("pair.sar\", nobody's, may be replaced only by its owner in this "
                            "shared folder: save under another name"),
              std::string::npos)
        << box.text;
  EXPECT_EQ(dir.Names("shared"), (std::vector<std::string>{"pair.rep", "pair.sar"}));
  EXPECT_EQ(ReadBytes(shared + "/pair.sar"), (std::vector<uint8_t>{7}));
  struct stat st;
  ASSERT_EQ(stat((shared + "/pair.rep").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, large);

  // As a user other than root, a save refused said only "Permission denied", or sent the
  // player to whoever owns their own folder. Each says whose folder or file it is and what the
  // player can do; a file there that they may not replace is said so in place of asking.
  const std::string game = OpenFolder(dir, "game", 0777), own = dir.File("own"),
                    roots = dir.File("roots"), unlisted = dir.File("unlisted");
  for (const auto& [folder, mode] :
       std::vector<std::pair<std::string, mode_t>>{{own, 0555}, {roots, 0755}, {unlisted, 0333}}) {
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(chmod(folder.c_str(), mode), 0);
  }
  Own(kPlayer, {own, unlisted});
  WriteBytes(shared + "/roots.sav", {1});
  // A file there in a folder the player may not list was asked about before it was refused.
  WriteBytes(unlisted + "/x.sav", {1});
  const std::string denied = " (Permission denied): ";
  const std::vector<std::tuple<std::string, int, std::string>> refusals{
      {own + "/x.sav", 1,
       "its folder \"" + own + "\", yours, may not be written" + denied +
           "make it writable, or save in another folder ."},
      {roots + "/x.sav", 1,
       "its folder \"" + roots + "\", root's, may not be written" + denied +
           "save in another folder ."},
      {unlisted + "/x.sav", 0,
       "refused=\"Its folder \"" + unlisted + "\", yours, cannot be listed" + denied +
           "make it readable, or save in another folder.\""},
      {shared + "/roots.sav", 0,
       "refused=\"The file \"" + shared +
           "/roots.sav\", root's, may be "
           "replaced only by its owner in this shared folder: save under "
           "another name.\""}};
  for (const auto& [answer, boxes, words] : refusals) {
    std::string output;
    EXPECT_EQ(
        RunGame(game,
                {"10 answer " + answer, "10 tap F5", "20 expect messages " + std::to_string(boxes)},
                "", &output, AsUser(kPlayer)),
        0)
        << output;
    EXPECT_NE(output.find(words), std::string::npos) << output;
    EXPECT_EQ(output.find("whoever"), std::string::npos) << output;
  }
}

// The commit gave the temporary the earlier file's mode and then opened it to flush it, which
// a player's own write-only or unreadable save refused.
TEST_F(SavedGames, APlayersOwnSaveIsReplacedWhateverItsPermissionsAndKeepsThem) {
  testing_support::OrdinaryUser user;
  const struct Umask {
    mode_t before = umask(0);
    ~Umask() { umask(before); }
  } restored;
  for (mode_t mask : {restored.before, mode_t{077}, mode_t{002}}) {
    umask(mask);
    // A new one has the permissions the making of a file gives.
    std::remove(dir.File("own.sav").c_str());
    ASSERT_TRUE(SaveGameFile(dir.File("own.sav")));
    struct stat st;
    ASSERT_EQ(stat(dir.File("own.sav").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask) << std::oct << mask;
    for (mode_t mode : {0200, 0000, 0400, 0666}) {
      ASSERT_EQ(chmod(dir.File("own.sav").c_str(), mode), 0);
      EXPECT_TRUE(SaveGameFile(dir.File("own.sav"))) << std::oct << mode;
      ASSERT_EQ(stat(dir.File("own.sav").c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, mode) << std::oct << mask;
    }
    // A save's record, seen where its save was cut short, is readable by whoever may read
    // its folder.
    testing_support::TempDir cut;
    EXPECT_EQ(SaveReplayInGame(cut.Path(), 40, 0, "rename:pair.rep:kill"), -1);
    ASSERT_EQ(stat(RecordIn(cut).c_str(), &st), 0) << std::oct << mask;
    EXPECT_EQ(st.st_mode & 07777, 0644u) << std::oct << mask;
  }
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"own.sav"});
}

// argv run in a PID namespace of its own, as a sandboxed desktop app runs, under process id
// pid there.
std::vector<std::string> InPidNamespace(pid_t pid, std::vector<std::string> argv) {
  std::vector<std::string> command{"/usr/bin/unshare",
                                   "--pid",
                                   "--fork",
                                   "--kill-child",
                                   "--mount-proc",
                                   "/bin/sh",
                                   "-c",
                                   "echo $0 > /proc/sys/kernel/ns_last_pid && \"$@\"; exit $?",
                                   std::to_string(pid - 1)};
  command.insert(command.end(), argv.begin(), argv.end());
  return command;
}

std::vector<std::string> SaveInGame(const std::string& name) {
  return {QUOR_BINARY_DIR "/quor_headless",
          "--do",
          "10 answer " + name,
          "--do",
          "10 tap F5",
          "--do",
          "20 expect messages 0"};
}

// Temporaries were told abandoned by the process id in their names, which in a PID namespace
// (a sandboxed desktop app) names some other process or none outside: a killed save's
// temporary stayed while a game of the same id ran, and a game outside removed the live
// temporary of a game inside, which failed its save. A save outside now waits for the one
// inside to end.
// Whether this machine gives PID namespaces with a chosen process id; why not in why.
bool PidNamespaces(std::string& why) {
  testing_support::FaultedRun probe(InPidNamespace(4242, {"/bin/sh", "-c", "echo $$"}), "");
  why = "this machine gives no PID namespace with a chosen process id: ";
  const bool given = probe.Wait() == 0 && probe.Output() == "4242\n";
  why += probe.Output();
  return given;
}

TEST_F(SavedGames, ATemporaryIsAbandonedWhenNoRunningGameHoldsItWhateverItsProcessId) {
  std::string why;
  if (!PidNamespaces(why)) GTEST_SKIP() << why;
  testing_support::ProvideGameFiles(dir.Path());

  testing_support::FaultedRun killed(InPidNamespace(getpid(), SaveInGame("killed.sav")),
                                     "rename:killed.sav:kill");
  EXPECT_NE(killed.Wait(), 0);
  ASSERT_NE(HiddenNames(dir), std::vector<std::string>{}) << killed.Output();
  ASSERT_TRUE(SaveGameFile(dir.File("other.sav")));
  EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{});

  pid_t gone = 0;
  for (pid_t pid = 30000; pid > 300 && !gone; --pid)
    if (kill(pid, 0) != 0 && errno == ESRCH) gone = pid;
  testing_support::FaultedRun live(InPidNamespace(gone, SaveInGame("live.sav")),
                                   "rename:live.sav:hold=" + dir.File("go"));
  ASSERT_TRUE(WaitUntilHeld(dir.File("go")));
  ASSERT_NE(HiddenNames(dir), std::vector<std::string>{}) << live.Output();
  std::thread letGo([&] {
    usleep(300000);
    WriteBytes(dir.File("go"), {});
  });
  EXPECT_TRUE(SaveGameFile(dir.File("other.sav")));
  letGo.join();
  EXPECT_EQ(live.Wait(), 0) << live.Output();
  EXPECT_TRUE(platform::FileExists(dir.File("live.sav")));
  EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{});
}

// In a shared folder with the sticky bit, the lock file another user's game left there (run
// with umask 077, or readable to all on an NFS share that locks only through descriptors open
// for writing) let two of the player's games save one pair at once, mixing it, or had every
// save there say another game was saving, for good. One the player may not open for writing
// (left there by another hand) refuses the save, and says whose it is.
TEST_F(SavedPairs, LockFilesOthersLeftNeitherFreeNorBlockASharedFolder) {
  if (const std::string why = NoOtherUser(dir); !why.empty()) GTEST_SKIP() << why;
  const std::string shared = OpenFolder(dir, "shared", 01777),
                    second = OpenFolder(dir, "second", 0777),
                    leftover = shared + "/" + platform::save_names::FolderLockName();
  WriteBytes(leftover, {});
  ASSERT_EQ(chmod(leftover.c_str(), 0666), 0);
  Own(kOther, {leftover});
  std::string output;
  const std::vector<std::string> save{"10 answer own.sav", "10 tap F5", "20 expect messages 0"};
  EXPECT_EQ(RunGame(shared, save, "lock:readonly:fail=9", &output, AsUser(kPlayer)), 0) << output;

  testing_support::FaultedRun first(GameCommand(SaveReplayScript(40, 0, "pair.rep"),
                                                AsUser(kPlayer)),
                                    "rename:pair.rep:hold=" + second + "/go", shared);
  ASSERT_TRUE(WaitUntilHeld(second + "/go")) << first.Output();
  EXPECT_EQ(SaveReplayInGame(second, 40, 1, "", &output, shared + "/pair.rep", AsUser(kPlayer)),
            0)
      << output;
  EXPECT_NE(output.find("another game is saving"), std::string::npos) << output;
  WriteBytes(second + "/go", {});
  EXPECT_EQ(first.Wait(), 0) << first.Output();
  EXPECT_EQ(Held("shared"), fresh);

  // The dialog says so before it asks to replace a file, which it used to ask first.
  ASSERT_EQ(chmod(leftover.c_str(), 0644), 0);
  const std::vector<uint8_t> own = ReadBytes(shared + "/own.sav");
  EXPECT_EQ(
      RunGame(second, {"10 answer " + shared + "/own.sav", "10 tap F5", "20 expect messages 0"}, "",
              &output, AsUser(kPlayer)),
      0)
      << output;
  EXPECT_NE(output.find("refused=\"Its lock file \"" + leftover + "\", "), std::string::npos)
      << output;
  EXPECT_NE(output.find("'s, cannot be opened for writing"), std::string::npos) << output;
  EXPECT_EQ(ReadBytes(shared + "/own.sav"), own);
  // The game's own states are kept there all the same, as where no lock can be had.
  EXPECT_EQ(RunGame(shared, {"10 tap F1", "20 expect messages 0"}, "", &output, AsUser(kPlayer)), 0)
      << output;
}

// Two computers saving one pair in a shared folder mixed it: the folder's lock was taken on
// the folder itself, which a network share's client keeps to itself, so the game on the
// other computer never waited, and each was told its pair was saved. Either game may be the
// one on the other computer, the one held between its renames or the one that comes second.
TEST_F(SavedPairs, TwoComputersSavingOnePairInASharedFolderTakeTurns) {
  const std::string client = "net:client", go = dir.File("go");
  ASSERT_EQ(mkdir(dir.File("second").c_str(), 0700), 0);
  testing_support::ProvideGameFiles(dir.Path());
  for (bool heldIsElsewhere : {true, false}) {
    PutEarlierBack();
    unlink(go.c_str());
    unlink((go + ".held").c_str());
    testing_support::FaultedRun first(
        GameCommand(SaveReplayScript(40, 0, "pair.rep")),
        (heldIsElsewhere ? client + "," : "") + "rename:pair.rep:hold=" + go, dir.Path());
    ASSERT_TRUE(WaitUntilHeld(go)) << first.Output();
    std::string output;
    EXPECT_EQ(SaveReplayInGame(dir.File("second"), 30, 1, heldIsElsewhere ? "" : client, &output,
                               dir.File("pair.rep")),
              0)
        << output;
    EXPECT_NE(output.find("another game is saving in the same folder"), std::string::npos)
        << output;
    WriteBytes(go, {});
    EXPECT_EQ(first.Wait(), 0) << first.Output();
    EXPECT_EQ(Held(), fresh) << heldIsElsewhere;
    EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, client, &output), 0) << output;
  }
}

// The settle took a record it could not read (a failing disk, a later version's) for one of no
// use and deleted it, and F8 played the mixed pair for good; a save undone half way left the
// start state it put where none stood beside the earlier recording; a pair whose save the disk
// did not confirm was refused by F8 while the disk went on refusing.
TEST_F(SavedPairs, WhatFinishesAnInterruptedSaveIsKeptUntilItHasDoneSo) {
  std::string output;
  WriteBytes(dir.File("other.rep"), fresh.first);
  WriteBytes(dir.File("other.sar"), fresh.second);
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  // A record that could not be read held back every pair in its folder, and one that failed
  // to read took a file for one that holds neither pair and threw what finishes it away.
  const std::string unreadable = "read:.quor-*:fail=5";
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, unreadable, &output, {}, "other.rep"), 0) << output;
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, unreadable, &output), 0) << output;
  EXPECT_NE(output.find("cannot be read now (Input/output error)"), std::string::npos) << output;
  EXPECT_EQ(RunGame(dir.Path(), {"10 answer keep.sav", "10 tap F5", "20 expect messages 0"},
                    "read:pair.*@3:fail=5,read:.quor-*@3:fail=5", &output),
            0)
      << output;
  EXPECT_FALSE(Whole());
  const std::string record = RecordIn(dir);
  ASSERT_NE(record, "");
  std::vector<uint8_t> later = ReadBytes(record), kept = later;
  later[17] = '9';
  WriteBytes(record, later);
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, "", &output), 0) << output;
  EXPECT_NE(output.find("by a later version of the game"), std::string::npos) << output;
  EXPECT_FALSE(Whole());
  WriteBytes(record, kept);
  // A name whose read fails is not told by its time instead.
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, "read:pair.sar:fail=5", &output), 0) << output;
  EXPECT_FALSE(Whole());
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, "", &output), 0) << output;
  EXPECT_EQ(Held(), fresh);

  PutEarlierBack();
  ASSERT_EQ(unlink(dir.File("pair.sar").c_str()), 0);
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:fail=5,unlink:pair.sar:kill"),
            -1);
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_NE(host.messageBoxes[0].text.find("pair.sar\" does not exist"), std::string::npos)
      << host.messageBoxes[0].text;
  EXPECT_EQ(ReadBytes(dir.File("pair.rep")), earlier.first);

  PutEarlierBack();
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 1, "fsync:folder@3:fail=5", &output), 0) << output;
  EXPECT_NE(output.find("caption=\"Replay saved, not confirmed .\""), std::string::npos)
      << output;
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, "fsync:folder:fail=5", &output), 0) << output;
  EXPECT_EQ(Held(), fresh);
}

// F8 opened another user's record a second time, waiting for a writer where a pipe stood in
// its place by then; the settle read every byte a record named, a sparse file of terabytes
// included, at every key; and another user's record naming the player's pair in a shared
// folder refused every F8 of it, though that user could change none of its names.
TEST_F(SavedPairs, OtherUsersRecordsNeitherHoldNorSlowNorBlockAReplay) {
  if (const std::string why = NoOtherUser(dir); !why.empty()) GTEST_SKIP() << why;
  const std::vector<std::string> bounded{"/usr/bin/timeout", "120"};
  std::vector<std::string> player = bounded;
  for (const std::string& word : AsUser(kPlayer)) player.push_back(word);
  const std::string open = OpenFolder(dir, "open", 0777), mine = OpenFolder(dir, "mine", 0777);
  KillUsersSave("open", kOther);
  std::string output;
  EXPECT_EQ(PlayReplayInGame(mine, 1, "fifo:.quor-*record*@2", &output, player,
                             open + "/pair.rep"),
            0)
      << output;
  // Where the player's own save there would replace the pair, that is offered too (F7 only
  // after F1 and F2 where nothing is recorded); in a folder with the sticky bit, where it would
  // be refused, it is not. Its words named nobody, and offered F7 with nothing to save.
  const std::string other = platform::UserName(kOther);
  EXPECT_NE(output.find("its save, " + other +
                        "'s, was cut short, and only that user's game can "
                        "finish it: ask " +
                        other +
                        " to play it once, or record with F1 and F2, "
                        "then save your own recording under this name (F7) in its place ."),
            std::string::npos)
      << output;
  // Where no lock works, it was not said whose it is.
  EXPECT_EQ(PlayReplayInGame(mine, 1, "lock:all:fail=37", &output, player, open + "/pair.rep"), 0);
  EXPECT_NE(output.find("its save, " + other + "'s, was cut short, and this folder's file system "
                        "gives no locks, which finishing it needs: ask " +
                        other + " to play it on the computer that saved it ."),
            std::string::npos)
      << output;
  // Where a look at one of its names fails, what it holds cannot be told.
  EXPECT_EQ(PlayReplayInGame(mine, 1, "lstat:pair.sar:fail=5", &output, player, open + "/pair.rep"),
            0);
  EXPECT_NE(output.find("what it holds cannot be read now (Input/output error)"), std::string::npos)
      << output;
  const std::string sticky = OpenFolder(dir, "sticky", 01777);
  KillUsersSave("sticky", kOther);
  EXPECT_EQ(PlayReplayInGame(mine, 1, "", &output, player, sticky + "/pair.rep"), 0) << output;
  EXPECT_NE(
      output.find("only that user's game can finish it: ask " + other + " to play it once .\""),
      std::string::npos)
      << output;

  // Their save of a copy of the player's pair, stopped half way, whose record they put beside
  // the player's pair in a shared folder; the player's pair reads as half saved by it.
  const std::string shared = OpenFolder(dir, "shared", 01777);
  const std::string record = RecordIn(dir, "open");
  ASSERT_EQ(rename(record.c_str(), (shared + record.substr(record.rfind('/'))).c_str()), 0);
  WriteBytes(shared + "/pair.rep", earlier.first);
  WriteBytes(shared + "/pair.sar", ReadBytes(open + "/pair.sar"));
  Own(kPlayer, {shared + "/pair.rep", shared + "/pair.sar"});
  EXPECT_EQ(PlayReplayInGame(mine, 0, "", &output, player, shared + "/pair.rep"), 0) << output;
  // Where no lock can be had, too: the read was confirmed by counting every record again; and
  // a replay too large for one was called "being saved".
  EXPECT_EQ(PlayReplayInGame(mine, 0, "lock:all:fail=37", &output, player, shared + "/pair.rep"), 0)
      << output;
  ASSERT_EQ(truncate((shared + "/pair.rep").c_str(), off_t{300} << 20), 0);
  EXPECT_EQ(PlayReplayInGame(mine, 1, "lock:all:fail=37", &output, player, shared + "/pair.rep"),
            0);
  EXPECT_NE(output.find("pair.rep\" cannot be read (File too large)"), std::string::npos) << output;

  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  WriteBytes(dir.File("pair.rep"), {});
  if (truncate(dir.File("pair.rep").c_str(), off_t{4} << 40) != 0)
    GTEST_SKIP() << "this file system takes no sparse file of terabytes";
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, "", &output, bounded), 0) << output;
}

// A record that could not be read whole (its fstat failing after the open; cut short, a digit
// or a byte of a name changed, emptied, renamed to another pair's checks, a pipe or a folder
// at its name) was taken for one of a save that changed no name: the files that finish or
// undo its save went with it, and F8 played the mixed pair without a word, for good. And a
// record whose files were gone held its pair back for good, the F7 that replaces it included.
// A record listed but not opened this time (once, or as a share's client keeps a stale "no
// such file" for it), or not looked at, was taken for gone, and its files with it; one whose
// look failed was taken for root's, which in a shared folder counts for no file of the
// player's.
TEST_F(SavedPairs, ARecordThatCannotBeReadHoldsItsPairBackUntilItIsSavedAgain) {
  auto change = [](const std::string& record, const char* after, int by) {
    std::vector<uint8_t> bytes = ReadBytes(record);
    const std::string text(bytes.begin(), bytes.end());
    bytes[text.find(after, text.find('\n')) + std::strlen(after)] += by;
    WriteBytes(record, bytes);
  };
  auto renamed = [](const std::string& record) {
    const size_t slash = record.rfind('/');
    std::string id, role;
    platform::save_names::Parse(record.substr(slash + 1), id, role);
    role = platform::save_names::RecordRole({"other.sar", "other.rep"});
    const std::string to = record.substr(0, slash + 1) + platform::save_names::Make(id, role);
    EXPECT_EQ(rename(record.c_str(), to.c_str()), 0);
  };
  auto replaced = [](const std::string& record, bool folder) {
    EXPECT_EQ(unlink(record.c_str()), 0);
    EXPECT_EQ(folder ? mkdir(record.c_str(), 0700) : mkfifo(record.c_str(), 0600), 0);
  };
  using Damage = std::function<void(const std::string&)>;
  const Damage none = [](const std::string&) {};
  const std::string damaged = "what it left to finish it is damaged",
                    unread = "what it holds cannot be read now (";
  // What is done to it, the faults of the games that meet it, and what F8 says of it.
  const std::vector<std::tuple<const char*, std::string, Damage, std::string>> damages{
      {"fstat", "fstat:.quor-*record*:fail=5", none, unread + "Input/output error)"},
      {"cut", "", [](const std::string& r) { EXPECT_EQ(truncate(r.c_str(), 40), 0); }, damaged},
      {"digit", "", [&](const std::string& r) { change(r, " f ", 1); }, damaged},
      {"name", "", [&](const std::string& r) { change(r, "\n", -1); }, damaged},
      {"emptied", "", [](const std::string& r) { EXPECT_EQ(truncate(r.c_str(), 0), 0); },
       damaged},
      {"renamed", "", renamed, damaged},
      {"pipe", "", [&](const std::string& r) { replaced(r, false); }, unread + "Invalid argument)"},
      {"folder", "", [&](const std::string& r) { replaced(r, true); }, unread + "Is a directory)"},
      // Beside a damaged record of another save of the pair, a whole one finished its own.
      {"beside a damaged one", "",
       [&](const std::string& r) {
         std::string id, role;
         platform::save_names::Parse(r.substr(r.rfind('/') + 1), id, role);
         std::vector<uint8_t> text = ReadBytes(r);
         text.back() = '7';
         WriteBytes(dir.File(platform::save_names::Make(id + "b", role)), text);
         WriteBytes(dir.File(platform::save_names::Make(id + "b", "new1")), fresh.first);
       },
       damaged},
      {"files gone", "",
       [&](const std::string& r) {
         for (const std::string& name : FilesOfRecord(dir, r)) unlink(dir.File(name).c_str());
       },
       "what would finish it is gone"},
      {"opened at the third try", "open:.quor-*record*@2:fail=2", none,
       unread + "No such file or directory): try again in a moment"},
      {"never opened", "open:.quor-*record*:fail=2", none, unread + "No such file or directory)"},
      {"looked up as gone", "open:.quor-*record*:fail=2,lstat:.quor-*record*:fail=2", none,
       unread + "No such file or directory)"},
      {"not looked at", "lstat:.quor-*record*:fail=5", none, unread + "Input/output error)"},
      {"its name not looked at", "lstat:pair.sar:fail=5", none, unread + "Input/output error)"}};
  const Pair mixed{earlier.first, fresh.second};
  for (const auto& [what, faults, damage, says] : damages) {
    PutEarlierBack();
    ASSERT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1) << what;
    const std::string record = RecordIn(dir);
    const std::vector<std::string> files = FilesOfRecord(dir, record);
    damage(record);
    std::string output;
    EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, faults, &output), 0) << what << output;
    EXPECT_NE(output.find(says), std::string::npos) << output;
    EXPECT_NE(output.find("record with F1 and F2, then save your own recording under this name "
                          "(F7) in its place ."),
              std::string::npos)
        << output;
    // A save of another file goes on; one of the pair's files alone is refused.
    EXPECT_EQ(RunGame(dir.Path(),
                      {"10 answer keep.sav", "10 tap F5", "20 answer pair.sar", "20 tap F5",
                       "30 expect messages 1"},
                      faults, &output),
              0)
        << what << output;
    EXPECT_EQ(Held(), mixed) << what;
    if (std::string(what) != "files gone") {
      EXPECT_EQ(FilesOfRecord(dir, record), files) << what;
    }
    // Where only a look failed, the next that does not finishes the save.
    if (!faults.empty()) {
      EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, "", &output), 0) << what << output;
      EXPECT_EQ(Held(), fresh) << what;
    }
    // Saved again whole, it plays.
    EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "", &output), 0) << what << output;
    EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, "", &output), 0) << what << output;
    EXPECT_EQ(Held(), fresh) << what;
    EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{}) << what;
  }

  // Beside one held back so, a damaged record of the pair that goes (its new files all still
  // hidden) removed its files all the same: here its kept start state, the only one left.
  PutEarlierBack();
  ASSERT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  const std::string holder = RecordIn(dir);
  change(holder, " f ", 1);
  std::string id, role;
  platform::save_names::Parse(holder.substr(holder.rfind('/') + 1), id, role);
  const auto twins = [&, id = id](const char* hidden) {
    return dir.File(platform::save_names::Make(id + "b", hidden));
  };
  ASSERT_EQ(unlink(dir.File(platform::save_names::Make(id, "kept0")).c_str()), 0);
  WriteBytes(twins(role.c_str()), {'x'});
  WriteBytes(twins("new0"), fresh.second);
  WriteBytes(twins("new1"), fresh.first);
  WriteBytes(twins("kept0"), earlier.second);
  host.messageBoxes.clear();
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  EXPECT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(ReadBytes(twins("kept0")), earlier.second);

  if (const std::string why = NoOtherUser(dir); !why.empty()) GTEST_SKIP() << why;
  const std::string shared = OpenFolder(dir, "shared", 01777);
  Own(kOther, {shared});
  KillUsersSave("shared", kPlayer);
  std::string output;
  EXPECT_EQ(
      PlayReplayInGame(shared, 1, "lstat:.quor-*record*:fail=5", &output, AsUser(kPlayer)), 0)
      << output;
}

// A save that succeeded but could not remove its record left it; another user then saved
// the pair, of the same start state, and the next F8 took their pair for that save half
// done and deleted their start state.
TEST_F(SavedPairs, ARecordThatOutlivedItsSaveChangesNoLaterSave) {
  ASSERT_EQ(unlink(dir.File("pair.rep").c_str()), 0);
  ASSERT_EQ(unlink(dir.File("pair.sar").c_str()), 0);
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "unlink:.quor-*record*:kill"), -1);
  ASSERT_NE(RecordIn(dir), "");
  ASSERT_EQ(Held(), fresh);
  WriteBytes(dir.File("pair.rep"), earlier.first);
  std::string output;
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 0, "", &output), 0) << output;
  EXPECT_EQ(Held(), Pair(earlier.first, fresh.second));
  EXPECT_EQ(HiddenNames(dir), std::vector<std::string>{});
}

// Each record had looks of its own, so a file named by many was read once for each: one F8
// opened a pair's recording once for every record beside it (other users' too), and records
// that nothing can finish each read two files of up to 256 MiB at every key. Then each key
// read them all again, unchanged as they were.
TEST_F(SavedPairs, AFileIsReadOnceAKeyHoweverManyRecordsNameIt) {
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  const std::string record = RecordIn(dir);
  for (const std::string& name : FilesOfRecord(dir, record)) unlink(dir.File(name).c_str());
  std::string id, role;
  platform::save_names::Parse(record.substr(record.rfind('/') + 1), id, role);
  // Each with files of its own that finish nothing: read whole, as their sizes are right. Past
  // 512 of them, what was read was forgotten all at once, and every key read them all again.
  std::vector<uint8_t> recording = fresh.first, state = earlier.second;
  recording[0] ^= 1;
  state[0] ^= 1;
  for (int i = 0; i < 1000; ++i) {
    const std::string copy = id + std::to_string(i);
    WriteBytes(dir.File(platform::save_names::Make(copy, role)), ReadBytes(record));
    WriteBytes(dir.File(platform::save_names::Make(copy, "new1")), recording);
    WriteBytes(dir.File(platform::save_names::Make(copy, "kept0")), state);
    if (geteuid() == 0 && i % 10 == 0)
      Own(kOther, {dir.File(platform::save_names::Make(copy, role))});
  }
  FolderWatch watch(dir.Path(), IN_OPEN);
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  int opens = 0, later = 0;
  for (const auto& [change, name] : watch.Events()) opens += name == "pair.rep";
  for (int key = 0; key < 4; ++key) {
    director->StartReplayFromFile(dir.File("pair.rep"), false);
    for (const auto& [change, name] : watch.Events()) {
      opens += name == "pair.rep";
      later += name.find("-new") != std::string::npos || name.find("-kept") != std::string::npos;
    }
  }
  EXPECT_EQ(host.messageBoxes.size(), 5u);
  EXPECT_EQ(opens, 1);
  EXPECT_EQ(later, 0);
}

// The game let go of its own locks: closing any descriptor of a file let go of the process's
// locks on it, and F6 of the game folder's lock file (by its name, a symbolic link or a hard
// link) did, as did an F7 whose earlier start state was a hard link to it: a second game then
// ran in the same folder. The lock is the open's own now: F6 finds no saved game there, and F7
// replaces the name, not the lock file.
TEST_F(SavedGames, TheGameNeverLetsGoOfItsOwnLocks) {
  testing_support::ProvideGameFiles(dir.Path());
  const std::string run = platform::save_names::RunLockName();
  WriteBytes(dir.File(run), {});
  ASSERT_EQ(chmod(dir.File(run).c_str(), 0666), 0);
  ASSERT_EQ(symlink(run.c_str(), dir.File("linked.sav").c_str()), 0);
  for (const char* hard : {"hard.sav", "lock.sar"})
    ASSERT_EQ(link(dir.File(run).c_str(), dir.File(hard).c_str()), 0);
  testing_support::FaultedRun first(
      GameCommand({"10 answer " + run, "10 tap F6", "20 answer linked.sav", "20 tap F6",
                   "30 answer hard.sav", "30 tap F6", "40 tap F1", "50 tap F2",
                   "60 answer lock.rep", "60 tap F7", "70 answer x.sav", "70 tap F5",
                   "80 expect messages 2"}),
      "rename:x.sav:hold=" + dir.File("go"), dir.Path());
  ASSERT_TRUE(WaitUntilHeld(dir.File("go"))) << first.Output();
  std::string output;
  EXPECT_NE(RunGame(dir.Path(), {"10 tap F1"}, "", &output), 0) << output;
  EXPECT_NE(output.find("Cannot create more than one Quor instance!"), std::string::npos) << output;
  WriteBytes(dir.File("go"), {});
  EXPECT_EQ(first.Wait(), 0) << first.Output();
  EXPECT_EQ(ReadBytes(dir.File("hard.sav")), std::vector<uint8_t>{});
  EXPECT_TRUE(platform::FileExists(dir.File("lock.rep")));
}

// Where a network share's client kept a stale "no such file" for the folder's lock file, a
// save tried to make it again without a pause, never giving up and never serving the window.
TEST_F(SavedGames, ALockFileAShareStillThinksMissingIsWaitedForAsABusyOne) {
  const std::string lock = platform::save_names::FolderLockName();
  WriteBytes(dir.File(lock), {});
  std::string output;
  EXPECT_EQ(RunGame(dir.Path(), {"10 answer keep.sav", "10 tap F5", "20 expect messages 1"},
                    "open:" + lock + ":fail=2", &output, {"/usr/bin/timeout", "-s", "KILL", "60"}),
            0)
      << output;
  EXPECT_NE(output.find("another game is saving in the same folder: try again in a moment"),
            std::string::npos)
      << output;
  EXPECT_FALSE(platform::FileExists(dir.File("keep.sav")));
  // A look at it that failed otherwise was told as another game's save too.
  EXPECT_EQ(RunGame(dir.Path(), {"10 answer keep.sav", "10 tap F5", "20 expect messages 1"},
                    "lstat:" + lock + ":fail=5", &output),
            0)
      << output;
  EXPECT_NE(output.find("keep.sav\": Input/output error ."), std::string::npos) << output;
}

// Where this computer's share gives no locks and another computer's does: F8 here listed the
// folder before the other game's save began, then read the pair between its renames and
// played the mix without a word; and this game removed the lock file it had made while the
// other game held it, so that a third game made another and saved at once, mixing the pair.
TEST_F(SavedPairs, AGameWithoutLocksNeitherReadsAcrossNorFreesAnotherComputersSave) {
  ASSERT_EQ(SaveReplayInGame(dir.Path(), 30, 0, ""), 0);
  const std::string freed = dir.File("freed"), read = dir.File("read"), go = dir.File("go");
  testing_support::FaultedRun noLocks(
      GameCommand({"10 answer pair.rep", "10 tap F8", "20 expect messages 1"}),
      "lock:all:fail=37,open:pair.rep:hold=" + read +
          ",unlink:" + platform::save_names::FolderLockName() + ":hold=" + freed,
      dir.Path());
  for (int wait = 0; wait < 12000 && !platform::FileExists(read + ".held") &&
                     !platform::FileExists(freed + ".held");
       ++wait)
    usleep(10000);
  for (const char* folder : {"second", "third"})
    ASSERT_EQ(mkdir(dir.File(folder).c_str(), 0700), 0);
  testing_support::ProvideGameFiles(dir.File("second"));
  testing_support::FaultedRun saving(GameCommand(SaveReplayScript(40, 0, dir.File("pair.rep"))),
                                     "rename:pair.rep:hold=" + go, dir.File("second"));
  ASSERT_TRUE(WaitUntilHeld(go)) << saving.Output();
  WriteBytes(read, {});
  WriteBytes(freed, {});
  EXPECT_EQ(noLocks.Wait(), 0) << noLocks.Output();
  EXPECT_NE(noLocks.Output().find("another game is saving it: try again in a moment"),
            std::string::npos)
      << noLocks.Output();
  std::string output;
  EXPECT_EQ(SaveReplayInGame(dir.File("third"), 30, 1, "", &output, dir.File("pair.rep")), 0)
      << output;
  EXPECT_NE(output.find("another game is saving in the same folder"), std::string::npos) << output;
  // A game without locks leaves a save under way alone: where it finished it, the saving game
  // told its player the save had failed.
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, "lock:all:fail=37", &output), 0) << output;
  EXPECT_NE(output.find("its save was cut short, and this folder's file system gives no locks"),
            std::string::npos)
      << output;
  WriteBytes(go, {});
  EXPECT_EQ(saving.Wait(), 0) << saving.Output();
  EXPECT_EQ(Held(), fresh);

  // A whole save made between its reads of the pair: no record names it by then, but the
  // recording it read is no longer there, though a share's client that answers from what it
  // kept says it is.
  const std::string between = dir.File("between");
  testing_support::FaultedRun reading(
      GameCommand({"10 answer pair.rep", "10 tap F8", "20 expect messages 1"}),
      "lock:all:fail=37,open:pair.sar@2:hold=" + between + ",stat:pair.rep:stale,stat:pair.sar:stale",
      dir.Path());
  ASSERT_TRUE(WaitUntilHeld(between)) << reading.Output();
  EXPECT_EQ(SaveReplayInGame(dir.File("third"), 30, 0, "", &output, dir.File("pair.rep")), 0)
      << output;
  WriteBytes(between, {});
  EXPECT_EQ(reading.Wait(), 0) << reading.Output();
}

// A lock taken on a lock file its holder had removed as it let go held nothing, and a save
// went on beside the game that held the file at that name by then: where the name showed
// another file, or where a network share's client still showed the removed one.
TEST_F(SavedGames, ALockOnALockFileRemovedMeanwhileHoldsNothing) {
  testing_support::ProvideGameFiles(dir.Path());
  const std::string name = platform::save_names::FolderLockName(), lock = dir.File(name),
                    go = dir.File("go");
  for (const std::string& stale : {std::string(), ",lstat:" + name + ":stale"}) {
    auto holder = std::make_unique<platform::LockFile>(lock, platform::LockFile::Wait::kNone);
    ASSERT_EQ(holder->Taken(), platform::LockFile::State::kHeld);
    unlink(go.c_str());
    unlink((go + ".held").c_str());
    testing_support::FaultedRun game(
        GameCommand({"10 answer x.sav", "10 tap F5", "20 expect messages 1"}),
        "lock:all@2:hold=" + go + stale, dir.Path());
    ASSERT_TRUE(WaitUntilHeld(go)) << game.Output();
    // Where the share shows no file gone, the file it locks stays linked elsewhere.
    if (stale.empty()) {
      ASSERT_EQ(link(lock.c_str(), dir.File("elsewhere").c_str()), 0);
    }
    holder.reset();
    const platform::LockFile next(lock, platform::LockFile::Wait::kNone);
    ASSERT_EQ(next.Taken(), platform::LockFile::State::kHeld);
    WriteBytes(go, {});
    EXPECT_EQ(game.Wait(), 0) << game.Output();
    EXPECT_NE(game.Output().find("another game is saving in the same folder"), std::string::npos)
        << game.Output();
    EXPECT_FALSE(platform::FileExists(dir.File("x.sav")));
  }

  // A game starting as the last one in its game folder ends: its lock, on the file that game
  // removed as it ended, is taken again at once, and the game runs.
  auto last = std::make_unique<platform::LockFile>(dir.File(platform::save_names::RunLockName()),
                                                   platform::LockFile::Wait::kNone);
  unlink(go.c_str());
  unlink((go + ".held").c_str());
  testing_support::FaultedRun starting(GameCommand({"10 expect messages 0"}),
                                       "lock:all@1:hold=" + go, dir.Path());
  ASSERT_TRUE(WaitUntilHeld(go)) << starting.Output();
  last.reset();
  WriteBytes(go, {});
  EXPECT_EQ(starting.Wait(), 0) << starting.Output();
}

// A whole saved game renamed over its name between the game's look at that name and its open
// (another game's save of it, or a share's client answering from what it kept) was refused as
// "cannot be read (Resource temporarily unavailable)".
TEST_F(SavedGames, AFileSavedWholeOverItsNameAsItIsOpenedIsRead) {
  ASSERT_EQ(RunGame(dir.Path(), {"10 answer x.sav", "10 tap F5", "20 expect messages 0"}, ""), 0);
  testing_support::FaultedRun game(
      GameCommand({"10 answer x.sav", "10 tap F6", "20 expect messages 0"}),
      "open:x.sav@1:hold=" + dir.File("go"), dir.Path());
  ASSERT_TRUE(WaitUntilHeld(dir.File("go"))) << game.Output();
  ASSERT_TRUE(testing_support::CopyBytes(dir.File("x.sav"), dir.File("copy")));
  ASSERT_EQ(rename(dir.File("copy").c_str(), dir.File("x.sav").c_str()), 0);
  WriteBytes(dir.File("go"), {});
  EXPECT_EQ(game.Wait(), 0) << game.Output();

  // So was a save whose earlier file was replaced so as it was read, to be told in its record.
  WriteBytes(dir.File("pair.sar"), {1, 2, 3});
  testing_support::FaultedRun saving(GameCommand(SaveReplayScript(30, 0, "pair.rep")),
                                     "open:pair.sar@1:hold=" + dir.File("saving"), dir.Path());
  ASSERT_TRUE(WaitUntilHeld(dir.File("saving"))) << saving.Output();
  WriteBytes(dir.File("copy"), {1, 2, 3});
  ASSERT_EQ(rename(dir.File("copy").c_str(), dir.File("pair.sar").c_str()), 0);
  WriteBytes(dir.File("saving"), {});
  EXPECT_EQ(saving.Wait(), 0) << saving.Output();
  EXPECT_NE(ReadBytes(dir.File("pair.sar")), (std::vector<uint8_t>{1, 2, 3}));
  // And one renamed over as it was kept, which the link finds on its way out, said "No such
  // file or directory".
  std::string output;
  EXPECT_EQ(RunGame(dir.Path(), SaveReplayScript(30, 0, "pair.rep"), "link:pair.sar@3:fail=2",
                    &output),
            0)
      << output;
}

// A lock file that another program held open against the game for a moment (a lease, as a file
// server exporting the folder takes) refused a save at once as though no lock could be had, and
// F8 read without the lock, leaving a save cut short unfinished. It is waited for; one held for
// the whole wait is said to be in use.
TEST_F(SavedPairs, ALockFileHeldOpenByAnotherProgramForAMomentIsWaitedFor) {
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  const std::string lock = dir.File(platform::save_names::FolderLockName());
  WriteBytes(lock, {});
  const int fd = open(lock.c_str(), O_RDONLY);
  if (fcntl(fd, F_SETLEASE, F_RDLCK) != 0) {
    close(fd);
    GTEST_SKIP() << "no lease here: " << std::strerror(errno);
  }
  // Its break is told to the lease's holder, this process, by a signal that would end it.
  const auto told = signal(SIGIO, SIG_IGN);
  EXPECT_FALSE(SaveGameFile(dir.File("x.sav")));
  std::thread letGo([&] {
    usleep(1000000);
    fcntl(fd, F_SETLEASE, F_UNLCK);
  });
  director->StartReplayFromFile(dir.File("pair.rep"), false);
  letGo.join();
  close(fd);
  signal(SIGIO, told);
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_NE(host.messageBoxes[0].text.find(
                "the folder's lock file is in use by another program: try again in a moment ."),
            std::string::npos)
      << host.messageBoxes[0].text;
  EXPECT_EQ(Held(), fresh);

  // An earlier file of a save held so was told as changing four times in a row, at once, and F8
  // of it said "Resource temporarily unavailable". Each waits, and says for what.
  std::vector<platform::WaitingFor> waits;
  platform::SetFolderWaitHandler([&](platform::FolderWait step, platform::WaitingFor what) {
    if (step == platform::FolderWait::kBegins) waits.push_back(what);
    return true;
  });
  signal(SIGIO, SIG_IGN);
  host.messageBoxes.clear();
  PutEarlierBack();
  // Held for the whole wait by F7, then let go within it by F7 and by F8.
  for (const auto& [key, letGo] : {std::pair{7, false}, {7, true}, {8, true}}) {
    const int held = open(dir.File("pair.sar").c_str(), O_RDONLY);
    ASSERT_EQ(fcntl(held, F_SETLEASE, F_WRLCK), 0) << std::strerror(errno);
    std::thread goes([&, letGo = letGo] {
      usleep(1000000);
      if (letGo) fcntl(held, F_SETLEASE, F_UNLCK);
    });
    if (key == 7) director->SaveReplayFile(dir.File("pair.rep"));
    if (key == 8) director->StartReplayFromFile(dir.File("pair.rep"), false);
    goes.join();
    close(held);
  }
  signal(SIGIO, told);
  platform::SetFolderWaitHandler(nullptr);
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_NE(host.messageBoxes[0].text.find(
                "another program has a file it replaces open: try again in a moment ."),
            std::string::npos)
      << host.messageBoxes[0].text;
  EXPECT_EQ(waits, std::vector<platform::WaitingFor>(3, platform::WaitingFor::kAnotherProgram));
  EXPECT_EQ(Held().second, ReadBytes(StartRecordingStatePath()));
}

// A pipe, a socket, a link or a folder at the name of a folder's lock file refused every save
// there in the system's bare words ("Invalid argument ."), naming neither that file nor what to
// do. F8 there reads the pair as where no lock can be had, without waiting for one. A new name
// passed the chooser, which closed, and a box after it said the save failed.
TEST_F(SavedPairs, ALockFileNameHoldingNoPlainFileIsNamedAndNeverWaitedFor) {
  const std::string lock = dir.File(platform::save_names::FolderLockName());
  int waits = 0;
  platform::SetFolderWaitHandler(
      [&](platform::FolderWait, platform::WaitingFor) { return ++waits > 0; });
  struct Unset {
    ~Unset() { platform::SetFolderWaitHandler(nullptr); }
  } unset;
  const std::vector<std::pair<std::string, std::function<int()>>> kinds{
      {"a named pipe", [&] { return mkfifo(lock.c_str(), 0600); }},
      {"a socket", [&] { return mknod(lock.c_str(), S_IFSOCK | 0600, 0); }},
      {"a symbolic link", [&] { return symlink("pair.sar", lock.c_str()); }},
      {"a folder", [&] { return mkdir(lock.c_str(), 0700); }}};
  for (const auto& [kind, make] : kinds) {
    ASSERT_EQ(make(), 0) << kind;
    host.messageBoxes.clear();
    EXPECT_FALSE(SaveGameFile(dir.File("x.sav")));
    // A new name is refused in the chooser too, as one there is, with no box after it.
    std::string output;
    EXPECT_EQ(RunGame(dir.Path(), {"10 answer new.sav", "10 tap F5", "20 expect messages 0"}, "",
                      &output),
              0)
        << output;
    EXPECT_NE(output.find("refused=\"Its lock file \"" + lock + "\", yours, is " + kind +
                          ", not a plain file: remove it, or save in another folder.\""),
              std::string::npos)
        << output;
    director->StartReplayFromFile(dir.File("pair.rep"), false);
    ASSERT_EQ(host.messageBoxes.size(), 1u) << kind;
    EXPECT_NE(host.messageBoxes[0].text.find("its lock file \"" + lock + "\", yours, is " + kind +
                                             ", not a plain file: remove it, or save in another "
                                             "folder ."),
              std::string::npos)
        << host.messageBoxes[0].text;
    ASSERT_EQ(std::remove(lock.c_str()), 0);
  }
  EXPECT_EQ(waits, 0);
}

// Reads were bounded by what they were told, not by what a save writes: a record saying a file
// of a terabyte was read through a file of that size, a file that grew as it was read was read
// to its end, and an earlier file of another user's was copied whole however large.
TEST_F(SavedPairs, NoReadGoesBeyondWhatASaveWrites) {
  const off_t terabyte = off_t{1} << 40;
  const std::vector<std::string> bounded{"/usr/bin/timeout", "-s", "KILL", "60"};
  std::string output;
  EXPECT_EQ(SaveReplayInGame(dir.Path(), 40, 0, "rename:pair.rep:kill"), -1);
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, "open:pair.sar:grow=" + std::to_string(terabyte),
                             &output, bounded),
            0)
      << output;
  ASSERT_EQ(truncate(dir.File("pair.sar").c_str(), terabyte), 0);
  const std::string record = RecordIn(dir);
  ASSERT_EQ(unlink(record.c_str()), 0);
  const std::string role = platform::save_names::RecordRole({"pair.sar"}),
                    text = SealedRecord("706169722e736172 f " + std::to_string(terabyte) +
                                        " 0 0 0 n 0 0 0 0\n");
  WriteBytes(dir.File(platform::save_names::Make("7-abcdef", role)), {text.begin(), text.end()});
  EXPECT_EQ(PlayReplayInGame(dir.Path(), 1, "", &output, bounded), 0) << output;

  if (const std::string why = NoOtherUser(dir); !why.empty()) GTEST_SKIP() << why;
  const std::string open = OpenFolder(dir, "open", 0777);
  PutEarlierBack("open");
  ASSERT_EQ(truncate((open + "/pair.rep").c_str(), off_t{300} << 20), 0);
  Own(kOther, {open + "/pair.rep", open + "/pair.sar"});
  ASSERT_TRUE(SaveGameFile(StartRecordingStatePath()));
  host.messageBoxes.clear();
  {
    testing_support::OrdinaryUser user;
    director->SaveReplayFile(open + "/pair.rep");
  }
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_NE(host.messageBoxes[0].text.find("File too large"), std::string::npos)
      << host.messageBoxes[0].text;
}

// Two games run in one game folder (two users of one copy, or one player with two runtime
// folders) shared its state files: one replayed from the other's start, saved the other's
// state as its own, or lost its own as the other ended. And in a shared game folder, the state
// another user's stopped game left there stopped the player's recording with a box that called
// the folder not writable.
TEST_F(SavedGames, TwoGamesNeverShareTheStateFilesOfOneGameFolder) {
  if (const std::string why = NoOtherUser(dir); !why.empty()) GTEST_SKIP() << why;
  const std::string game = OpenFolder(dir, "game", 01777);
  testing_support::ProvideGameFiles(game);
  testing_support::FaultedRun first(
      GameCommand({"10 answer a.sav", "10 tap F5", "20 expect messages 0"}, AsUser(kOther)),
      "rename:a.sav:hold=" + game + "/go", game);
  ASSERT_TRUE(WaitUntilHeld(game + "/go")) << first.Output();
  std::string output;
  EXPECT_NE(RunGame(game, {"10 tap F1", "20 expect messages 0"}, "", &output, AsUser(kPlayer)), 0);
  EXPECT_NE(output.find("Cannot create more than one Quor instance! \nAnother game runs in the "
                        "same game folder \"" +
                        game + "\", "),
            std::string::npos)
      << output;
  WriteBytes(game + "/go", {});
  EXPECT_EQ(first.Wait(), 0) << first.Output();

  EXPECT_EQ(RunGame(game, {"10 tap F1", "20 answer b.sav", "20 tap F5"}, "rename:b.sav:kill",
                    nullptr, AsUser(kOther)),
            -1);
  EXPECT_EQ(RunGame(game, {"10 tap F1", "20 expect messages 1"}, "", &output, AsUser(kPlayer)), 0)
      << output;
  EXPECT_NE(output.find("another user's game left one that only they may replace"),
            std::string::npos)
      << output;
}

// F8 held its folder while its boxes waited for the player: another game's save there failed
// meanwhile.
TEST_F(SavedGames, AReplayLetsItsFolderGoBeforeItSaysWhyItDidNotStart) {
  WriteBytes(dir.File("alone.rep"), {0, 0, 0, 0});
  ASSERT_EQ(mkdir(dir.File("other").c_str(), 0700), 0);
  int saved = -2;
  std::string output;
  host.whileBoxIsOpen = [&](const platform::RecordedMessageBox&) {
    saved = RunGame(dir.File("other"),
                    {"10 answer " + dir.File("x.sav"), "10 tap F5", "20 expect messages 0"}, "",
                    &output);
  };
  director->StartReplayFromFile(dir.File("alone.rep"), false);
  EXPECT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(saved, 0) << output;
  EXPECT_TRUE(platform::FileExists(dir.File("x.sav")));
}

}  // namespace
}  // namespace quor
