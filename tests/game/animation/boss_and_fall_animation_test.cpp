// The fall before the levels, the two bosses, their shots and their life bars: what the
// scenes and the boss machines rely on in these entries.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"
#include "game/animation/animation_builders.h"
#include "tests/game/animation/animation_records.h"

namespace game {
namespace {

using testing_support::DescribeEntry;
using testing_support::EntryTotals;
using testing_support::FrameCounts;
using testing_support::ShapeTotals;
using testing_support::TableTotals;
using testing_support::Totals;

constexpr int kFalling = 25;
constexpr int kDemonLife = 26;
constexpr int kDemon = 28;
constexpr int kDemonShots = 29;
constexpr int kTenma = 30;
constexpr int kTenmaShots = 31;
constexpr int kTenmaLife = 32;

class BossAndFallAnimation : public testing_support::AnimationTableTest {};

std::vector<int> LoopStarts(int entry) {
  std::vector<int> starts;
  const quor::AnimationSet& set = quor::AnimationTable[entry];
  for (int a = 0; a < set.actionCount; ++a) starts.push_back(set.actions[a].loopStart);
  return starts;
}

const char* BitmapOf(int entry, int action, int frame) {
  const quor::SpriteFrame* f = quor::FindAnimationFrame(entry, action, frame);
  return f ? f->bitmapName : "";
}

TEST_F(BossAndFallAnimation, ActionsFramesAndShapesOfEachEntry) {
  struct Case {
    int entry;
    void (*build)(quor::GameNode*);
    std::vector<int> frames;
    std::vector<int> loopStarts;
    int segments;
    int circles;
  };
  const Case cases[] = {
      {kFalling, BuildStageIntroAnimationSets, {14, 30, 4}, {0, 0, 0}, 0, 0},
      {kDemonLife, BuildMidBossAnimationSets, {13}, {0}, 0, 0},
      {kDemon, BuildMidBossAnimationSets, {4, 3, 3, 7}, {0, 0, 0, 0}, 131, 0},
      {kDemonShots, BuildMidBossAnimationSets, {4, 5, 6, 2, 3}, {0, 0, 0, 0, 0}, 24, 7},
      {kTenma, BuildFinalLevelAnimationSets, {3, 5, 20, 17, 8}, {0, 0, 0, 0, 7}, 185, 0},
      {kTenmaShots, BuildFinalLevelAnimationSets, {1, 7, 6}, {0, 0, 0}, 4, 17},
      {kTenmaLife, BuildFinalLevelAnimationSets, {20}, {0}, 0, 0},
  };
  for (const Case& c : cases) {
    Fill(c.build);
    EXPECT_EQ(FrameCounts(c.entry), c.frames) << c.entry;
    EXPECT_EQ(LoopStarts(c.entry), c.loopStarts) << c.entry;
    const Totals totals = EntryTotals(c.entry);
    EXPECT_EQ(totals.segments, c.segments) << c.entry;
    EXPECT_EQ(totals.circles, c.circles) << c.entry;
    const quor::AnimationSet& set = quor::AnimationTable[c.entry];
    for (int a = 0; a < set.actionCount; ++a) EXPECT_EQ(set.actions[a].sound, nullptr);
  }
}

// The whole of what each of these scenes' builders fills, the entries the scenes share
// with the earlier levels included.
TEST_F(BossAndFallAnimation, EachBuilderFillsItsStatedTotals) {
  struct Case {
    const char* scene;
    void (*build)(quor::GameNode*);
    Totals totals;  // entries, actions, frames, segments, circles
  };
  const Case cases[] = {
      {"MidBoss", BuildMidBossAnimationSets, {18, 37, 116, 495, 15}},
      {"StageIntro", BuildStageIntroAnimationSets, {1, 3, 48, 0, 0}},
      {"Level3", BuildLevel3AnimationSets, {20, 48, 128, 493, 31}},
      {"FinalLevel", BuildFinalLevelAnimationSets, {20, 49, 191, 701, 28}},
      {"FinalDoor", BuildFinalDoorAnimationSets, {1, 3, 48, 0, 0}},
  };
  for (const Case& c : cases) {
    Fill(c.build);
    EXPECT_EQ(TableTotals(), c.totals) << c.scene;
  }
}

// The fall is filled by "StageIntro" and "FinalDoor", the mid boss by "MidBoss" and
// "FinalLevel", and the earlier levels' entries by these scenes too: an entry holds the same
// records whichever scene filled it.
TEST_F(BossAndFallAnimation, EveryEntryIsTheSameWhicheverSceneFillsIt) {
  void (*const builders[])(quor::GameNode*) = {
      BuildStartAnimationSets,      BuildTitleAnimationSets,  BuildInstructAnimationSets,
      BuildLevel1AnimationSets,     BuildLoseAnimationSets,   BuildLevel2AnimationSets,
      BuildWinAnimationSets,        BuildLevel4AnimationSets, BuildMidBossAnimationSets,
      BuildStageIntroAnimationSets, BuildLevel3AnimationSets, BuildFinalLevelAnimationSets,
      BuildFinalDoorAnimationSets};
  std::map<int, std::string> first;
  std::map<int, int> fills;
  for (auto build : builders) {
    Fill(build);
    for (int e = 0; e < quor::kTextsCursorAnimation; ++e) {
      if (quor::AnimationTable[e].actionCount == 0) continue;
      ++fills[e];
      const std::string records = DescribeEntry(e);
      auto [it, added] = first.emplace(e, records);
      if (!added) {
        EXPECT_EQ(records, it->second) << "entry " << e;
      }
    }
  }
  EXPECT_EQ(fills[kFalling], 2);
  EXPECT_EQ(fills[kDemon], 2);
  EXPECT_EQ(fills[kDemonShots], 2);
  EXPECT_EQ(fills[kDemonLife], 1);
  EXPECT_EQ(fills[kTenma], 1);
}

// "StageIntro" plays the castle and the cave, "FinalDoor" the second castle, which starts
// at its seventh picture; only the cave leaves its grey out, all but its last picture.
TEST_F(BossAndFallAnimation, TheFallsPicturesAndWhichAreDrawnWhole) {
  BuildStageIntroAnimationSets(nullptr);
  EXPECT_STREQ(BitmapOf(kFalling, 0, 9), "Castle One - A10.bmp");
  EXPECT_STREQ(BitmapOf(kFalling, 1, 0), "CaveS - 01.bmp");
  EXPECT_STREQ(BitmapOf(kFalling, 2, 0), "Castle One - B07.bmp");
  EXPECT_STREQ(BitmapOf(kFalling, 2, 1), "Castle One - B08.bmp");
  EXPECT_EQ(quor::FindAnimationFrame(kFalling, 2, 0)->duration, 40);
  const quor::AnimationSet& set = quor::AnimationTable[kFalling];
  for (int a = 0; a < set.actionCount; ++a)
    for (int f = 0; f < set.actions[a].frameCount; ++f) {
      const quor::SpriteFrame& frame = set.actions[a].frames[f];
      const bool keyed = a == 1 && f < 29;
      EXPECT_EQ(frame.colorKeyOn, keyed ? 1 : 0) << a << ' ' << f;
      EXPECT_EQ(frame.colorKey, 0xc8d0d4u);
      EXPECT_EQ(frame.collisionRects[0].right, 153);
      EXPECT_EQ(frame.collisionRects[0].bottom, 96);
      EXPECT_EQ(frame.referencePoints[0][0].x, 77);
      EXPECT_EQ(frame.referencePoints[0][0].y, 48);
    }
}

// A life bar's behaviour sets the frame of the life value every tick, before the
// animation step of that tick; the bar must then show exactly that frame when drawn.
std::vector<int> DrawnFrames(int entry, int full, int ticksPerValue) {
  quor::Sprite bar;
  bar.SetAnimation(static_cast<int8_t>(entry));
  bar.SetAction(0);
  bar.SetFrame(0);
  std::vector<int> drawn;
  for (int life = full; life >= 0; --life)
    for (int t = 0; t < ticksPerValue; ++t) {
      bar.SetFrame(static_cast<int8_t>(life));
      bar.Animate();
      drawn.push_back(bar.GetFrame());
    }
  return drawn;
}

std::vector<int> Expected(int full, int ticksPerValue) {
  std::vector<int> frames;
  for (int life = full; life >= 0; --life) frames.insert(frames.end(), ticksPerValue, life);
  return frames;
}

TEST_F(BossAndFallAnimation, TheMidBossBarShowsTheFrameOfEveryLife) {
  BuildMidBossAnimationSets(nullptr);
  EXPECT_EQ(DrawnFrames(kDemonLife, 12, 1), Expected(12, 1));
  EXPECT_EQ(DrawnFrames(kDemonLife, 12, 5), Expected(12, 5));
  // The pictures are numbered from full life down, with a half step between 6 and 5.
  EXPECT_STREQ(BitmapOf(kDemonLife, 0, 12), "BossLife - 01.bmp");
  EXPECT_STREQ(BitmapOf(kDemonLife, 0, 8), "BossLife - 05.bmp");
  EXPECT_STREQ(BitmapOf(kDemonLife, 0, 7), "BossLife - 05.5.bmp");
  EXPECT_STREQ(BitmapOf(kDemonLife, 0, 6), "BossLife - 06.bmp");
  EXPECT_STREQ(BitmapOf(kDemonLife, 0, 0), "BossLife - 12.bmp");
  // Full life is drawn whole; every other bar leaves its black out.
  for (int life = 0; life <= 12; ++life) {
    const quor::SpriteFrame* f = quor::FindAnimationFrame(kDemonLife, 0, life);
    EXPECT_EQ(f->colorKeyOn, life == 12 ? 0 : 1) << life;
    EXPECT_EQ(f->colorKey, life == 12 ? 0xc8d0d4u : 0u) << life;
  }
}

TEST_F(BossAndFallAnimation, TheFinalBossBarShowsTheFrameOfEveryLife) {
  BuildFinalLevelAnimationSets(nullptr);
  EXPECT_EQ(DrawnFrames(kTenmaLife, 19, 1), Expected(19, 1));
  EXPECT_EQ(DrawnFrames(kTenmaLife, 19, 20), Expected(19, 20));
  for (int life = 0; life <= 19; ++life) {
    char name[32];
    std::snprintf(name, sizeof name, "TenmaLife - %02d.bmp", life + 1);
    EXPECT_STREQ(BitmapOf(kTenmaLife, 0, life), name);
    EXPECT_EQ(quor::FindAnimationFrame(kTenmaLife, 0, life)->colorKeyOn, life == 19 ? 0 : 1);
  }
}

// A boss state sets its action and frame 0 on entry, then each tick fires when the frame
// it keys on is current and gives way once the action has finished; the sprite animates
// after the state's update. Returns the frames current at the state's update, in order.
std::vector<int> FramesSeenByTheState(int entry, int action) {
  quor::Sprite boss;
  boss.SetAnimation(static_cast<int8_t>(entry));
  boss.SetAction(0);
  boss.Animate();
  boss.SetAction(static_cast<int8_t>(action));
  boss.SetFrame(0);
  std::vector<int> seen;
  for (int tick = 0; tick < 10000 && !boss.IsActionFinished(action); ++tick) {
    seen.push_back(boss.GetFrame());
    boss.Animate();
  }
  return seen;
}

TEST_F(BossAndFallAnimation, EachBossFiresOnTheLastFrameOfItsAttack) {
  struct Case {
    int entry;
    int action;
    int firingFrame;
    const char* bitmap;
  };
  const Case cases[] = {
      {kDemon, 1, 2, "Grobnik - Beam 03.bmp"},    // the lasers
      {kDemon, 2, 2, "Grobnik - Breath 03.bmp"},  // the barf
      {kTenma, 1, 4, "Mage - Beam 05.bmp"},       // the laser
      {kTenma, 2, 19, "Mage - Blast 20.bmp"},     // the blob
  };
  BuildFinalLevelAnimationSets(nullptr);  // fills both bosses
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bitmap);
    EXPECT_EQ(quor::FindAnimationAction(c.entry, c.action)->frameCount, c.firingFrame + 1);
    EXPECT_STREQ(BitmapOf(c.entry, c.action, c.firingFrame), c.bitmap);
    // One pass shows every frame in order and ends on the firing frame, which the state
    // sees before it gives way.
    const std::vector<int> seen = FramesSeenByTheState(c.entry, c.action);
    ASSERT_FALSE(seen.empty());
    std::vector<int> order{seen.front()};
    for (int f : seen)
      if (f != order.back()) order.push_back(f);
    std::vector<int> expected;
    for (int f = 0; f <= c.firingFrame; ++f) expected.push_back(f);
    EXPECT_EQ(order, expected);
  }
}

