// A scene with a headless host for sprite tests, and animation entries made to order.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "platform/headless/headless_host.h"
#include "platform/host.h"

namespace quor {
namespace testing_support {

// A contact as a frame's collision tests record it, seen by the sprite's next tick.
inline void Touch(Sprite& sprite, const char* name) {
  SpriteName touched;
  std::strncpy(touched.name, name, sizeof touched.name - 1);
  sprite.touchedNames.Add(touched);
}

// One action: its frame durations and loop start.
struct ActionData {
  std::vector<uint16_t> durations;
  int32_t loopStart = 0;
};

// Fills entry `set` with the actions, every frame w x h with the collision rectangle
// (0, 0, w - 1, h - 1).
inline void FillEntry(int set, const std::vector<ActionData>& actions, int32_t w = 20,
                      int32_t h = 20) {
  AnimationSet& entry = AnimationTable[set];
  ASSERT_TRUE(entry.SetActionCount(static_cast<uint16_t>(actions.size())));
  for (size_t a = 0; a < actions.size(); ++a) {
    SpriteAction& action = entry.actions[a];
    ASSERT_TRUE(action.SetFrameCount(static_cast<uint16_t>(actions[a].durations.size())));
    action.loopStart = actions[a].loopStart;
    for (size_t f = 0; f < actions[a].durations.size(); ++f) {
      SpriteFrame& frame = action.frames[f];
      frame.width = w;
      frame.height = h;
      frame.duration = actions[a].durations[f];
      SetRect(&frame.collisionRects[kFlipNone], 0, 0, w - 1, h - 1);
    }
  }
}

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallHost(&host);
    savedScene_ = CurrentGameNode;
    savedMain_ = MainCharacter;
    savedQuit_ = QuitRequested;
    scene = std::make_unique<GameNode>();
    CurrentGameNode = scene.get();
    MainCharacter = nullptr;
  }
  void TearDown() override {
    scene.reset();
    CurrentGameNode = savedScene_;
    MainCharacter = savedMain_;
    QuitRequested = savedQuit_;
    FailNextArrayAllocs(0);
    EmptyAnimationTable();
    platform::InstallHost(nullptr);
  }

  // Puts a heap sprite at the end of a layer (the scene owns it from then on).
  Sprite* AddToLayer(int layer, const char* name) {
    Sprite* s = new Sprite;
    s->SetName(name);
    s->SetLayer(layer);
    scene->layers[layer].InsertBefore(s, scene->layers[layer].GetSentinel());
    return s;
  }

  platform::HeadlessHost host;
  std::unique_ptr<GameNode> scene;

 private:
  GameNode* savedScene_ = nullptr;
  Sprite* savedMain_ = nullptr;
  uint8_t savedQuit_ = 0;
};

}  // namespace testing_support
}  // namespace quor
