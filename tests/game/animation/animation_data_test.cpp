// The animation data of the scenes from "Start" to "Level4", checked against what the game
// states about it: totals per scene, actions and frames per entry, the rhythms that come out
// of the durations when the engine's animation step plays them, and the frames that depart
// from the common values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"
#include "game/animation/animation_builders.h"
#include "game/animation/animation_data.h"

namespace game {
namespace {

using Builder = void (*)(quor::GameNode*);

struct Totals {
  int frames = 0;
  int segments = 0;
  int circles = 0;
  bool operator==(const Totals& o) const {
    return frames == o.frames && segments == o.segments && circles == o.circles;
  }
};

std::ostream& operator<<(std::ostream& out, const Totals& t) {
  return out << t.frames << " frames, " << t.segments << " segments, " << t.circles
             << " circles";
}

// What the builder left in the table, the engine's text cursor aside.
Totals TableTotals() {
  Totals t;
  for (int e = 0; e < quor::kAnimationTableSize; ++e) {
    if (e == quor::kTextsCursorAnimation) continue;
    const quor::AnimationSet& set = quor::AnimationTable[e];
    for (int a = 0; a < set.actionCount; ++a) {
      const quor::SpriteAction& action = set.actions[a];
      t.frames += action.frameCount;
      for (int f = 0; f < action.frameCount; ++f) {
        const quor::NodeList& shapes = action.frames[f].shapeLists[quor::kFlipNone];
        for (quor::Node* n = shapes.GetHead(); !n->IsEnd(); n = n->GetNext()) {
          if (static_cast<quor::CollisionShape*>(n)->GetShapeType() == 0)
            ++t.segments;
          else
            ++t.circles;
        }
      }
    }
  }
  return t;
}

class AnimationData : public ::testing::Test {
 protected:
  void SetUp() override { Fill(nullptr); }
  void TearDown() override { quor::EmptyAnimationTable(); }

  // Empties the table as the engine does before a scene starts, then runs the builder.
  static void Fill(Builder build) {
    quor::EmptyAnimationTable();
    quor::BuildTextsCursorAnimation();
    if (build) build(nullptr);
  }
};

TEST_F(AnimationData, EachBuilderFillsTheStatedTotals) {
  struct Case {
    const char* scene;
    Builder build;
    Totals totals;
  };
  const Case cases[] = {
      {"Start", BuildStartAnimationSets, {137, 0, 0}},
      {"Title", BuildTitleAnimationSets, {2, 0, 0}},
      {"Instruct", BuildInstructAnimationSets, {2, 0, 0}},
      {"Level1", BuildLevel1AnimationSets, {128, 493, 31}},
      {"Lose", BuildLoseAnimationSets, {40, 291, 0}},
      {"Level2", BuildLevel2AnimationSets, {119, 501, 8}},
      {"Win", BuildWinAnimationSets, {2, 0, 0}},
      {"Level4", BuildLevel4AnimationSets, {154, 609, 31}},
  };
  for (const Case& c : cases) {
    Fill(c.build);
    EXPECT_EQ(TableTotals(), c.totals) << c.scene;
  }
}

}  // namespace
}  // namespace game
