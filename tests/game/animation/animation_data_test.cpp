// The animation data of the scenes from "Start" to "Level4", checked against what the game
// states about it: totals per scene, actions and frames per entry, the rhythms that come out
// of the durations when the engine's animation step plays them, and the frames that depart
// from the common values.
#include "game/animation/animation_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"
#include "game/animation/animation_builders.h"
#include "tests/game/animation/animation_records.h"

namespace game {
namespace {

using Builder = void (*)(quor::GameNode*);
using testing_support::FrameCounts;
using testing_support::TableTotals;
using testing_support::Totals;

// Calls fn(entry, action, frame, record) for every frame of the listed entries.
template <typename Entries, typename Fn>
void ForEachFrame(const Entries& entries, Fn fn) {
  for (int e : entries) {
    const quor::AnimationSet& set = quor::AnimationTable[e];
    for (int a = 0; a < set.actionCount; ++a)
      for (int f = 0; f < set.actions[a].frameCount; ++f) fn(e, a, f, set.actions[a].frames[f]);
  }
}

std::string Where(int entry, int action, int frame) {
  return std::to_string(entry) + '/' + std::to_string(action) + '/' + std::to_string(frame);
}

// A frame's unflipped shapes from the list's head, in whole pixels: a segment's start and
// end, or a circle's centre and radius.
struct ShapeRecord {
  bool circle;
  long v[4];
};
std::vector<ShapeRecord> ShapeRecords(const quor::SpriteFrame& frame) {
  std::vector<ShapeRecord> records;
  const quor::NodeList& list = frame.shapeLists[quor::kFlipNone];
  for (quor::Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    auto* shape = static_cast<quor::CollisionShape*>(n);
    if (shape->GetShapeType() == 0) {
      auto* s = static_cast<quor::CollisionSegment*>(shape);
      records.push_back({false,
                         {std::lround(s->GetX1()), std::lround(s->GetY1()), std::lround(s->GetX2()),
                          std::lround(s->GetY2())}});
    } else {
      auto* c = static_cast<quor::CollisionCircle*>(shape);
      records.push_back(
          {true, {std::lround(c->GetX()), std::lround(c->GetY()), std::lround(c->GetRadius()), 0}});
    }
  }
  return records;
}

// The same written out: "s x1,y1,x2,y2" or "c x,y,r".
std::vector<std::string> ShapesOf(const quor::SpriteFrame& frame) {
  std::vector<std::string> shapes;
  for (const ShapeRecord& r : ShapeRecords(frame)) {
    std::string text = r.circle ? "c " : "s ";
    for (int i = 0; i < (r.circle ? 3 : 4); ++i) text += (i ? "," : "") + std::to_string(r.v[i]);
    shapes.push_back(text);
  }
  return shapes;
}

class AnimationData : public testing_support::AnimationTableTest {};

TEST_F(AnimationData, EachBuilderFillsTheStatedTotals) {
  struct Case {
    const char* scene;
    Builder build;
    int frames, segments, circles;
  };
  const Case cases[] = {
      {"Start", BuildStartAnimationSets, 137, 0, 0},
      {"Title", BuildTitleAnimationSets, 2, 0, 0},
      {"Instruct", BuildInstructAnimationSets, 2, 0, 0},
      {"Level1", BuildLevel1AnimationSets, 128, 493, 31},
      {"Lose", BuildLoseAnimationSets, 40, 291, 0},
      {"Level2", BuildLevel2AnimationSets, 119, 501, 8},
      {"Win", BuildWinAnimationSets, 2, 0, 0},
      {"Level4", BuildLevel4AnimationSets, 154, 609, 31},
  };
  for (const Case& c : cases) {
    Fill(c.build);
    const Totals totals = TableTotals();  // the engine's text cursor aside
    EXPECT_EQ(totals.frames, c.frames) << c.scene;
    EXPECT_EQ(totals.segments, c.segments) << c.scene;
    EXPECT_EQ(totals.circles, c.circles) << c.scene;
  }
}

// The entries of these scenes, each filled alone into the emptied table.
constexpr int kEntries[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                            13, 14, 15, 16, 17, 18, 19, 20, 21, 23, 24, 27};

void FillEntries() {
  for (int e : kEntries) FillAnimationEntry(e, AnimationEntryData(e));
}

const quor::SpriteFrame& FrameAt(int entry, int action, int frame) {
  static const quor::SpriteFrame kNone;
  const quor::SpriteFrame* f = quor::FindAnimationFrame(entry, action, frame);
  EXPECT_NE(f, nullptr) << Where(entry, action, frame);
  return f ? *f : kNone;
}

struct Point {
  long x, y;
  bool operator<(const Point& o) const { return x != o.x ? x < o.x : y < o.y; }
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

// The segments of a frame as (start, end) pairs.
std::vector<std::pair<Point, Point>> SegmentsOf(const quor::SpriteFrame& frame) {
  std::vector<std::pair<Point, Point>> segments;
  for (const ShapeRecord& r : ShapeRecords(frame))
    if (!r.circle) segments.push_back({{r.v[0], r.v[1]}, {r.v[2], r.v[3]}});
  return segments;
}

// Twice the area the segments enclose, as the shoelace sums it; with y growing downward it
// is negative for outlines that run counter-clockwise on screen, whose normals point out.
long TwiceSignedArea(const std::vector<std::pair<Point, Point>>& segments) {
  long sum = 0;
  for (const auto& s : segments) sum += s.first.x * s.second.y - s.second.x * s.first.y;
  return sum;
}

// Where segments begin that no segment ends at: empty for closed outlines.
std::vector<Point> LooseEnds(const std::vector<std::pair<Point, Point>>& segments) {
  std::vector<Point> starts, ends;
  for (const auto& s : segments) {
    starts.push_back(s.first);
    ends.push_back(s.second);
  }
  std::sort(starts.begin(), starts.end());
  std::sort(ends.begin(), ends.end());
  std::vector<Point> loose;
  std::set_difference(starts.begin(), starts.end(), ends.begin(), ends.end(),
                      std::back_inserter(loose));
  return loose;
}

TEST_F(AnimationData, EachEntryHasItsActionsAndFrames) {
  FillEntries();
  const std::vector<std::pair<int, std::vector<int>>> expected = {
      {0, {11, 12}},
      {1, {1, 1, 1, 1, 1}},
      {2, {2, 2}},
      {3, {7, 7}},
      {4, {4, 4, 4, 4, 2, 1, 2, 2, 2, 8}},
      {5, {4}},
      {6, {1}},
      {7, {1}},
      {8, {1}},
      {9, {1}},
      {10, {1}},
      {11, {1}},
      {12, {2}},
      {13, {1}},
      {14, {5}},
      {15, {1, 3, 1}},
      {16, {2}},
      {17, {4, 4, 4, 4}},
      {18, {1, 1, 1, 1, 1, 1, 1, 1}},
      {19, {1}},
      {20, {1}},
      {21, {1, 7}},
      {23, {11, 11}},
      {24, {4}},
      {27, {21, 33, 29, 41, 11, 2}},
  };
  for (const auto& [entry, frames] : expected)
    EXPECT_EQ(FrameCounts(entry), frames) << "entry " << entry;
}

// What the stand-in pictures and the bitmap loading need of every frame.
TEST_F(AnimationData, EveryFrameNamesABitmapWithSizeKeyAndDuration) {
  FillEntries();
  int frames = 0;
  ForEachFrame(kEntries, [&frames](int e, int a, int f, const quor::SpriteFrame& fr) {
    ++frames;
    const std::string name = fr.bitmapName;
    SCOPED_TRACE(Where(e, a, f) + ' ' + name);
    EXPECT_LT(name.size(), 32u);
    ASSERT_GT(name.size(), 4u);
    EXPECT_EQ(name.substr(name.size() - 4), ".bmp");
    EXPECT_GT(fr.width, 0);
    EXPECT_GT(fr.height, 0);
    EXPECT_EQ(fr.colorKey & 0xff000000u, 0u);
    EXPECT_GE(fr.duration, 1);
    EXPECT_LE(fr.duration, 200);
    EXPECT_EQ(fr.anchorX, fr.referencePoints[0][0].x);
    EXPECT_EQ(fr.anchorY, fr.referencePoints[0][0].y);
    EXPECT_EQ(quor::FindAnimationAction(e, a)->sound, nullptr);
  });
  // "Level1"'s 128, the wall's, beams' and traps' 34, the prompt's 2 and the film's 137.
  EXPECT_EQ(frames, 301);
}

// The frames that depart from the common values, counted over all these entries: the
// centre in 12 frames, the collision rectangle in 19 and the colour-key flag in 17.
TEST_F(AnimationData, DeparturesFromTheCommonValuesAreCounted) {
  FillEntries();
  int centres = 0, rects = 0, opaque = 0;
  ForEachFrame(kEntries, [&](int, int, int, const quor::SpriteFrame& fr) {
    const quor::AnimationPoint& centre = fr.referencePoints[0][0];
    if (centre.x != fr.width / 2 || centre.y != fr.height / 2) ++centres;
    const quor::Rect& r = fr.collisionRects[quor::kFlipNone];
    if (r.left != 0 || r.top != 0 || r.right != fr.width - 1 || r.bottom != fr.height - 1) ++rects;
    if (fr.colorKeyOn == 0) ++opaque;
  });
  EXPECT_EQ(centres, 12);
  EXPECT_EQ(rects, 19);
  EXPECT_EQ(opaque, 17);
}

// Every outline is closed and runs counter-clockwise on screen, so its normals point out;
// the hero's walking-down and shouting-down outlines stop one pixel short of closing, the
// fire balls collide by an open edge, and the final level's barrier keeps a gap in its left
// side with its normals pointing in.
TEST_F(AnimationData, OutlinesAreClosedAndFaceOut) {
  FillEntries();
  ForEachFrame(kEntries, [](int e, int a, int f, const quor::SpriteFrame& fr) {
    const auto segments = SegmentsOf(fr);
    if (segments.size() < 3 || e == 2) return;
    SCOPED_TRACE(Where(e, a, f));
    const auto loose = LooseEnds(segments);
    if (e == 1 && a == 4) {
      EXPECT_EQ(loose, (std::vector<Point>{{2, 352}}));
      EXPECT_GT(TwiceSignedArea(segments), 0);
      return;
    }
    EXPECT_EQ(loose.size(), e == 4 && (a == 0 || a == 4) ? 1u : 0u);
    EXPECT_LT(TwiceSignedArea(segments), 0);
  });
}

// --- chosen frames, field by field ---

struct Expected {
  const char* bitmap;
  int width, height;
  uint32_t key;
  int duration;
  int centreX, centreY;
  quor::Rect rect;
  int keyOn;
};

void ExpectFrame(int entry, int action, int frame, const Expected& e) {
  SCOPED_TRACE(Where(entry, action, frame));
  const quor::SpriteFrame& f = FrameAt(entry, action, frame);
  EXPECT_STREQ(f.bitmapName, e.bitmap);
  EXPECT_EQ(f.width, e.width);
  EXPECT_EQ(f.height, e.height);
  EXPECT_EQ(f.colorKey, e.key);
  EXPECT_EQ(f.duration, e.duration);
  EXPECT_EQ(f.referencePoints[0][0].x, e.centreX);
  EXPECT_EQ(f.referencePoints[0][0].y, e.centreY);
  EXPECT_EQ(f.anchorX, e.centreX);
  EXPECT_EQ(f.anchorY, e.centreY);
  const quor::Rect& r = f.collisionRects[quor::kFlipNone];
  EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
            (std::vector<int>{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom}));
  EXPECT_EQ(f.colorKeyOn, e.keyOn);
  EXPECT_EQ(f.anchorOn, 0);
  EXPECT_EQ(f.flipXAllowed, 0);
  EXPECT_EQ(f.flipYAllowed, 0);
  EXPECT_EQ(f.movementX, 0.0f);
  EXPECT_EQ(f.movementY, 0.0f);
}

TEST_F(AnimationData, FramesThatDepartFromTheCommonValues) {
  FillEntries();
  // The smaller film pictures keep the centre and body of the larger ones.
  ExpectFrame(27, 3, 30, {"Intro2 - 91.bmp", 154, 97, 0xc8d0d4, 6, 90, 58, {0, 0, 180, 116}, 1});
  ExpectFrame(27, 3, 0, {"Intro2 - 65.1.bmp", 181, 117, 0xc8d0d4, 6, 90, 58, {0, 0, 180, 116}, 0});
  ExpectFrame(27, 5, 1, {"SpaceLoop1.bmp", 154, 97, 0xc8d0d4, 9, 77, 48, {0, 0, 153, 96}, 0});
  ExpectFrame(27, 5, 0, {"SpaceLoop2.bmp", 154, 97, 0xc8d0d4, 9, 77, 48, {0, 0, 153, 96}, 1});
  // The intact wall's centre and rectangle sit high in its picture.
  ExpectFrame(21, 0, 0, {"Bombwall.bmp", 34, 35, 0xffffff, 1, 17, 5, {0, 0, 33, 9}, 1});
  ExpectFrame(21, 1, 5, {"Bombwall - 06.1.bmp", 34, 35, 0xffffff, 30, 17, 17, {0, 0, 33, 34}, 1});
  EXPECT_EQ(quor::FindAnimationAction(21, 1)->loopStart, 6);
  ExpectFrame(0, 0, 10, {"Mellon Man F11.bmp", 25, 25, 0x004080, 15, 12, 12, {7, 6, 17, 13}, 1});
  EXPECT_EQ(ShapesOf(FrameAt(0, 0, 10)), (std::vector<std::string>{"c 12,11,11"}));
  // The wider left-facing Helmit pictures keep the narrower ones' body.
  ExpectFrame(17, 2, 1, {"Helmit - L2.bmp", 25, 21, 0xffffff, 9, 12, 10, {0, 0, 23, 20}, 1});
  ExpectFrame(17, 2, 2, {"Helmit - L3.bmp", 24, 21, 0xffffff, 9, 12, 10, {0, 0, 23, 20}, 1});
  ExpectFrame(17, 0, 0, {"Helmit - F3.bmp", 18, 21, 0xffffff, 9, 9, 10, {0, 0, 17, 20}, 1});
  ExpectFrame(4, 1, 0, {"FC - Walk L4.bmp", 17, 23, 0x8080, 9, 8, 11, {0, 0, 9, 21}, 1});
  ExpectFrame(4, 3, 3, {"FC - WaklB1.bmp", 16, 22, 0x8080, 9, 8, 11, {0, 0, 15, 21}, 1});
  // The life bar is drawn opaque below four hearts; of the covers only level 2's is keyed.
  ExpectFrame(14, 0, 3, {"Life 3.bmp", 45, 8, 0xc8d0d4, 1, 22, 4, {0, 0, 44, 7}, 0});
  ExpectFrame(14, 0, 4, {"Life 4.bmp", 45, 8, 0xc8d0d4, 1, 22, 4, {0, 0, 44, 7}, 1});
  ExpectFrame(18, 6, 0, {"Cover - Lv2.bmp", 6, 35, 0xcfcfcf, 1, 3, 17, {0, 0, 5, 34}, 1});
  ExpectFrame(18, 7, 0, {"Big Cover.bmp", 106, 316, 0xc8d0d4, 1, 53, 158, {0, 0, 105, 315}, 0});
  ExpectFrame(1, 4, 0, {"BlobStop.bmp", 505, 442, 0xffff00, 1, 252, 221, {0, 0, 504, 441}, 1});
  ExpectFrame(15, 1, 1, {"Door - 2.bmp", 31, 35, 0x595959, 10, 15, 17, {0, 0, 30, 34}, 1});
}

// Shapes are added in the order given, so a frame's list holds them last-added first; the
// outlines whose edges are given out of chain order keep that order.
TEST_F(AnimationData, ShapesInTheOrderOfAdding) {
  FillEntries();
  using Shapes = std::vector<std::string>;
  EXPECT_EQ(ShapesOf(FrameAt(3, 0, 1)),
            (Shapes{"s 26,17,26,0", "s 26,0,0,0", "s 0,0,0,17", "s 0,17,26,17"}));
  EXPECT_EQ(ShapesOf(FrameAt(3, 0, 4)),
            (Shapes{"s 0,0,0,17", "s 0,17,69,17", "s 69,17,69,0", "s 69,0,0,0"}));
  // Its box is one pixel shorter than the mirror of the thrust to the right.
  EXPECT_EQ(ShapesOf(FrameAt(3, 1, 2)),
            (Shapes{"s 72,17,72,0", "s 44,17,72,17", "s 44,0,44,17", "s 72,0,44,0"}));
  EXPECT_EQ(ShapesOf(FrameAt(17, 2, 3)),
            (Shapes{"s 19,18,19,21", "s 19,21,24,21", "s 24,21,24,18", "s 24,18,19,18",
                    "s 0,0,0,21", "s 0,21,19,21", "s 19,21,19,0", "s 19,0,0,0"}));
  EXPECT_EQ(ShapesOf(FrameAt(17, 3, 0)),
            (Shapes{"s 5,21,5,18", "s 0,21,5,21", "s 0,18,0,21", "s 5,18,0,18", "s 5,0,5,21",
                    "s 5,21,24,21", "s 24,21,24,0", "s 24,0,5,0"}));
  // The rising ball's edge comes out in chain order, the falling one's against it.
  EXPECT_EQ(ShapesOf(FrameAt(2, 1, 0)), (Shapes{"s 9,4,7,2", "s 7,2,4,2", "s 4,2,2,4"}));
  EXPECT_EQ(ShapesOf(FrameAt(2, 0, 1)), (Shapes{"s 7,23,9,21", "s 4,23,7,23", "s 2,20,4,23"}));
  EXPECT_EQ(ShapesOf(FrameAt(23, 0, 4)).front(), "s 1,1,1,7");
  EXPECT_EQ(ShapesOf(FrameAt(1, 4, 0)), (Shapes{"s 2,352,2,2", "s 2,2,505,2", "s 505,2,505,440",
                                                "s 505,440,2,440", "s 2,440,2,421"}));
  EXPECT_EQ(ShapesOf(FrameAt(1, 0, 0)),
            (Shapes{"s 1,1,1,3", "s 1,3,35,3", "s 35,3,35,1", "s 35,1,1,1"}));
  EXPECT_EQ(ShapesOf(FrameAt(6, 0, 0)),
            (Shapes{"s -1,0,0,9", "s 0,9,9,9", "s 9,9,9,0", "s 9,0,-1,0"}));
  // Outlines past the picture's edge: the key's, the door's sills.
  EXPECT_EQ(ShapesOf(FrameAt(10, 0, 0)),
            (Shapes{"s 17,7,17,0", "s -1,7,17,7", "s -1,0,-1,7", "s 17,0,-1,0"}));
  EXPECT_EQ(ShapesOf(FrameAt(15, 1, 1)), (Shapes{"s -1,35,31,35"}));
  EXPECT_EQ(ShapesOf(FrameAt(15, 2, 0)), (Shapes{"c 15,17,14"}));
}

// The film's play order has gaps and one picture out of numeric order.
TEST_F(AnimationData, TheFilmsPlayOrder) {
  FillEntries();
  const quor::AnimationSet& film = quor::AnimationTable[27];
  for (int a = 0; a < film.actionCount; ++a)
    for (int f = 0; f < film.actions[a].frameCount; ++f)
      for (const char* missing : {"Intro2 - 16.bmp", "Intro2 - 17.bmp", "Intro2 - 50.bmp",
                                  "Intro2 - 84.bmp", "Intro2 - 85.bmp", "Intro3 - 06.bmp"})
        EXPECT_STRNE(film.actions[a].frames[f].bitmapName, missing);
  EXPECT_STREQ(FrameAt(27, 1, 15).bitmapName, "Intro2 - 18.bmp");
  EXPECT_STREQ(FrameAt(27, 2, 14).bitmapName, "Intro2 - 51.bmp");
  EXPECT_STREQ(FrameAt(27, 4, 9).bitmapName, "Intro3 - 12.bmp");
  EXPECT_STREQ(FrameAt(27, 4, 10).bitmapName, "Intro3 - 07.bmp");
  EXPECT_EQ(FrameAt(27, 4, 10).duration, 60);
  EXPECT_STREQ(FrameAt(27, 1, 31).bitmapName, "Intro2 - 34.bmp");
  EXPECT_EQ(FrameAt(27, 1, 31).duration, 200);
  EXPECT_STREQ(FrameAt(27, 3, 5).bitmapName, "Intro2 - 65.6.bmp");
  EXPECT_EQ(FrameAt(27, 3, 5).duration, 100);
  EXPECT_STREQ(FrameAt(27, 3, 40).bitmapName, "Intro2 - 101.bmp");
}

// --- rhythms, as the engine's animation step plays the data ---

// A sprite showing `entry` from `action` and `frame`, as scene content creates one.
quor::Sprite MakeSprite(int entry, int action, int frame) {
  quor::Sprite s;
  s.SetAnimation(static_cast<int8_t>(entry));
  s.SetAction(static_cast<int8_t>(action));
  s.SetFrame(static_cast<int8_t>(frame));
  return s;
}

// The ticks, counted from 1, on which the action's end is seen before the animation step,
// as the behaviours that wait for it see it.
std::vector<int> TicksFinished(quor::Sprite& s, int action, int ticks) {
  std::vector<int> finished;
  for (int t = 1; t <= ticks; ++t) {
    if (s.IsActionFinished(action)) finished.push_back(t);
    s.Animate();
  }
  return finished;
}

// How many ticks in a row each frame is shown, frame by frame, over `ticks` ticks.
std::vector<std::pair<int, int>> Runs(quor::Sprite& s, int ticks) {
  std::vector<std::pair<int, int>> runs;
  for (int t = 0; t < ticks; ++t) {
    s.Animate();
    if (runs.empty() || runs.back().first != s.GetFrame())
      runs.push_back({s.GetFrame(), 1});
    else
      ++runs.back().second;
  }
  return runs;
}

std::vector<int> Gaps(const std::vector<int>& ticks) {
  std::vector<int> gaps;
  for (size_t i = 1; i < ticks.size(); ++i) gaps.push_back(ticks[i] - ticks[i - 1]);
  return gaps;
}

// The prompt starts on its second picture and blinks every 42 ticks: 16 on the first
// picture, 26 on the second.
TEST_F(AnimationData, ThePromptBlinksEvery42Ticks) {
  Fill(BuildTitleAnimationSets);
  quor::Sprite prompt = MakeSprite(16, 0, 1);
  EXPECT_STREQ(prompt.GetCurrentFrame()->bitmapName, "PressSpace2.bmp");
  const auto runs = Runs(prompt, 25 + 42 * 5);
  ASSERT_GE(runs.size(), 10u);
  EXPECT_EQ(runs[0], (std::pair<int, int>{1, 25}));
  for (size_t i = 1; i + 1 < runs.size(); ++i)
    EXPECT_EQ(runs[i].second, runs[i].first == 0 ? 16 : 26) << i;
  const auto finished = TicksFinished(prompt, 0, 42 * 4);
  EXPECT_EQ(Gaps(finished), (std::vector<int>{42, 42, 42}));
}

// A trap fires on the tick its last picture runs out: first on its 81 x (4 - f)-th tick for
// start frame f, then every 324 ticks.
TEST_F(AnimationData, ALaserTrapFiresEvery324Ticks) {
  Fill(BuildLevel2AnimationSets);
  for (int start = 0; start < 4; ++start) {
    quor::Sprite trap = MakeSprite(24, 0, start);
    const auto fired = TicksFinished(trap, 0, 1300);
    ASSERT_FALSE(fired.empty()) << start;
    EXPECT_EQ(fired[0], 81 * (4 - start)) << start;
    for (int gap : Gaps(fired)) EXPECT_EQ(gap, 324) << start;
  }
}

// A beam copied from its hidden template takes the template's requested action on its
// first step: its first picture stays 5 ticks, every later one 6, and the eleven pictures
// come round every 66 ticks.
TEST_F(AnimationData, ABeamCyclesEvery66Ticks) {
  Fill(BuildLevel4AnimationSets);
  for (int action = 0; action < 2; ++action) {
    const quor::Sprite beamTemplate = MakeSprite(23, action, 0);
    quor::Sprite beam(beamTemplate);
    const auto runs = Runs(beam, 5 + 66 * 3);
    ASSERT_EQ(runs.size(), 34u);
    EXPECT_EQ(runs[0], (std::pair<int, int>{0, 5}));
    for (size_t i = 1; i < runs.size(); ++i) EXPECT_EQ(runs[i].second, 6) << i;
    EXPECT_EQ(beam.GetAction(), action);
  }
  quor::Sprite beam = MakeSprite(23, 1, 0);
  EXPECT_STREQ(beam.GetCurrentFrame()->bitmapName, "Laser 1.bmp");  // before its first step
  beam.Animate();
  EXPECT_STREQ(beam.GetCurrentFrame()->bitmapName, "Laser u 1.bmp");
  for (int t = 0; t < 5; ++t) beam.Animate();
  EXPECT_STREQ(beam.GetCurrentFrame()->bitmapName, "Laser u 10.bmp");
  const auto finished = TicksFinished(beam, 1, 66 * 3);
  EXPECT_EQ(Gaps(finished), (std::vector<int>{66, 66}));
}

// A Mellon Man throws once a pass: every 221 ticks facing front, every 222 facing back.
// The spinner turns through its pictures in 8 ticks.
TEST_F(AnimationData, MonstersKeepTheirRhythm) {
  Fill(BuildLevel1AnimationSets);
  quor::Sprite front = MakeSprite(0, 0, 0);
  EXPECT_EQ(Gaps(TicksFinished(front, 0, 221 * 4)), (std::vector<int>{221, 221, 221}));
  quor::Sprite back = MakeSprite(0, 1, 3);
  EXPECT_EQ(Gaps(TicksFinished(back, 1, 222 * 4)), (std::vector<int>{222, 222, 222}));
  quor::Sprite spinner = MakeSprite(5, 0, 0);
  EXPECT_EQ(Gaps(TicksFinished(spinner, 0, 8 * 4)), (std::vector<int>{8, 8, 8}));
}

// The hero's death plays once and lies on its last picture; the wall ends on its rubble,
// which no longer blocks.
TEST_F(AnimationData, TheDeathAndTheFallingWallStopOnTheirLastPicture) {
  Fill(BuildLoseAnimationSets);
  quor::Sprite vrendle = MakeSprite(4, 9, 0);
  const auto runs = Runs(vrendle, 500);
  const std::vector<std::pair<int, int>> once = {{0, 50}, {1, 21}, {2, 21}, {3, 21},
                                                 {4, 51}, {5, 7},  {6, 7}};
  ASSERT_EQ(runs.size(), once.size() + 1);
  EXPECT_TRUE(std::equal(once.begin(), once.end(), runs.begin()));
  EXPECT_EQ(runs.back().first, 7);
  EXPECT_STREQ(vrendle.GetCurrentFrame()->bitmapName, "Vrendle - Death08.bmp");
  EXPECT_EQ(vrendle.GetCurrentFrame()->shapeLists[quor::kFlipNone].Count(), 0);

  Fill(BuildLevel2AnimationSets);
  quor::Sprite wall = MakeSprite(21, 0, 0);
  wall.SetAction(1);
  const auto fall = Runs(wall, 600);
  ASSERT_EQ(fall.size(), 7u);
  EXPECT_EQ(fall.back().first, 6);
  EXPECT_STREQ(wall.GetCurrentFrame()->bitmapName, "Bombwall - 06.bmp");
  EXPECT_EQ(wall.GetCurrentFrame()->shapeLists[quor::kFlipNone].Count(), 0);
}

// The door's behaviour holds frame 2 of the opening each time the action ends, so the open
// door keeps showing "Door - 3.bmp" with the sill of its closed picture.
TEST_F(AnimationData, TheOpenedDoorStaysOpen) {
  Fill(BuildLevel1AnimationSets);
  quor::Sprite door = MakeSprite(15, 0, 0);
  std::vector<std::string> shown;
  for (int t = 0; t < 200; ++t) {
    door.SetAction(1);
    if (door.IsActionFinished(1)) door.SetFrame(2);
    door.Animate();
    const std::string name = door.GetCurrentFrame()->bitmapName;
    if (shown.empty() || shown.back() != name) shown.push_back(name);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"Door - 1.bmp", "Door - 2.bmp", "Door - 3.bmp"}));
  EXPECT_EQ(ShapesOf(*door.GetCurrentFrame()), (std::vector<std::string>{"s 0,35,31,35"}));
}

