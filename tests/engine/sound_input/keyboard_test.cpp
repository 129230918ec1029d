#include "engine/sound_input/keyboard.h"

#include <gtest/gtest.h>

#include "tests/engine/sound_input/input_fixture.h"

namespace quor {
namespace {

using namespace platform;  // key codes

using KeyboardTest = InputTest;

TEST_F(KeyboardTest, PressedLastsOneFrameAndTheCountersRun) {
  Keyboard kb;
  kb.Update();
  EXPECT_EQ(kb.GetKeyState(KeySpace).framesUp, 1u);
  host.input.PressKey(KeySpace);
  for (uint32_t frame = 1; frame <= 4; ++frame) {
    kb.Update();
    EXPECT_EQ(kb.IsKeyDown(KeySpace), 1);
    EXPECT_EQ(kb.IsKeyPressed(KeySpace), frame == 1 ? 1 : 0);
    EXPECT_EQ(kb.GetKeyState(KeySpace).framesDown, frame);
    EXPECT_EQ(kb.GetKeyState(KeySpace).framesUp, 0u);
  }
  host.input.ReleaseKey(KeySpace);
  kb.Update();
  EXPECT_EQ(kb.IsKeyDown(KeySpace), 0);
  EXPECT_EQ(kb.GetKeyState(KeySpace).framesUp, 1u);
  EXPECT_EQ(kb.GetKeyState(KeySpace).framesDown, 0u);
  // Only the low 8 bits of a code count.
  host.input.PressKey(KeyUp);
  kb.Update();
  EXPECT_EQ(kb.IsKeyPressed(0x100 + KeyUp), 1);
}

TEST_F(KeyboardTest, DownAndUpInOneFrameLeaveTheKeyUp) {
  Keyboard kb;
  host.input.PressKey(KeyA);
  host.input.ReleaseKey(KeyA);
  kb.Update();
  EXPECT_EQ(kb.IsKeyDown(KeyA), 0);
  EXPECT_EQ(kb.IsKeyPressed(KeyA), 0);
}

TEST_F(KeyboardTest, UnacquiredReadsAllUpAndAcquiringReadsAgain) {
  Keyboard kb;
  host.input.PressKey(KeyLeft);
  kb.Update();
  kb.Update();
  kb.Unacquire();
  host.input.PressKey(KeyRight);  // arrives while the focus is elsewhere
  kb.Update();
  EXPECT_EQ(kb.IsKeyDown(KeyLeft), 0);
  EXPECT_EQ(kb.IsKeyDown(KeyRight), 0);
  EXPECT_EQ(kb.GetKeyState(KeyLeft).framesDown, 0u);
  EXPECT_EQ(kb.GetKeyState(KeyLeft).framesUp, 0u);
  kb.Acquire();
  host.input.PressKey(KeyRight);
  kb.Update();
  EXPECT_EQ(kb.IsKeyPressed(KeyRight), 1);
}

TEST_F(KeyboardTest, LostInputClearsAndReacquiresForTheNextFrame) {
  Keyboard kb;
  host.input.PressKey(KeyZ);
  kb.Update();
  host.input.LoseInput();
  kb.Update();
  EXPECT_EQ(kb.IsKeyDown(KeyZ), 0);
  host.input.PressKey(KeyX);
  kb.Update();
  EXPECT_EQ(kb.IsKeyPressed(KeyX), 1);
}

TEST_F(KeyboardTest, AnOverflowStillAppliesTheEventsRead) {
  Keyboard kb;
  host.input.PressKey(KeyS);
  kb.Update();
  for (int i = 0; i < 300; ++i) host.input.PressKey(KeyD);
  host.input.ReleaseKey(KeyS);
  kb.Update();
  EXPECT_EQ(kb.IsKeyDown(KeyS), 0);
  EXPECT_EQ(kb.IsKeyPressed(KeyD), 1);
}

TEST_F(KeyboardTest, ASecondKeyboardIsReportedAndStillWorks) {
  Keyboard first;
  EXPECT_TRUE(host.messageBoxes.empty());
  Keyboard second;
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].text, "You can't create more than one keyboard instance");
  EXPECT_EQ(host.messageBoxes[0].caption, "Keyboard Error");
  EXPECT_EQ(host.messageBoxes[0].icon, MessageBoxIcon::Stop);
  // The box took the keyboard's input while it was open: the first read after it starts afresh.
  first.Update();
  second.Update();
  host.input.PressKey(KeyB);
  first.Update();
  second.Update();
  EXPECT_EQ(first.IsKeyPressed(KeyB), 1);
  EXPECT_EQ(second.IsKeyPressed(KeyB), 1);
}

