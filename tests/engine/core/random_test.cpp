#include "engine/core/random.h"

#include <gtest/gtest.h>

namespace quor {

TEST(Random, FollowsTheLinearCongruentialSequence) {
  uint32_t saved = RandomState();
  SeedRandom(1);
  // The well-known first draws of this generator from seed 1.
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(NextRandom(), 18467);
  EXPECT_EQ(NextRandom(), 6334);
  SeedRandom(12345);
  uint32_t expected = 12345u * 214013u + 2531011u;
  EXPECT_EQ(NextRandom(), static_cast<int32_t>((expected >> 16) & 0x7FFF));
  EXPECT_EQ(RandomState(), expected);
  for (int i = 0; i < 1000; ++i) {
    int32_t r = NextRandom();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 0x7FFF);
  }
  SeedRandom(saved);
}

}  // namespace quor
