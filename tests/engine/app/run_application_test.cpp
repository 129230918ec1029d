#include "engine/app/run_application.h"

#include <gtest/gtest.h>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "platform/files.h"
#include "platform/lock_file.h"
#include "platform/save_names.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

using platform::MessageBoxIcon;
using platform::WindowEvent;
using testing_support::HeadlessRun;

TEST(RunApplication, SecondInstanceShowsItsBoxAndEnds) {
  HeadlessRun run;
  run.host.instanceAlreadyRunning = true;
  EXPECT_EQ(run.Run(5), kStartUpFailed);
  ASSERT_EQ(run.host.messageBoxes.size(), 1u);
  EXPECT_EQ(run.host.messageBoxes[0].text, "Cannot create more than one Quor instance! ");
  EXPECT_EQ(run.host.messageBoxes[0].caption, "Quor Error.");
  EXPECT_EQ(run.host.messageBoxes[0].icon, MessageBoxIcon::Exclamation);
  EXPECT_FALSE(run.host.HasMainWindow());
  EXPECT_EQ(run.host.Frame(), -1);
}

TEST(RunApplication, NoSoundDeviceShowsItsBoxBeforeAnyWindow) {
  HeadlessRun run;
  run.host.audio.noDevice = true;
  EXPECT_EQ(run.Run(5), kStartUpFailed);
  ASSERT_EQ(run.host.messageBoxes.size(), 1u);
  EXPECT_EQ(run.host.messageBoxes[0].text,
            "There is an error in the sound device or no driver was found!");
  EXPECT_EQ(run.host.messageBoxes[0].caption, "Quor Error.");
  EXPECT_EQ(run.host.windowWidth, 0);
}

TEST(RunApplication, StartsTheFirstSceneRunsFramesAndShutsDown) {
  testing_support::TempDir dir;
  HeadlessRun run;
  bool sawScene = false;
  run.host.AtFrame(2, [&](platform::HeadlessHost& h) {
    sawScene = CurrentGameNode && std::string(CurrentGameNode->GetName()) == "Start";
    EXPECT_EQ(h.WindowTitle(), "Quor");
    EXPECT_FALSE(CurrentGameDirector->IsSwitchPending());
    EXPECT_EQ(CurrentGameNodeId, 1);
  });
  EXPECT_EQ(run.Run(4), 0);
  EXPECT_TRUE(sawScene);
  EXPECT_TRUE(run.host.messageBoxes.empty());
  EXPECT_EQ(run.host.windowWidth, 640);
  EXPECT_EQ(run.host.windowHeight, 480);
  EXPECT_TRUE(run.host.windowFullScreen);
  // Shutdown took everything down.
  EXPECT_EQ(CurrentGameNode, nullptr);
  EXPECT_EQ(CurrentGameDirector, nullptr);
  EXPECT_EQ(CurrentKeyboard, nullptr);
  EXPECT_EQ(GameNodeList().Count(), 0);
  EXPECT_FALSE(run.host.HasMainWindow());
}

TEST(RunApplication, ClosingTheWindowEndsTheLoopThroughTheQuitMessage) {
  HeadlessRun run;
  run.host.AtFrame(3, [](platform::HeadlessHost& h) { h.Post(WindowEvent::CloseRequest); });
  EXPECT_EQ(run.Run(1000), 0);
  EXPECT_LT(run.host.Frame(), 10);
}

TEST(RunApplication, FocusPausesAndAMinimiseWhilePausedKeepsTheNextFocusPaused) {
  HeadlessRun run;
  std::vector<int> paused;
  run.host.EveryFrame([&](platform::HeadlessHost&) { paused.push_back(Paused); });
  // One message is taken per frame, so these arrive one frame apart.
  run.host.AtFrame(2, [](platform::HeadlessHost& h) {
    h.Post(WindowEvent::FocusLost);
    h.Post(WindowEvent::Minimised);
    h.Post(WindowEvent::FocusGained);
    h.Post(WindowEvent::FocusLost);
    h.Post(WindowEvent::FocusGained);
  });
  run.Run(9);
  // Frames 2..6 take the five messages; the state seen at the start of each frame:
  std::vector<int> expected = {0, 0, 0, 1, 1, 1, 1, 0, 0, 0};
  EXPECT_EQ(paused, expected);
}

TEST(RunApplication, QuitRequestEndsTheLoopAtItsNextCheck) {
  HeadlessRun run;
  run.host.AtFrame(2, [](platform::HeadlessHost&) { CurrentGameDirector->RequestQuit(); });
  EXPECT_EQ(run.Run(100), 0);
  EXPECT_EQ(run.host.Frame(), 2);
}

