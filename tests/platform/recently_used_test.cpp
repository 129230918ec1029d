#include "platform/recently_used.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// Full, the value found or kept least recently goes, not the one kept first.
TEST(RecentlyUsed, OneMoreDropsTheValueUsedLeastRecently) {
  RecentlyUsed<int, int> kept(2);
  kept.Keep(1, 10);
  kept.Keep(2, 20);
  ASSERT_NE(kept.Find(1), nullptr);
  kept.Keep(3, 30);
  EXPECT_EQ(kept.Find(2), nullptr);
  ASSERT_TRUE(kept.Find(1) && kept.Find(3));
  EXPECT_EQ(*kept.Find(1), 10);
}

}  // namespace
}  // namespace platform
