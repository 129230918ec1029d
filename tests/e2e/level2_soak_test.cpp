// A long stay in "Level2", in the sanitized build: spent beams stay hidden in their layers,
// so the layers fill to the scene's limit, the shooters then skip their shots, and nothing
// else changes. It takes some 45,000 frames (half a minute with the sanitizers), so it is
// left out of the ordinary run; the README says how to run it.
#include <gtest/gtest.h>

#include <string>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "game/rules/game_variables.h"
#include "tests/support/game_run.h"

namespace game {
namespace {

constexpr int kSpriteLimit = 513;

struct Beams {
  int all = 0;
  int shown = 0;
};

Beams CountBeams() {
  Beams beams;
  for (quor::NodeList& layer : quor::CurrentGameNode->layers)
    for (quor::Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      auto* sprite = static_cast<quor::Sprite*>(n);
      const std::string name = sprite->GetName();
      if (name != "Laser Beam Up" && name != "Laser Beam Across") continue;
      ++beams.all;
      beams.shown += sprite->IsInactive() ? 0 : 1;
    }
  return beams;
}

// The hero stays in the room it starts in, which no beam reaches.
TEST(LaserSoak, DISABLED_Level2FillsBothBeamLayersAndTheShootersThenFallSilent) {
  testing_support::GameRun run;
  run.EnterAt(0, "Level2");
  constexpr int kFrames = 46000;
  int upLayerFullAt = 0, acrossLayerFullAt = 0;
  Beams atEnd;
  std::string sceneAtEnd;
  run.host.EveryFrame([&](platform::HeadlessHost& h) {
    if (h.Frame() < 2) return;
    quor::GameNode* scene = quor::CurrentGameNode;
    if (!upLayerFullAt && scene->layers[0].Count() == kSpriteLimit) upLayerFullAt = h.Frame();
    if (!acrossLayerFullAt && scene->layers[3].Count() == kSpriteLimit)
      acrossLayerFullAt = h.Frame();
    if (h.Frame() == kFrames - 1) {
      atEnd = CountBeams();
      sceneAtEnd = scene->GetName();
    }
  });
  run.Run(kFrames);
  EXPECT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  EXPECT_EQ(sceneAtEnd, "Level2");
  EXPECT_EQ(HeartCount, 2);
  EXPECT_GT(upLayerFullAt, 0) << "the upward and downward beams' layer never filled";
  EXPECT_GT(acrossLayerFullAt, 0) << "the sideways beams' layer never filled";
  EXPECT_GT(atEnd.all, 2 * kSpriteLimit - 40) << "over a thousand beams, nearly all of both layers";
  EXPECT_EQ(atEnd.shown, 0) << "a full layer takes no more shots";
}

}  // namespace
}  // namespace game