// A first scene that asks to quit as it starts (after the box of a missing file) never ran
// a frame: the shell is told of a failed start.
TEST(RunApplication, AFirstSceneThatCannotStartEndsAsAFailedStart) {
  HeadlessRun run;
  GameHooks hooks = testing_support::EngineOnlyHooks();
  hooks.createScenes = [] {
    testing_support::EngineOnlyHooks().createScenes();
    FindGameNodeById(1)->buildContent = [](GameNode*) { QuitRequested = 1; };
  };
  InstallGameHooks(hooks);
  EXPECT_EQ(run.Run(5), kFirstSceneFailed);
  EXPECT_EQ(run.host.Frame(), 0);
}

// A save that waited for another game's save in its folder held the window unanswered and
// unchanged for seconds (full screen shows no title: the picture says it too), and a key
// let go meanwhile stayed down after it.
TEST(RunApplication, AWaitForAnotherGamesSaveKeepsTheWindowAnsweringAndSaysWhy) {
  HeadlessRun run;
  std::vector<std::string> titles, notices;
  int servicesBefore = -1, servicesDuring = -1;
  run.host.AtFrame(2, [](platform::HeadlessHost& h) {
    h.SetWindowTitle("Quor - Recording");
    h.input.PressKey(platform::KeyRight);
  });
  run.host.AtFrame(4, [&](platform::HeadlessHost& h) {
    ASSERT_EQ(CurrentKeyboard->IsKeyDown(platform::KeyRight), 1);
    servicesBefore = h.windowServices;
    platform::TellFolderWait(platform::FolderWait::kBegins);
    titles.push_back(h.WindowTitle());
    notices.push_back(h.notice);
    h.input.ReleaseKey(platform::KeyRight);
    h.input.PressKey(platform::KeyLeft);
    platform::TellFolderWait(platform::FolderWait::kGoesOn);
    platform::TellFolderWait(platform::FolderWait::kGoesOn);
    servicesDuring = h.windowServices;
    platform::TellFolderWait(platform::FolderWait::kEnds);
    titles.push_back(h.WindowTitle());
    notices.push_back(h.notice);
  });
  run.host.AtFrame(6, [&](platform::HeadlessHost& h) {
    EXPECT_EQ(CurrentKeyboard->IsKeyDown(platform::KeyRight), 0);
    EXPECT_EQ(CurrentKeyboard->IsKeyDown(platform::KeyLeft), 0);
    // One for another program that holds a file there open says so.
    platform::TellFolderWait(platform::FolderWait::kBegins, platform::WaitingFor::kAnotherProgram);
    titles.push_back(h.WindowTitle());
    notices.push_back(h.notice);
    platform::TellFolderWait(platform::FolderWait::kEnds, platform::WaitingFor::kAnotherProgram);
  });
  EXPECT_EQ(run.Run(8), 0);
  EXPECT_EQ(titles, (std::vector<std::string>{"Quor - Waiting for another game's save",
                                              "Quor - Recording",
                                              "Quor - Waiting for another program"}));
  EXPECT_EQ(notices,
            (std::vector<std::string>{"Waiting for another game's save in the same folder", "",
                                      "Waiting for another program that has a file in the same "
                                      "folder open"}));
  EXPECT_EQ(servicesBefore, 0);
  EXPECT_EQ(servicesDuring, 3);
  // Once the program has ended, a wait is only a wait.
  run.host.SetWindowTitle("Quor");
  platform::TellFolderWait(platform::FolderWait::kBegins);
  EXPECT_EQ(run.host.WindowTitle(), "Quor");
  platform::TellFolderWait(platform::FolderWait::kEnds);
  EXPECT_EQ(run.host.windowServices, 4);
}

// A close of the window (or a stop signal) while a save waited for another game's sat out
// the whole wait, then showed a box the player had to answer before the game ended.
TEST(RunApplication, ACloseWhileASaveWaitsGivesTheSaveUpAndEndsTheGameWithoutABox) {
  testing_support::TempDir dir;
  const platform::LockFile otherGame(dir.File(platform::save_names::FolderLockName()),
                                     platform::LockFile::Wait::kNone);
  ASSERT_EQ(otherGame.Taken(), platform::LockFile::State::kHeld);
  HeadlessRun run;
  bool saved = true;
  run.host.AtFrame(3, [&](platform::HeadlessHost& h) {
    h.Post(WindowEvent::CloseRequest);
    saved = SaveGameFile(dir.File("x.sav"));
  });
  EXPECT_EQ(run.Run(600), 0);
  EXPECT_FALSE(saved);
  EXPECT_TRUE(run.host.messageBoxes.empty());
  EXPECT_LT(run.host.Frame(), 10);
  EXPECT_FALSE(platform::FileExists(dir.File("x.sav")));
}

}  // namespace
}  // namespace quor
