#include <gtest/gtest.h>

#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/app/game_director.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "platform/input_keys.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

using platform::HeadlessHost;
using platform::WindowEvent;
using namespace platform;  // key codes

// Scripted actions run at the start of a frame, so they see the previous frame's input.
TEST(InputInTheRun, FocusAndF10DriveTheDevicesWhileKeysReachTheTable) {
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  HeadlessHost& host = run.host;
  int checks = 0;
  host.AtFrame(2, [](HeadlessHost& h) {
    h.input.PressKey(KeyLeft);
    h.input.MoveMouse(-1000, 5000);
  });
  host.AtFrame(3, [&](HeadlessHost& h) {
    EXPECT_EQ(CurrentKeyboard->IsKeyPressed(KeyLeft), 1);
    EXPECT_EQ(CurrentMouse->GetX(), 0);
    EXPECT_EQ(CurrentMouse->GetY(), 479);
    h.Post(WindowEvent::FocusLost);
    ++checks;
  });
  host.AtFrame(4, [&](HeadlessHost& h) {
    EXPECT_EQ(CurrentKeyboard->IsKeyDown(KeyLeft), 0);
    EXPECT_FALSE(h.input.IsMouseAcquired());
    h.input.PressKey(KeyRight);  // lost: nothing listens
    h.Post(WindowEvent::FocusGained);
    ++checks;
  });
  host.AtFrame(5, [&](HeadlessHost& h) {
    EXPECT_EQ(CurrentKeyboard->IsKeyDown(KeyRight), 0);
    EXPECT_TRUE(h.input.IsMouseAcquired());
    h.input.PressKey(KeyF10);
    ++checks;
  });
  host.AtFrame(6, [&](HeadlessHost& h) {
    EXPECT_EQ(Paused, 1);
    EXPECT_FALSE(h.input.IsMouseAcquired());
    h.input.ReleaseKey(KeyF10);
    ++checks;
  });
  host.AtFrame(7, [](HeadlessHost& h) { h.input.PressKey(KeyF10); });
  host.AtFrame(8, [&](HeadlessHost& h) {
    EXPECT_EQ(Paused, 0);
    EXPECT_TRUE(h.input.IsMouseAcquired());
    ++checks;
  });
  run.Run(9);
  EXPECT_EQ(checks, 5);
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_FALSE(host.input.IsMouseAcquired());
}

}  // namespace
}  // namespace quor

namespace quor {
namespace {

// F1 records from the next frame on, F2 stops after its own frame, F3 replays from the
// frame after; the replay ends after its last entry and asks for the state it left.
TEST(InputInTheRun, ARecordedStretchReplaysAndEnds) {
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  HeadlessHost& host = run.host;
  std::vector<int32_t> recordedX, replayedX;
  std::vector<uint8_t> recordedButton, replayedButton;
  std::vector<uint8_t> replaying;
  auto sample = [&](std::vector<int32_t>& xs, std::vector<uint8_t>& buttons) {
    return [&xs, &buttons](HeadlessHost&) {
      xs.push_back(CurrentMouse->GetX());
      buttons.push_back(CurrentMouse->IsButtonPressed(0));
    };
  };
  host.EveryFrame([&](HeadlessHost&) {
    replaying.push_back(CurrentGameDirector ? CurrentGameDirector->replaying : 0);
  });
  host.AtFrame(2, [](HeadlessHost& h) { h.input.PressKey(KeyF1); });
  host.AtFrame(3, [](HeadlessHost& h) {
    EXPECT_EQ(h.WindowTitle(), "Quor - Recording");
    h.input.ReleaseKey(KeyF1);
    h.input.MoveMouse(7, 0);
  });
  host.AtFrame(4, [&](HeadlessHost& h) {
    sample(recordedX, recordedButton)(h);
    h.input.MoveMouse(-2, 3);
    h.input.PressButton(0);
  });
  host.AtFrame(5, [&](HeadlessHost& h) {
    sample(recordedX, recordedButton)(h);
    h.input.PressKey(KeyF2);
  });
  host.AtFrame(6, [&](HeadlessHost& h) {
    sample(recordedX, recordedButton)(h);
    EXPECT_EQ(h.WindowTitle(), "Quor");
    ASSERT_EQ(CurrentGameNode->recordedKeyMasks.Size(), 3u);
    ASSERT_EQ(CurrentGameNode->recordedMouseFlags.Size(), 3u);
    EXPECT_EQ(CurrentGameNode->recordedMouseFlags[0], MouseFlagXMoved);
    EXPECT_EQ(CurrentGameNode->recordedMouseFlags[1],
              MouseFlagXMoved | MouseFlagYMoved | MouseFlagButton0);
    EXPECT_EQ(CurrentGameNode->recordedMouseFlags[2], 0);
    h.input.ReleaseKey(KeyF2);
    h.input.ReleaseButton(0);
  });
  host.AtFrame(7, [](HeadlessHost& h) { h.input.PressKey(KeyF3); });
  host.AtFrame(9, sample(replayedX, replayedButton));
  host.AtFrame(10, sample(replayedX, replayedButton));
  host.AtFrame(11, sample(replayedX, replayedButton));
  host.AtFrame(12, [](HeadlessHost& h) { EXPECT_EQ(h.WindowTitle(), "Quor"); });
  run.Run(13);
  // Seen at the start of frames 0 to 13: the replay begins with frame 8's load of its start
  // state, runs frames 8 to 10 and ends in frame 11.
  std::vector<uint8_t> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0};
  EXPECT_EQ(replaying, expected);
  ASSERT_EQ(replayedX.size(), 3u);
  EXPECT_EQ(replayedButton, recordedButton);
  EXPECT_EQ(replayedX[1] - replayedX[0], recordedX[1] - recordedX[0]);
  EXPECT_EQ(replayedX[2] - replayedX[1], recordedX[2] - recordedX[1]);
}

}  // namespace
}  // namespace quor
