#include "engine/core/live_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace quor {
namespace {

struct Tracked {
  Tracked() = default;
  Tracked(const Tracked&) {}
  Tracked& operator=(const Tracked&) { return *this; }
  LiveList<Tracked>::Link live{this};
};

std::vector<Tracked*> Live() {
  std::vector<Tracked*> all;
  LiveList<Tracked>::ForEach([&all](Tracked* t) { all.push_back(t); });
  return all;
}

TEST(LiveList, CopiesJoinOnTheirOwnAndTheDeadLeave) {
  EXPECT_TRUE(Live().empty());
  {
    Tracked a;
    auto* b = new Tracked(a);
    Tracked c;
    c = *b;
    EXPECT_EQ(Live(), (std::vector<Tracked*>{&c, b, &a}));
    delete b;
    EXPECT_EQ(Live(), (std::vector<Tracked*>{&c, &a}));
    c.live.Leave();
    c.live.Leave();
    EXPECT_EQ(Live(), (std::vector<Tracked*>{&a}));
  }
  EXPECT_TRUE(Live().empty());
}

}  // namespace
}  // namespace quor