// The death plays once to its end; the final boss's cloud then stays on its last picture.
TEST_F(BossAndFallAnimation, TheDeathsPlayThroughOnce) {
  BuildFinalLevelAnimationSets(nullptr);
  EXPECT_EQ(FramesSeenByTheState(kDemon, 3).back(), 6);
  EXPECT_EQ(FramesSeenByTheState(kTenma, 4).back(), 7);

  quor::Sprite cloud;
  cloud.SetAnimation(kTenma);
  cloud.SetAction(4);
  cloud.SetFrame(0);
  for (int tick = 0; tick < 500; ++tick) cloud.Animate();
  EXPECT_EQ(cloud.GetFrame(), 7);
}

// Whether (x, y) lies inside the closed outline, by the crossings of a ray to the right.
bool Inside(const std::vector<const quor::CollisionSegment*>& outline, double x, double y) {
  bool inside = false;
  for (const quor::CollisionSegment* s : outline) {
    const double x1 = s->GetX1(), y1 = s->GetY1(), x2 = s->GetX2(), y2 = s->GetY2();
    if ((y1 > y) != (y2 > y) && x < x1 + (y - y1) * (x2 - x1) / (y2 - y1)) inside = !inside;
  }
  return inside;
}

// Every segment outline of the bosses and of their beams is closed and every normal points
// out of it: a point just off the middle of each segment, along its normal, lies outside.
TEST_F(BossAndFallAnimation, BodyOutlinesAreClosedWithTheirNormalsOutward) {
  struct Body {
    int entry;
    int action;
  };
  const Body bodies[] = {{kDemon, 0}, {kDemon, 1}, {kDemon, 2}, {kDemonShots, 2}, {kTenma, 0},
                         {kTenma, 1}, {kTenma, 2}, {kTenma, 3}, {kTenmaShots, 0}};
  BuildFinalLevelAnimationSets(nullptr);
  for (const Body& b : bodies) {
    const quor::SpriteAction* action = quor::FindAnimationAction(b.entry, b.action);
    for (int f = 0; f < action->frameCount; ++f) {
      SCOPED_TRACE(std::string(action->frames[f].bitmapName));
      std::vector<const quor::CollisionSegment*> outline;
      const quor::NodeList& list = action->frames[f].shapeLists[quor::kFlipNone];
      for (quor::Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext())
        if (static_cast<quor::CollisionShape*>(n)->GetShapeType() == 0)
          outline.push_back(static_cast<const quor::CollisionSegment*>(n));
      ASSERT_GE(outline.size(), 4u);
      for (const quor::CollisionSegment* s : outline) {
        int startsHere = 0;
        for (const quor::CollisionSegment* t : outline)
          if (t->GetX1() == s->GetX2() && t->GetY1() == s->GetY2()) ++startsHere;
        EXPECT_EQ(startsHere, 1) << "after " << s->GetX1() << ',' << s->GetY1();
        const double mx = (s->GetX1() + s->GetX2()) / 2.0 + 0.25 * s->GetNormalX();
        const double my = (s->GetY1() + s->GetY2()) / 2.0 + 0.25 * s->GetNormalY();
        EXPECT_FALSE(Inside(outline, mx, my)) << s->GetX1() << ',' << s->GetY1();
      }
    }
  }
}

