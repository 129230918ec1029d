#include <gtest/gtest.h>

#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"

namespace platform {
namespace {

TEST(HeadlessInput, ScriptedEventsArriveInTheirFrameAndTheWindowSetsTheClientArea) {
  HeadlessHost host;
  EXPECT_EQ(host.input.ClientWidth(), 640);
  ASSERT_TRUE(host.CreateMainWindow("t", 320, 200, false));
  EXPECT_EQ(host.input.ClientWidth(), 320);
  EXPECT_EQ(host.input.ClientHeight(), 200);

  auto kb = host.input.CreateKeyboardDevice();
  kb->Acquire();
  host.AtFrame(1, [](HeadlessHost& h) { h.input.PressKey(KeyF4); });
  WindowMessage m;
  KeyEvent events[4];
  uint32_t n = 4;
  host.TakeMessage(m);  // frame 0
  kb->Read(events, &n);
  EXPECT_EQ(n, 0u);
  host.TakeMessage(m);  // frame 1
  n = 4;
  kb->Read(events, &n);
  ASSERT_EQ(n, 1u);
  EXPECT_EQ(events[0].code, KeyF4);
}

}  // namespace
}  // namespace platform
