#include "engine/scene/animation.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/scene/collision_shape.h"

namespace quor {
namespace {

// Every test leaves the global table empty, as a scene switch would.
class AnimationTableTest : public ::testing::Test {
 protected:
  void TearDown() override {
    FailNextArrayAllocs(0);
    EmptyAnimationTable();
  }
};

TEST_F(AnimationTableTest, NewRecordsHoldTheirDefaults) {
  SpriteFrame frame;
  EXPECT_STREQ(frame.bitmapName, "");
  EXPECT_EQ(frame.colorKey, 0x00FF00u);
  EXPECT_EQ(frame.duration, 0);
  EXPECT_EQ(frame.surface, nullptr);
  EXPECT_EQ(frame.colorKeyOn, 0);
  for (const Rect& r : frame.collisionRects) {
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 31);
    EXPECT_EQ(r.bottom, 31);
  }
  for (const NodeList& list : frame.shapeLists) EXPECT_EQ(list.Count(), 0);
  SpriteAction action;
  EXPECT_EQ(action.frameCount, 0);
  EXPECT_EQ(action.frames, nullptr);
  EXPECT_EQ(action.loopStart, 0);
  EXPECT_EQ(action.soundOn, 1);
  EXPECT_EQ(action.soundMode, 0);
  for (const AnimationSet& set : AnimationTable) {
    EXPECT_EQ(set.actionCount, 0);
    EXPECT_EQ(set.actions, nullptr);
  }
}

TEST_F(AnimationTableTest, ShapesAreHeldInReverseOrderOfAdding) {
  SpriteFrame frame;
  CollisionSegment a(0, 0, 10, 0, 0, 0);
  CollisionCircle b(12, 11, 11, 0, 0);
  CollisionSegment c(5, 5, 5, 20, 0, 0);
  frame.AddCollisionSegment(a);
  frame.AddCollisionCircle(b);
  frame.AddCollisionSegment(c);
  NodeList& list = frame.shapeLists[kFlipNone];
  ASSERT_EQ(list.Count(), 3);
  auto* first = dynamic_cast<CollisionSegment*>(list.GetHead());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetX1(), 5.0f);
  EXPECT_EQ(first->GetLengthY(), 15.0f);
  auto* second = dynamic_cast<CollisionCircle*>(first->GetNext());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetRadius(), 11.0f);
  auto* third = dynamic_cast<CollisionSegment*>(second->GetNext());
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->GetLengthX(), 10.0f);
  EXPECT_TRUE(third->GetNext()->IsEnd());
  // The caller keeps its own shapes; the frame holds copies.
  EXPECT_NE(static_cast<Node*>(&c), list.GetHead());
  for (int i = 1; i < 4; ++i) EXPECT_EQ(frame.shapeLists[i].Count(), 0);
}

TEST_F(AnimationTableTest, PointSegmentsAreSkippedButZeroCirclesAreNot) {
  SpriteFrame frame;
  frame.AddCollisionSegment(CollisionSegment(35, 1, 35, 1, 0, 0));
  EXPECT_EQ(frame.shapeLists[kFlipNone].Count(), 0);
  frame.AddCollisionSegment(CollisionSegment(0, 4, 9, 4, 0, 0));  // horizontal
  frame.AddCollisionSegment(CollisionSegment(4, 0, 4, 9, 0, 0));  // vertical
  frame.AddCollisionCircle(CollisionCircle(3, 3, 0, 0, 0));
  EXPECT_EQ(frame.shapeLists[kFlipNone].Count(), 3);
}

TEST_F(AnimationTableTest, CountsFollowTheArraysAndFailedAllocationsLeaveZero) {
  AnimationSet& set = AnimationTable[7];
  ASSERT_TRUE(set.SetActionCount(3));
  EXPECT_EQ(set.actionCount, 3);
  ASSERT_NE(set.actions, nullptr);
  ASSERT_TRUE(set.actions[2].SetFrameCount(4));
  EXPECT_EQ(set.actions[2].frames[3].colorKey, 0x00FF00u);
  EXPECT_EQ(FindAnimationFrame(7, 2, 3), &set.actions[2].frames[3]);
  EXPECT_EQ(FindAnimationFrame(7, 2, 4), nullptr);
  EXPECT_EQ(FindAnimationFrame(7, 3, 0), nullptr);
  EXPECT_EQ(FindAnimationFrame(7, -1, 0), nullptr);
  EXPECT_EQ(FindAnimationFrame(8, 0, 0), nullptr);
  EXPECT_EQ(FindAnimationFrame(51, 0, 0), nullptr);
  EXPECT_EQ(FindAnimationFrame(-1, 0, 0), nullptr);

  FailNextArrayAllocs(1);
  EXPECT_FALSE(set.actions[1].SetFrameCount(5));
  EXPECT_EQ(set.actions[1].frameCount, 0);
  EXPECT_EQ(set.actions[1].frames, nullptr);
  EXPECT_EQ(FindAnimationFrame(7, 1, 0), nullptr);

  FailNextArrayAllocs(1);
  EXPECT_FALSE(AnimationTable[9].SetActionCount(2));
  EXPECT_EQ(AnimationTable[9].actionCount, 0);
  EXPECT_EQ(AnimationTable[9].actions, nullptr);
}

