#include "bench/scene_entry_label.h"

#include <gtest/gtest.h>

namespace bench {
namespace {

// An entry is OVER when it takes more than one 16 ms frame or more than 1.5 times its floor,
// and the label names each bound it breaks; both bounds are inclusive.
TEST(SceneEntryLabel, NamesEachBoundBroken) {
  EXPECT_EQ(EntryLabel(16.0, 12.0), "within one frame and 1.5 x floor");
  EXPECT_EQ(EntryLabel(3.0, 2.0), "within one frame and 1.5 x floor");
  EXPECT_EQ(EntryLabel(16.5, 12.0), "OVER one frame");
  EXPECT_EQ(EntryLabel(3.1, 2.0), "OVER 1.5 x floor");
  EXPECT_EQ(EntryLabel(40.0, 8.0), "OVER one frame and 1.5 x floor");
}

}  // namespace
}  // namespace bench
