#include "engine/sound_input/mouse.h"

#include <gtest/gtest.h>

#include "tests/engine/sound_input/input_fixture.h"

namespace quor {
namespace {

using namespace platform;  // key codes

using MouseTest = InputTest;

TEST_F(MouseTest, PositionStaysInsideTheClientArea) {
  host.CreateMainWindow("Quor", 640, 480, false);
  Mouse mouse;
  EXPECT_EQ(mouse.GetClientRect(), (Rect{0, 0, 640, 480}));
  EXPECT_EQ(mouse.SetPosition(320, 240), 1);
  host.input.MoveMouse(100000, -100000);
  mouse.Update();
  EXPECT_EQ(mouse.GetX(), 639);
  EXPECT_EQ(mouse.GetY(), 0);
  EXPECT_EQ(mouse.GetDX(), 100000);
  host.input.MoveMouse(INT32_MIN, INT32_MAX);  // no overflow on the way to the edge
  mouse.Update();
  EXPECT_EQ(mouse.GetX(), 0);
  EXPECT_EQ(mouse.GetY(), 479);
  // Right and bottom edges are outside.
  EXPECT_EQ(mouse.SetPosition(640, 10), 0);
  EXPECT_EQ(mouse.SetPosition(10, 480), 0);
  EXPECT_EQ(mouse.SetPosition(-1, 10), 0);
  EXPECT_EQ(mouse.GetX(), 0);
  EXPECT_EQ(mouse.SetPosition(639, 479), 1);
}

TEST_F(MouseTest, SensitivityScalesEachMoveTruncatingTowardZero) {
  Mouse mouse;
  mouse.SetPosition(100, 100);
  mouse.SetSensitivity(0.5f);
  host.input.MoveMouse(7, -7);
  mouse.Update();
  EXPECT_EQ(mouse.GetDX(), 3);
  EXPECT_EQ(mouse.GetDY(), -3);
  EXPECT_EQ(mouse.GetX(), 103);
  EXPECT_EQ(mouse.GetY(), 97);
  EXPECT_EQ(mouse.GetXMoved(), 1);
  // A frame without movement keeps dx and dy but clears the moved flags.
  mouse.Update();
  EXPECT_EQ(mouse.GetDX(), 3);
  EXPECT_EQ(mouse.GetXMoved(), 0);
  EXPECT_EQ(mouse.GetYMoved(), 0);
}

TEST_F(MouseTest, ButtonsPressForOneFrameAndOthersReadUp) {
  Mouse mouse;
  host.input.PressButton(0);
  host.input.PressButton(2);
  mouse.Update();
  EXPECT_EQ(mouse.IsButtonPressed(0), 1);
  EXPECT_EQ(mouse.IsButtonDown(1), 0);
  EXPECT_EQ(mouse.IsButtonDown(2), 0);
  EXPECT_EQ(mouse.IsButtonPressed(7), 0);
  mouse.Update();
  EXPECT_EQ(mouse.IsButtonDown(0), 1);
  EXPECT_EQ(mouse.IsButtonPressed(0), 0);
  EXPECT_EQ(mouse.GetButtonState(0).framesDown, 2u);
  // An overflow still applies the release.
  for (int i = 0; i < 300; ++i) host.input.MoveMouse(1, 0);
  host.input.ReleaseButton(0);
  mouse.Update();
  EXPECT_EQ(mouse.IsButtonDown(0), 0);
}

TEST_F(MouseTest, UnacquiredAndLostClearTheButtons) {
  Mouse mouse;
  host.input.PressButton(1);
  mouse.Update();
  mouse.Unacquire();
  EXPECT_FALSE(host.input.IsMouseAcquired());
  mouse.Update();
  EXPECT_EQ(mouse.IsButtonDown(1), 0);
  EXPECT_EQ(mouse.GetButtonState(1).framesUp, 0u);
  mouse.Acquire();
  EXPECT_TRUE(host.input.IsMouseAcquired());
  host.input.PressButton(1);
  mouse.Update();
  EXPECT_EQ(mouse.IsButtonPressed(1), 1);
  host.input.LoseInput();
  mouse.Update();
  EXPECT_EQ(mouse.IsButtonDown(1), 0);
  EXPECT_TRUE(host.input.IsMouseAcquired());
}

TEST_F(MouseTest, RecordingKeepsFlagsAndTheLastMovementEachFrame) {
  Mouse mouse;
  mouse.SetPosition(10, 10);
  director.recording = 1;
  host.input.MoveMouse(5, 0);
  host.input.PressButton(0);
  mouse.Update();
  mouse.Update();  // button held, no movement
  host.input.MoveMouse(0, -4);
  host.input.PressButton(1);
  mouse.Update();
  ASSERT_EQ(scene.recordedMouseFlags.Size(), 3u);
  ASSERT_EQ(scene.recordedMouseMovement.Size(), 3u);
  EXPECT_EQ(scene.recordedMouseFlags[0], MouseFlagButton0 | MouseFlagXMoved);
  EXPECT_EQ(scene.recordedMouseFlags[1], 0);
  EXPECT_EQ(scene.recordedMouseFlags[2], MouseFlagButton1 | MouseFlagYMoved);
  EXPECT_EQ(scene.recordedMouseMovement[1].dx, 5);
  EXPECT_EQ(scene.recordedMouseMovement[2].dx, 5);
  EXPECT_EQ(scene.recordedMouseMovement[2].dy, -4);
}

TEST_F(MouseTest, ReplayAppliesFlaggedMovesOnlyAndStopsAtTheShorterArray) {
  Mouse mouse;
  mouse.SetPosition(100, 100);
  director.replaying = 1;
  scene.SetFPS(15);
  scene.recordedMouseFlags.Add(MouseFlagXMoved | MouseFlagButton0);
  scene.recordedMouseFlags.Add(MouseFlagYMoved);
  scene.recordedMouseMovement.Add(MouseDelta{5, 50});
  scene.recordedMouseMovement.Add(MouseDelta{7, -3});
  scene.recordedMouseMovement.Add(MouseDelta{9, 9});  // no flags byte for it
  host.input.MoveMouse(1000, 1000);  // live moves do not reach a replay
  mouse.Update();
  EXPECT_EQ(mouse.GetX(), 105);
  EXPECT_EQ(mouse.GetY(), 100);
  EXPECT_EQ(mouse.IsButtonPressed(0), 1);
  mouse.Update();
  EXPECT_EQ(mouse.GetX(), 105);
  EXPECT_EQ(mouse.GetY(), 97);
  EXPECT_EQ(mouse.GetDX(), 7);
  EXPECT_EQ(mouse.IsButtonDown(0), 0);
  mouse.Update();  // the end: the rate comes back, the mouse starts over
  EXPECT_EQ(scene.targetRate, 60u);
  EXPECT_EQ(mouse.GetReplayIndex(), 0u);
  EXPECT_EQ(mouse.GetX(), 105);
}

TEST_F(MouseTest, F4SeenByTheKeyboardStopsTheMouseReplay) {
  Keyboard kb;
  Mouse mouse;
  CurrentKeyboard = &kb;
  for (int i = 0; i < 4; ++i) {
    scene.recordedMouseFlags.Add(MouseFlagXMoved);
    scene.recordedMouseMovement.Add(MouseDelta{1, 0});
  }
  director.replaying = 0;
  host.input.PressKey(KeyF4);
  kb.Update();
  director.replaying = 1;
  mouse.Update();
  EXPECT_EQ(mouse.GetReplayIndex(), 0u);
  EXPECT_EQ(mouse.GetX(), 0);
}

TEST_F(MouseTest, ARecordingReplaysToTheSamePositionsAndButtons) {
  Keyboard kb;
  Mouse mouse;
  CurrentKeyboard = &kb;
  CurrentMouse = &mouse;
  mouse.SetPosition(300, 200);
  director.recording = 1;
  struct Seen {
    int32_t x, y;
    uint8_t b0, b1;
  };
  std::vector<Seen> live;
  auto frame = [&] {
    mouse.Update();
    kb.Update();
  };
  const int moves[][2] = {{4, 0}, {0, 0}, {-9, 3}, {700, -2}, {0, -500}, {-3, 3}};
  for (int i = 0; i < 6; ++i) {
    host.input.MoveMouse(moves[i][0], moves[i][1]);
    if (i == 1) host.input.PressButton(0);
    if (i == 3) host.input.ReleaseButton(0);
    if (i == 4) host.input.PressButton(1);
    frame();
    live.push_back({mouse.GetX(), mouse.GetY(), mouse.IsButtonPressed(0), mouse.IsButtonPressed(1)});
  }
  director.recording = 0;
  ASSERT_EQ(scene.recordedKeyMasks.Size(), 6u);

  mouse.SetPosition(300, 200);
  director.replaying = 1;
  for (int i = 0; i < 6; ++i) {
    host.input.MoveMouse(11, 11);
    frame();
    EXPECT_EQ(mouse.GetX(), live[i].x) << i;
    EXPECT_EQ(mouse.GetY(), live[i].y) << i;
    EXPECT_EQ(mouse.IsButtonPressed(0), live[i].b0) << i;
    EXPECT_EQ(mouse.IsButtonPressed(1), live[i].b1) << i;
  }
  EXPECT_EQ(director.replaying, 1);
  frame();
  EXPECT_EQ(director.replaying, 0);
  EXPECT_EQ(director.loadRequested, 1);
}

}  // namespace
}  // namespace quor

namespace quor {
namespace {

TEST_F(MouseTest, WorldPositionAddsTheViewOriginTruncatingTowardZero) {
  Mouse mouse;
  mouse.SetPosition(10, 20);
  scene.viewPort.SetLeft(100.75f);
  scene.viewPort.SetTop(-30.5f);
  EXPECT_EQ(mouse.GetWorldX(), 110);
  EXPECT_EQ(mouse.GetWorldY(), -10);
  scene.viewPort.SetTop(-20.5f);
  EXPECT_EQ(mouse.GetWorldY(), 0);  // -0.5 truncates to 0
  scene.viewPort.SetLeft(1e30f);
  EXPECT_EQ(mouse.GetWorldX(), INT32_MAX);
}

}  // namespace
}  // namespace quor