// Rows the boss machines and the collision tests lean on.
TEST_F(BossAndFallAnimation, ChosenFramesAndShapes) {
  BuildFinalLevelAnimationSets(nullptr);
  // The first beam picture is shorter than the others but takes their centre and box.
  const quor::SpriteFrame* beam = quor::FindAnimationFrame(kDemon, 1, 0);
  EXPECT_EQ(beam->height, 133);
  EXPECT_EQ(beam->referencePoints[0][0].y, 68);
  EXPECT_EQ(beam->anchorY, 68);
  EXPECT_EQ(beam->collisionRects[0].bottom, 135);
  EXPECT_EQ(quor::FindAnimationFrame(kDemon, 1, 1)->height, 136);
  EXPECT_EQ(quor::FindAnimationFrame(kDemon, 0, 0)->collisionRects[0].bottom, 132);

  // Circles off the picture's centre.
  auto firstCircle = [](int entry, int action) {
    return static_cast<const quor::CollisionCircle*>(
        quor::FindAnimationFrame(entry, action, 0)->shapeLists[0].GetHead());
  };
  EXPECT_EQ(firstCircle(kDemonShots, 0)->GetX(), 6.0f);
  EXPECT_EQ(firstCircle(kDemonShots, 0)->GetRadius(), 3.0f);
  EXPECT_EQ(firstCircle(kDemonShots, 4)->GetY(), 33.0f);
  EXPECT_EQ(firstCircle(kDemonShots, 4)->GetRadius(), 27.0f);

  // The laser's shapes were added circles first, so its list begins with the box.
  const quor::NodeList& laser = quor::FindAnimationFrame(kTenmaShots, 0, 0)->shapeLists[0];
  EXPECT_EQ(static_cast<quor::CollisionShape*>(laser.GetHead())->GetShapeType(), 0);
  EXPECT_EQ(static_cast<quor::CollisionShape*>(laser.GetTail())->GetShapeType(), 1);
  EXPECT_EQ(static_cast<const quor::CollisionCircle*>(laser.GetTail())->GetX(), 2.0f);

  // The cloud is smaller than the boss and centred on itself.
  const quor::SpriteFrame* cloud = quor::FindAnimationFrame(kTenma, 4, 0);
  EXPECT_EQ(cloud->width, 71);
  EXPECT_EQ(cloud->referencePoints[0][0].x, 35);
  EXPECT_EQ(cloud->referencePoints[0][0].y, 34);
  EXPECT_EQ(ShapeTotals(*cloud).segments, 0);
  // Spark frames have nothing to collide with.
  EXPECT_EQ(ShapeTotals(*quor::FindAnimationFrame(kDemonShots, 3, 1)).segments, 0);
}

}  // namespace
}  // namespace game