// Left to the film's behaviour, each part follows the last when it ends, and the closing
// loop begins after the sums of the five parts' durations (192, 472, 183, 412 and 144) and
// one tick more for each of their frames but the first (130): 1533 ticks. The loop then
// shows its two pictures 10 ticks each.
TEST_F(AnimationData, TheFilmReachesItsClosingLoop) {
  Fill(BuildStartAnimationSets);
  quor::Sprite film = MakeSprite(27, 0, 0);
  int tick = 0;
  while (film.GetAction() != 5 && tick < 5000) {
    ++tick;
    for (int k = 0; k < 5; ++k) {
      if (film.IsActionFinished(k)) {
        film.SetAction(static_cast<int8_t>(k + 1));
        film.SetFrame(0);
        break;
      }
    }
    film.Animate();
  }
  EXPECT_EQ(tick - 1, 192 + 472 + 183 + 412 + 144 + 130);
  EXPECT_STREQ(film.GetCurrentFrame()->bitmapName, "SpaceLoop2.bmp");
  const auto runs = Runs(film, 8 + 20 * 3);  // its first picture is in its first tick
  ASSERT_EQ(runs.size(), 7u);
  EXPECT_EQ(runs[0], (std::pair<int, int>{0, 8}));
  for (size_t i = 1; i < runs.size(); ++i) EXPECT_EQ(runs[i].second, 10) << i;
}

}  // namespace
}  // namespace game
