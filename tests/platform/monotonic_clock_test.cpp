#include "platform/monotonic_clock.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(MonotonicClock, SleepingToADeadlineNeverWakesBeforeIt) {
  MonotonicClock clock;
  for (uint32_t ahead : {1u, 3u, 12u}) {
    uint32_t deadline = clock.Milliseconds() + ahead;
    clock.SleepUntil(deadline);
    EXPECT_GE(int32_t(clock.Milliseconds() - deadline), 0) << ahead;
  }
}

TEST(MonotonicClock, APassedDeadlineReturnsWithoutSleeping) {
  MonotonicClock clock;
  uint32_t now = clock.Milliseconds();
  // Half the clock's range ahead would be a sleep of weeks: both count as passed.
  clock.SleepUntil(now - 5);
  clock.SleepUntil(now + 0x80000000u);
  clock.SleepUntil(now);
}

TEST(MonotonicClock, StartsAtZeroAndNeverStepsBack) {
  MonotonicClock clock;
  uint32_t last = clock.Milliseconds();
  EXPECT_LT(last, 1000u);
  for (int i = 0; i < 1000; ++i) {
    uint32_t now = clock.Milliseconds();
    EXPECT_GE(now, last);
    last = now;
  }
}

}  // namespace
}  // namespace platform
