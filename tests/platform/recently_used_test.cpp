#include "platform/recently_used.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// Full, the one found or kept least recently goes, whatever was kept first; none is kept where
// no room is given.
TEST(RecentlyUsed, OneMoreDropsTheValueUsedLeastRecently) {
  RecentlyUsed<int, int> kept(2);
  kept.Keep(1, 10);
  kept.Keep(2, 20);
  ASSERT_NE(kept.Find(1), nullptr);
  kept.Keep(3, 30);
  EXPECT_EQ(kept.Find(2), nullptr);
  ASSERT_NE(kept.Find(1), nullptr);
  EXPECT_EQ(*kept.Find(1), 10);
  EXPECT_EQ(*kept.Find(3), 30);
  kept.Keep(4, 40);
  EXPECT_EQ(kept.Find(1), nullptr);
  EXPECT_NE(kept.Find(3), nullptr);

  RecentlyUsed<int, int> none(0);
  none.Keep(1, 10);
  EXPECT_EQ(none.Find(1), nullptr);
}

}  // namespace
}  // namespace platform
