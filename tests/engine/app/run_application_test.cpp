#include "engine/app/run_application.h"

#include <gtest/gtest.h>

#include "engine/core/engine_globals.h"
#include "engine/app/game_director.h"
#include "engine/scene/game_node.h"
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

}  // namespace
}  // namespace quor
