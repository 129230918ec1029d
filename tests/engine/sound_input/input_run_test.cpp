#include <gtest/gtest.h>

#include "engine/app/engine_globals.h"
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
