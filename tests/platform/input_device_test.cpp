#include <gtest/gtest.h>

#include "platform/headless/headless_input.h"
#include "platform/input_keys.h"

namespace platform {
namespace {

KeyEvent Read1(KeyboardDevice& device, InputResult* result) {
  KeyEvent e;
  uint32_t n = 1;
  *result = device.Read(&e, &n);
  return e;
}

TEST(InputDevice, CollectsOnlyWhileAcquiredAndUnacquireDropsWaitingEvents) {
  HeadlessInput input;
  auto kb = input.CreateKeyboardDevice();
  input.PressKey(KeySpace);  // not acquired yet
  EXPECT_EQ(kb->Waiting(), 0u);
  KeyEvent events[kInputBufferSize];
  uint32_t n = kInputBufferSize;
  EXPECT_EQ(kb->Read(events, &n), InputResult::NotAcquired);
  EXPECT_EQ(n, 0u);

  kb->Acquire();
  input.PressKey(KeySpace);
  input.ReleaseKey(KeySpace);
  n = kInputBufferSize;
  ASSERT_EQ(kb->Read(events, &n), InputResult::Ok);
  ASSERT_EQ(n, 2u);
  EXPECT_EQ(events[0].code, KeySpace);
  EXPECT_TRUE(events[0].down);
  EXPECT_FALSE(events[1].down);

  input.PressKey(KeyA);
  kb->Unacquire();
  kb->Acquire();
  n = kInputBufferSize;
  EXPECT_EQ(kb->Read(events, &n), InputResult::Ok);
  EXPECT_EQ(n, 0u);
}

TEST(InputDevice, OverflowKeepsTheNewestEventsAndIsReportedOnce) {
  HeadlessInput input;
  auto kb = input.CreateKeyboardDevice();
  kb->Acquire();
  for (int i = 0; i < 300; ++i) input.PressKey(static_cast<uint8_t>(i % 200));
  input.ReleaseKey(KeyUp);
  KeyEvent events[kInputBufferSize];
  uint32_t n = kInputBufferSize;
  EXPECT_EQ(kb->Read(events, &n), InputResult::BufferOverflow);
  ASSERT_EQ(n, kInputBufferSize);
  // 301 events, 256 kept: the first kept is event 45.
  EXPECT_EQ(events[0].code, 45);
  EXPECT_EQ(events[255].code, KeyUp);
  EXPECT_FALSE(events[255].down);
  n = kInputBufferSize;
  EXPECT_EQ(kb->Read(events, &n), InputResult::Ok);
  EXPECT_EQ(n, 0u);
}

TEST(InputDevice, ReadTakesNoMoreThanAskedAndKeepsTheRest) {
  HeadlessInput input;
  auto kb = input.CreateKeyboardDevice();
  kb->Acquire();
  for (int i = 0; i < 5; ++i) input.PressKey(static_cast<uint8_t>(i + 1));
  KeyEvent events[3];
  uint32_t n = 3;
  EXPECT_EQ(kb->Read(events, &n), InputResult::Ok);
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(events[2].code, 3);
  EXPECT_EQ(kb->Waiting(), 2u);
}

TEST(InputDevice, LostInputIsReportedOnceThenNotAcquiredUntilAcquired) {
  HeadlessInput input;
  auto kb = input.CreateKeyboardDevice();
  auto mouse = input.CreateMouseDevice();
  kb->Acquire();
  mouse->Acquire();
  input.PressKey(KeyA);
  input.LoseInput();
  EXPECT_FALSE(kb->IsAcquired());
  EXPECT_FALSE(mouse->IsAcquired());
  InputResult r;
  Read1(*kb, &r);
  EXPECT_EQ(r, InputResult::InputLost);
  Read1(*kb, &r);
  EXPECT_EQ(r, InputResult::NotAcquired);
  kb->Acquire();
  Read1(*kb, &r);
  EXPECT_EQ(r, InputResult::Ok);
}

TEST(InputDevice, InjectedFailuresAnswerOneRead) {
  HeadlessInput input;
  auto kb = input.CreateKeyboardDevice();
  kb->Acquire();
  input.PressKey(KeyA);
  input.FailNextKeyboardRead(InputResult::NotAcquired);
  InputResult r;
  Read1(*kb, &r);
  EXPECT_EQ(r, InputResult::NotAcquired);
  EXPECT_EQ(kb->Waiting(), 1u);
  input.FailNextKeyboardRead(InputResult::BufferOverflow);
  KeyEvent e = Read1(*kb, &r);
  EXPECT_EQ(r, InputResult::BufferOverflow);
  EXPECT_EQ(e.code, KeyA);
  Read1(*kb, &r);
  EXPECT_EQ(r, InputResult::Ok);
}

TEST(InputDevice, EveryDeviceOfAKindGetsEveryEvent) {
  HeadlessInput input;
  auto first = input.CreateKeyboardDevice();
  auto second = input.CreateKeyboardDevice();
  auto mouse = input.CreateMouseDevice();
  first->Acquire();
  second->Acquire();
  mouse->Acquire();
  input.PressKey(KeyB);
  EXPECT_EQ(first->Waiting(), 1u);
  EXPECT_EQ(second->Waiting(), 1u);
  EXPECT_EQ(mouse->Waiting(), 0u);
  input.MoveMouse(3, 0);
  input.MoveMouse(0, -2);
  input.MoveMouse(0, 0);
  input.PressButton(1);
  MouseEvent events[8];
  uint32_t n = 8;
  ASSERT_EQ(mouse->Read(events, &n), InputResult::Ok);
  ASSERT_EQ(n, 3u);
  EXPECT_EQ(events[0].object, MouseObject::X);
  EXPECT_EQ(events[0].movement, 3);
  EXPECT_EQ(events[1].object, MouseObject::Y);
  EXPECT_EQ(events[1].movement, -2);
  EXPECT_EQ(events[2].object, MouseObject::Button1);
  EXPECT_TRUE(events[2].down);
}

TEST(InputSource, TellsWhenTheMouseIsAcquiredOrFreed) {
  HeadlessInput input;
  auto mouse = input.CreateMouseDevice();
  auto kb = input.CreateKeyboardDevice();
  kb->Acquire();
  EXPECT_EQ(input.mouseAcquisitionChanges, 0);
  mouse->Acquire();
  mouse->Acquire();
  EXPECT_TRUE(input.IsMouseAcquired());
  EXPECT_EQ(input.mouseAcquisitionChanges, 1);
  mouse.reset();  // a device closed while acquired frees the mouse
  EXPECT_FALSE(input.IsMouseAcquired());
  EXPECT_EQ(input.mouseAcquisitionChanges, 2);
}

TEST(InputSource, DevicesOutliveTheirSourceSafely) {
  std::unique_ptr<KeyboardDevice> kb;
  {
    HeadlessInput input;
    kb = input.CreateKeyboardDevice();
    kb->Acquire();
  }
  kb->Unacquire();
  InputResult r;
  Read1(*kb, &r);
  EXPECT_EQ(r, InputResult::NotAcquired);
}

}  // namespace
}  // namespace platform
