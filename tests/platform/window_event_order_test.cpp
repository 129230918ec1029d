#include "platform/window_event_order.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace platform {
namespace {

struct Timed {
  WindowEvent kind;
  uint32_t time;
};

std::vector<WindowEvent> Passed(const std::vector<Timed>& events) {
  WindowEventOrder order;
  std::deque<WindowMessage> queue;
  for (const Timed& e : events) order.Add(WindowMessage{e.kind}, e.time, queue);
  std::vector<WindowEvent> kinds;
  for (const WindowMessage& m : queue) kinds.push_back(m.kind);
  return kinds;
}

using E = WindowEvent;

TEST(WindowEventOrder, AMinimiseRightAfterTheFocusLossItCausedMeansNothingToTheEngine) {
  // What a window manager sends for a click on the minimise button, and for the restore.
  EXPECT_EQ(Passed({{E::FocusLost, 1000}, {E::Minimised, 1004}, {E::FocusGained, 5000}}),
            (std::vector<E>{E::FocusLost, E::FocusGained}));
  // The engine's own order passes as it is.
  EXPECT_EQ(Passed({{E::Minimised, 1000}, {E::FocusLost, 1000}, {E::FocusGained, 5000}}),
            (std::vector<E>{E::Minimised, E::FocusLost, E::FocusGained}));
}

TEST(WindowEventOrder, AMinimiseLongAfterTheFocusWentElsewhereStillCounts) {
  EXPECT_EQ(Passed({{E::FocusLost, 1000}, {E::Minimised, 4000}, {E::FocusGained, 6000}}),
            (std::vector<E>{E::FocusLost, E::Minimised, E::FocusGained}));
  // The focus came back between: the minimise is no longer tied to that loss.
  EXPECT_EQ(Passed({{E::FocusLost, 1000}, {E::FocusGained, 1050}, {E::Minimised, 1100}}),
            (std::vector<E>{E::FocusLost, E::FocusGained, E::Minimised}));
  // The clock wraps between the two events: still within the same action.
  EXPECT_EQ(Passed({{E::FocusLost, 0xFFFFFFF0u}, {E::Minimised, 0x10}}),
            (std::vector<E>{E::FocusLost}));
}

}  // namespace
}  // namespace platform