TEST_F(AnimationTableTest, EmptyingTheTableFreesEveryEntry) {
  for (int e : {0, 21, 32}) {
    ASSERT_TRUE(AnimationTable[e].SetActionCount(2));
    for (int a = 0; a < 2; ++a) {
      ASSERT_TRUE(AnimationTable[e].actions[a].SetFrameCount(3));
      SpriteFrame& f = AnimationTable[e].actions[a].frames[1];
      f.AddCollisionCircle(CollisionCircle(1, 1, 1, 0, 0));
      f.surface = reinterpret_cast<platform::Surface*>(&f);  // any non-null marker
    }
  }
  BuildTextsCursorAnimation();

  ClearAnimationTableShapes();
  SpriteFrame& kept = AnimationTable[21].actions[1].frames[1];
  EXPECT_EQ(kept.surface, nullptr);
  EXPECT_EQ(kept.shapeLists[kFlipNone].Count(), 0);
  EXPECT_EQ(AnimationTable[21].actionCount, 2);  // the arrays stay

  EmptyAnimationTable();
  for (const AnimationSet& set : AnimationTable) {
    EXPECT_EQ(set.actionCount, 0);
    EXPECT_EQ(set.actions, nullptr);
  }
}

TEST_F(AnimationTableTest, EmptyingWalksOnlyTheArraysThatExist) {
  // A builder writes the count first; when the array cannot be had it stays null.
  AnimationTable[3].actionCount = 4;
  ASSERT_TRUE(AnimationTable[4].SetActionCount(2));
  AnimationTable[4].actions[1].frameCount = 3;
  ASSERT_TRUE(AnimationTable[4].actions[0].SetFrameCount(1));
  AnimationTable[4].actions[0].frames[0].AddCollisionCircle(CollisionCircle(1, 1, 1, 0, 0));

  ClearAnimationTableShapes();
  EXPECT_EQ(AnimationTable[4].actions[0].frames[0].shapeLists[kFlipNone].Count(), 0);
  EmptyAnimationTable();
  EXPECT_EQ(AnimationTable[3].actionCount, 0);
  EXPECT_EQ(AnimationTable[4].actions, nullptr);
}

TEST_F(AnimationTableTest, TextsCursorEntry) {
  EmptyAnimationTable();
  BuildTextsCursorAnimation();
  const AnimationSet& set = AnimationTable[kTextsCursorAnimation];
  ASSERT_EQ(set.actionCount, 1);
  ASSERT_EQ(set.actions[0].frameCount, 1);
  EXPECT_EQ(set.actions[0].loopStart, 0);
  const SpriteFrame& f = set.actions[0].frames[0];
  EXPECT_STREQ(f.bitmapName, "TEXTSCURSOR");
  EXPECT_EQ(f.width, 10);
  EXPECT_EQ(f.height, 19);
  EXPECT_EQ(f.colorKey, 0xFFFFFFu);
  EXPECT_EQ(f.duration, 1);
  EXPECT_EQ(f.referencePoints[0][0].x, 5);
  EXPECT_EQ(f.referencePoints[0][0].y, 9);
  EXPECT_EQ(f.collisionRects[kFlipNone].right, 9);
  EXPECT_EQ(f.collisionRects[kFlipNone].bottom, 18);
  EXPECT_EQ(f.collisionRects[kFlipX].right, 31);
  EXPECT_EQ(f.anchorX, 5);
  EXPECT_EQ(f.anchorY, 9);
  EXPECT_EQ(f.anchorOn, 0);
  EXPECT_EQ(f.colorKeyOn, 1);
  for (int e = 0; e < kTextsCursorAnimation; ++e) EXPECT_EQ(AnimationTable[e].actionCount, 0);

  // Refilled after each emptying, and refilling an already filled entry does not leak.
  BuildTextsCursorAnimation();
  EmptyAnimationTable();
  EXPECT_EQ(AnimationTable[kTextsCursorAnimation].actionCount, 0);
  BuildTextsCursorAnimation();
  EXPECT_EQ(AnimationTable[kTextsCursorAnimation].actionCount, 1);
}

}  // namespace
}  // namespace quor
