// The scenes' animation-set builders: which entries each fills, and how an entry's records
// come out of its table.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "game/animation/animation_builders.h"
#include "tests/game/animation/animation_records.h"

namespace game {
namespace {

using Builder = void (*)(quor::GameNode*);
using testing_support::DescribeEntry;

std::set<int> FilledEntries() {
  std::set<int> filled;
  for (int i = 0; i < quor::kAnimationTableSize; ++i)
    if (quor::AnimationTable[i].actionCount > 0) filled.insert(i);
  return filled;
}

std::set<int> Range(int first, int last) {
  std::set<int> r;
  for (int i = first; i <= last; ++i) r.insert(i);
  return r;
}

std::set<int> Union(std::initializer_list<std::set<int>> parts) {
  std::set<int> all;
  for (const auto& p : parts) all.insert(p.begin(), p.end());
  return all;
}

class AnimationBuilders : public testing_support::AnimationTableTest {};

// Each builder fills exactly the entries its scene's sprites select, and the engine's text
// cursor stays.
TEST_F(AnimationBuilders, EachFillsExactlyItsEntries) {
  struct Case {
    const char* scene;
    Builder build;
    std::set<int> entries;
  };
  const Case cases[] = {
      {"Start", BuildStartAnimationSets, {27}},
      {"Title", BuildTitleAnimationSets, {16}},
      {"Instruct", BuildInstructAnimationSets, {16}},
      {"Level1", BuildLevel1AnimationSets, Union({Range(0, 15), Range(17, 20)})},
      {"Lose", BuildLoseAnimationSets, {1, 4, 16}},
      {"Level2", BuildLevel2AnimationSets, Union({{1}, Range(3, 15), Range(18, 21), {23, 24}})},
      {"Win", BuildWinAnimationSets, {16}},
      {"Level4", BuildLevel4AnimationSets, Union({Range(0, 15), {17}, Range(19, 21), {23, 24}})},
      {"MidBoss", BuildMidBossAnimationSets, Union({Range(4, 15), Range(19, 21), {26, 28, 29}})},
      {"StageIntro", BuildStageIntroAnimationSets, {25}},
      {"Level3", BuildLevel3AnimationSets, Union({Range(0, 15), Range(17, 20)})},
      {"FinalLevel", BuildFinalLevelAnimationSets,
       Union({{1, 4}, Range(6, 15), Range(19, 21), Range(28, 32)})},
      {"FinalDoor", BuildFinalDoorAnimationSets, {25}},
  };
  for (const Case& c : cases) {
    Fill(c.build);
    std::set<int> expected = c.entries;
    expected.insert(quor::kTextsCursorAnimation);
    EXPECT_EQ(FilledEntries(), expected) << c.scene;
  }
}

TEST_F(AnimationBuilders, AListNamesEachEntryOnce) {
  for (EntryList list : {StartAnimationEntries(), Level1AnimationEntries(), LoseAnimationEntries(),
                         Level2AnimationEntries(), Level4AnimationEntries(),
                         MidBossAnimationEntries(), Level3AnimationEntries(),
                         FinalLevelAnimationEntries(), FinalDoorAnimationEntries()}) {
    std::set<int> seen(list.entries, list.entries + list.count);
    EXPECT_EQ(seen.size(), list.count);
  }
}

TEST_F(AnimationBuilders, ABuilderRunTwiceGivesTheSameRecords) {
  BuildLevel1AnimationSets(nullptr);
  std::string first;
  for (int e = 0; e < quor::kAnimationTableSize; ++e) first += DescribeEntry(e) + '\n';
  Fill(BuildLevel1AnimationSets);
  std::string second;
  for (int e = 0; e < quor::kAnimationTableSize; ++e) second += DescribeEntry(e) + '\n';
  EXPECT_EQ(first, second);
  // The hero's entry is the same whichever scene filled it.
  const std::string hero = DescribeEntry(4);
  Fill(BuildLoseAnimationSets);
  EXPECT_EQ(DescribeEntry(4), hero);
}

// The hero's walk-down outline: listed from (16, 20) and added in that order, so the list
// begins with the segment added last.
TEST_F(AnimationBuilders, ShapeListsHoldTheirShapesInReverseOrderOfAdding) {
  BuildLoseAnimationSets(nullptr);
  const quor::SpriteFrame* frame = quor::FindAnimationFrame(4, 0, 0);
  ASSERT_NE(frame, nullptr);
  const quor::NodeList& list = frame->shapeLists[quor::kFlipNone];
  ASSERT_EQ(list.Count(), 12);
  auto* first = static_cast<quor::CollisionSegment*>(list.GetHead());
  EXPECT_EQ(first->GetX1(), 13.0f);
  EXPECT_EQ(first->GetY1(), 19.0f);
  EXPECT_EQ(first->GetX2(), 15.0f);
  EXPECT_EQ(first->GetY2(), 19.0f);
  auto* last = static_cast<quor::CollisionSegment*>(list.GetTail());
  EXPECT_EQ(last->GetX1(), 16.0f);
  EXPECT_EQ(last->GetY1(), 20.0f);
  EXPECT_EQ(last->GetX2(), 16.0f);
  EXPECT_EQ(last->GetY2(), 9.0f);
  // The flipped cases keep what the record's constructor gave them.
  for (int flip = quor::kFlipX; flip <= quor::kFlipBoth; ++flip) {
    EXPECT_EQ(frame->shapeLists[flip].Count(), 0);
    EXPECT_EQ(frame->collisionRects[flip].right, 31);
  }
}

TEST_F(AnimationBuilders, FrameDeparturesAndCommonValues) {
  BuildLoseAnimationSets(nullptr);
  const quor::SpriteFrame* left = quor::FindAnimationFrame(4, 1, 2);
  ASSERT_NE(left, nullptr);
  EXPECT_STREQ(left->bitmapName, "FC - Walk L2.bmp");
  EXPECT_EQ(left->collisionRects[0].right, 9);
  EXPECT_EQ(left->collisionRects[0].bottom, 21);
  EXPECT_EQ(left->referencePoints[0][0].x, 8);
  EXPECT_EQ(left->referencePoints[0][0].y, 11);
  EXPECT_EQ(left->anchorX, 8);
  EXPECT_EQ(left->colorKeyOn, 1);
  const quor::SpriteFrame* death = quor::FindAnimationFrame(4, 9, 7);
  ASSERT_NE(death, nullptr);
  EXPECT_EQ(death->collisionRects[0].right, 37);
  EXPECT_EQ(death->collisionRects[0].bottom, 32);
  EXPECT_EQ(quor::FindAnimationAction(4, 9)->loopStart, 7);
  EXPECT_EQ(death->shapeLists[0].Count(), 0);
}

TEST_F(AnimationBuilders, AnArrayThatCannotBeHadLeavesACountOfZero) {
  quor::FailNextArrayAllocs(1);
  BuildLoseAnimationSets(nullptr);  // entry 16's actions fail; the hero's after it is whole
  EXPECT_EQ(quor::AnimationTable[16].actionCount, 0);
  EXPECT_EQ(quor::AnimationTable[16].actions, nullptr);
  EXPECT_EQ(quor::AnimationTable[4].actionCount, 10);
}

}  // namespace
}  // namespace game
