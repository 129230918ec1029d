// What the animation tests read back out of the animation table, and the table as the
// engine leaves it before a scene starts.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"

namespace game {
namespace testing_support {

// Each test starts with the table as the engine leaves it before a scene starts (empty but
// for its text cursor) and leaves it empty.
class AnimationTableTest : public ::testing::Test {
 protected:
  void SetUp() override { Fill(); }
  void TearDown() override { quor::EmptyAnimationTable(); }

  // Empties the table as the engine does before a scene starts, then runs the builder.
  static void Fill(void (*build)(quor::GameNode*) = nullptr) {
    quor::EmptyAnimationTable();
    quor::BuildTextsCursorAnimation();
    if (build) build(nullptr);
  }
};

// Every field a builder writes, and every shape, in list order.
inline std::string DescribeEntry(int entry) {
  std::ostringstream out;
  const quor::AnimationSet& set = quor::AnimationTable[entry];
  out << set.actionCount << ':';
  for (int a = 0; a < set.actionCount; ++a) {
    const quor::SpriteAction& action = set.actions[a];
    out << '[' << action.frameCount << ' ' << action.loopStart << ' ' << int(action.soundOn);
    for (int f = 0; f < action.frameCount; ++f) {
      const quor::SpriteFrame& fr = action.frames[f];
      out << " {" << fr.bitmapName << ' ' << fr.width << 'x' << fr.height << ' ' << fr.colorKey
          << ' ' << fr.duration << ' ' << fr.referencePoints[0][0].x << ','
          << fr.referencePoints[0][0].y << ' ' << fr.anchorX << ',' << fr.anchorY << ' '
          << int(fr.colorKeyOn);
      for (const quor::Rect& r : fr.collisionRects)
        out << " r" << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
      for (const quor::NodeList& list : fr.shapeLists) {
        out << " |";
        for (quor::Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext()) {
          auto* shape = static_cast<quor::CollisionShape*>(n);
          if (shape->GetShapeType() == 0) {
            auto* s = static_cast<quor::CollisionSegment*>(shape);
            out << " s" << s->GetX1() << ',' << s->GetY1() << ',' << s->GetX2() << ','
                << s->GetY2();
          } else {
            auto* c = static_cast<quor::CollisionCircle*>(shape);
            out << " c" << c->GetX() << ',' << c->GetY() << ',' << c->GetRadius();
          }
        }
      }
      out << '}';
    }
    out << ']';
  }
  return out.str();
}

// The frame count of each of the entry's actions, in action order.
inline std::vector<int> FrameCounts(int entry) {
  std::vector<int> counts;
  const quor::AnimationSet& set = quor::AnimationTable[entry];
  for (int a = 0; a < set.actionCount; ++a) counts.push_back(set.actions[a].frameCount);
  return counts;
}

// What one entry, or the whole table but the engine's text cursor, holds.
struct Totals {
  int entries = 0;
  int actions = 0;
  int frames = 0;
  int segments = 0;
  int circles = 0;

  Totals& operator+=(const Totals& o) {
    entries += o.entries;
    actions += o.actions;
    frames += o.frames;
    segments += o.segments;
    circles += o.circles;
    return *this;
  }
  bool operator==(const Totals& o) const {
    return entries == o.entries && actions == o.actions && frames == o.frames &&
           segments == o.segments && circles == o.circles;
  }
};

inline std::ostream& operator<<(std::ostream& out, const Totals& t) {
  return out << t.entries << " entries, " << t.actions << " actions, " << t.frames
             << " frames, " << t.segments << " segments, " << t.circles << " circles";
}

inline Totals ShapeTotals(const quor::SpriteFrame& frame) {
  Totals t;
  for (const quor::NodeList& list : frame.shapeLists)
    for (quor::Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext())
      ++(static_cast<quor::CollisionShape*>(n)->GetShapeType() == 0 ? t.segments : t.circles);
  return t;
}

inline Totals EntryTotals(int entry) {
  Totals t;
  const quor::AnimationSet& set = quor::AnimationTable[entry];
  if (set.actionCount == 0) return t;
  t.entries = 1;
  t.actions = set.actionCount;
  for (int a = 0; a < set.actionCount; ++a) {
    t.frames += set.actions[a].frameCount;
    for (int f = 0; f < set.actions[a].frameCount; ++f) t += ShapeTotals(set.actions[a].frames[f]);
  }
  return t;
}

inline Totals TableTotals() {
  Totals t;
  for (int e = 0; e < quor::kAnimationTableSize; ++e)
    if (e != quor::kTextsCursorAnimation) t += EntryTotals(e);
  return t;
}

}  // namespace testing_support
}  // namespace game
