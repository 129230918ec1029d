// The order of one engine frame, seen through behaviours that log what they see.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/app/frame_passes.h"
#include "engine/app/game_director.h"
#include "engine/display/map.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "platform/input_keys.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

std::vector<std::string> trace;

void LogScene(Node*) { trace.push_back("scene"); }
void LogSprite(Node* owner) { trace.push_back(static_cast<Sprite*>(owner)->GetName()); }
void KillSelf(Node* owner) {
  trace.push_back(static_cast<Sprite*>(owner)->GetName());
  static_cast<Sprite*>(owner)->SetDead(1);
}

Sprite MakeSprite(const char* name, int32_t layer, int32_t depth, BehaviourFunction behaviour) {
  Sprite sprite;
  sprite.SetName(name);
  sprite.SetMap("Room");
  sprite.SetLayer(layer);
  sprite.SetDepth(depth);
  sprite.behaviour = behaviour;
  return sprite;
}

void BuildLogged(GameNode* scene) {
  scene->AddMap(Map());
  static_cast<Map*>(scene->maps.GetHead())->SetName("Room");
  scene->behaviour = LogScene;
  scene->AddSprite(MakeSprite("Back", 1, 0, LogSprite));
  scene->AddSprite(MakeSprite("Front", 0, 5, LogSprite));
  scene->AddSprite(MakeSprite("Doomed", 0, 7, KillSelf));
  scene->AddSprite(MakeSprite("Early", 0, 5, LogSprite));  // same depth as Front: goes first
}

void UseLogged(platform::HeadlessHost&) {
  CurrentGameNode->buildContent = BuildLogged;
  CurrentGameDirector->RequestGameNode(1);
}

std::vector<std::string> LayerNames(const NodeList& layer) {
  std::vector<std::string> names;
  for (Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext())
    names.push_back(static_cast<Sprite*>(n)->GetName());
  return names;
}

TEST(EngineFrame, SceneFirstThenLayersInOrderAndTheDeadAreGoneAtOnce) {
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  trace.clear();
  std::vector<std::string> layer0;
  run.host.AtFrame(0, UseLogged);
  run.host.AtFrame(3, [&](platform::HeadlessHost&) {
    trace.clear();
    layer0 = LayerNames(CurrentGameNode->layers[0]);
  });
  run.host.AtFrame(4, [&](platform::HeadlessHost&) { EXPECT_TRUE(!trace.empty()); });
  run.Run(4);
  // Frame 3's work: the scene, then layer 0 by depth, then layer 1; "Doomed" died in
  // frame 1 and was deleted right after its behaviour.
  std::vector<std::string> expected = {"scene", "Early", "Front", "Back"};
  EXPECT_EQ(trace, expected);
  std::vector<std::string> names = {kTextsCursorName, "Early", "Front"};
  EXPECT_EQ(layer0, names);
}

TEST(EngineFrame, ARaisedDepthTakesItsPlaceAfterThePresentAndGoesBeforeEquals) {
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  std::vector<std::string> before, after;
  run.host.AtFrame(0, UseLogged);
  run.host.AtFrame(3, [&](platform::HeadlessHost&) {
    // SetDepth moves both depths; a behaviour asking for a new place changes the requested one.
    FindSpriteByName("Early")->requestedDepth = 6;
    FindSpriteByName("Front")->requestedDepth = 6;
    before = LayerNames(CurrentGameNode->layers[0]);
  });
  run.host.AtFrame(4, [&](platform::HeadlessHost&) { after = LayerNames(CurrentGameNode->layers[0]); });
  run.Run(5);
  std::vector<std::string> unchanged = {kTextsCursorName, "Early", "Front"};
  EXPECT_EQ(before, unchanged);
  // Re-sorted in list order: Early moves behind Front, then Front goes in front of it.
  std::vector<std::string> resorted = {kTextsCursorName, "Front", "Early"};
  EXPECT_EQ(after, resorted);
}

TEST(EngineFrame, NoFrameIsPresentedWhileASwitchIsPending) {
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  int presentedBefore = 0;
  run.host.AtFrame(3, [&](platform::HeadlessHost& h) { presentedBefore = h.video.presentedFrames; });
  // A request made during the frame's work: that frame is not presented.
  run.host.AtFrame(3, [](platform::HeadlessHost&) { CurrentGameDirector->RequestGameNode(1); });
  int presentedAfter = 0;
  run.host.AtFrame(4, [&](platform::HeadlessHost& h) { presentedAfter = h.video.presentedFrames; });
  run.Run(6);
  EXPECT_EQ(presentedAfter, presentedBefore);
  EXPECT_EQ(run.host.video.presentedFrames, presentedBefore + 2);
}

TEST(EngineFrame, EscapeQuitsOnlyWhereTheSceneAllowsIt) {
  testing_support::TempDir dir;
  {
    testing_support::HeadlessRun run;
    run.host.AtFrame(2, [](platform::HeadlessHost& h) { h.input.PressKey(platform::KeyEscape); });
    run.Run(8);
    EXPECT_EQ(run.host.Frame(), 8);
  }
  {
    testing_support::HeadlessRun run;
    run.host.AtFrame(1, [](platform::HeadlessHost&) { CurrentGameNode->SetEscapeQuits(1); });
    run.host.AtFrame(2, [](platform::HeadlessHost& h) { h.input.PressKey(platform::KeyEscape); });
    run.Run(8);
    EXPECT_EQ(run.host.Frame(), 3);
  }
}

TEST(EngineFrame, ASwitchClearsHeldKeysAndEmptiesTheAnimationTable) {
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  bool heldBefore = false, heldAfter = true;
  run.host.AtFrame(1, [](platform::HeadlessHost& h) { h.input.PressKey(platform::KeyRight); });
  run.host.AtFrame(3, [&](platform::HeadlessHost&) {
    heldBefore = CurrentKeyboard->IsKeyDown(platform::KeyRight);
    AnimationTable[7].SetActionCount(2);
    CurrentGameDirector->RequestGameNode(1);
  });
  run.host.AtFrame(4, [&](platform::HeadlessHost&) {
    heldAfter = CurrentKeyboard->IsKeyDown(platform::KeyRight);
    EXPECT_EQ(AnimationTable[7].actionCount, 0);
    EXPECT_EQ(AnimationTable[kTextsCursorAnimation].actionCount, 1);
  });
  run.Run(5);
  EXPECT_TRUE(heldBefore);
  EXPECT_FALSE(heldAfter);
}

}  // namespace
}  // namespace quor