TEST_F(KeyboardTest, RecordingKeepsOneMaskAFrameForTheFirst32RegisteredKeys) {
  Keyboard kb;
  for (uint32_t i = 0; i < 33; ++i) scene.registeredKeys.Add(i == 1 ? uint32_t{KeyA} : uint32_t{KeyF5} + i % 8);
  scene.registeredKeys[32] = KeyQ;
  director.recording = 1;
  kb.Update();
  host.input.PressKey(KeyA);
  host.input.PressKey(KeyQ);  // the 33rd key: no bit for it
  kb.Update();
  kb.Update();
  director.recording = 0;
  host.input.ReleaseKey(KeyA);
  kb.Update();
  ASSERT_EQ(scene.recordedKeyMasks.Size(), 3u);
  EXPECT_EQ(scene.recordedKeyMasks[0], 0u);
  EXPECT_EQ(scene.recordedKeyMasks[1], 2u);
  EXPECT_EQ(scene.recordedKeyMasks[2], 2u);
}

TEST_F(KeyboardTest, ReplayPlaysTheMasksAndEndsAfterTheLast) {
  Keyboard kb;
  Mouse mouse;
  CurrentKeyboard = &kb;
  CurrentMouse = &mouse;
  scene.registeredKeys.Add(KeyLeft);
  scene.registeredKeys.Add(KeyRight);
  scene.recordedKeyMasks.Add(1);
  scene.recordedKeyMasks.Add(1);
  // Bits for keys the scene never registered are ignored.
  scene.recordedKeyMasks.Add(2 | 4 | 0x80000000u);
  scene.SetFPS(15);
  director.replaying = 1;
  host.SetWindowTitle("Quor - Replay Mode");

  host.input.PressKey(KeyRight);  // live keys do not reach a replay
  kb.Update();
  EXPECT_EQ(kb.IsKeyPressed(KeyLeft), 1);
  EXPECT_EQ(kb.IsKeyDown(KeyRight), 0);
  kb.Update();
  EXPECT_EQ(kb.IsKeyDown(KeyLeft), 1);
  EXPECT_EQ(kb.IsKeyPressed(KeyLeft), 0);
  kb.Update();
  EXPECT_EQ(kb.IsKeyDown(KeyLeft), 0);
  EXPECT_EQ(kb.IsKeyPressed(KeyRight), 1);
  EXPECT_EQ(kb.GetReplayIndex(), 3u);
  EXPECT_EQ(director.replaying, 1);

  mouse.SetReplayIndex(2);
  kb.Update();  // out of masks
  EXPECT_EQ(director.replaying, 0);
  EXPECT_EQ(kb.GetReplayIndex(), 0u);
  EXPECT_EQ(kb.IsKeyDown(KeyRight), 0);
  EXPECT_EQ(scene.targetRate, 60u);
  EXPECT_EQ(host.WindowTitle(), "Quor");
  EXPECT_EQ(mouse.GetReplayIndex(), 0u);
  EXPECT_EQ(director.loadRequested, 1);
  EXPECT_EQ(director.loadPath, WhenReplayStatePath());
}

TEST_F(KeyboardTest, F4EndsAReplayAndAnEmptyReplayEndsAtOnce) {
  Keyboard kb;
  CurrentKeyboard = &kb;
  for (int i = 0; i < 5; ++i) scene.recordedKeyMasks.Add(0);
  director.replaying = 1;
  kb.Update();
  host.input.PressKey(KeyF4);
  kb.Update();
  EXPECT_EQ(director.replaying, 0);
  EXPECT_EQ(director.loadRequested, 1);

  Keyboard again;  // a fresh index, no masks at all
  director.loadRequested = 0;
  scene.recordedKeyMasks.Clear();
  director.replaying = 1;
  again.Update();
  EXPECT_EQ(director.replaying, 0);
  EXPECT_EQ(director.loadRequested, 1);
}

}  // namespace
}  // namespace quor
