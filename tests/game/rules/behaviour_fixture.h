// A level scene made to order for behaviour tests: the first level's animation entries,
// the thirteen scenes (so that requests by name can be seen), a keyboard on a headless
// host, and sprites placed by hand. A test calls behaviours itself, frame by frame, and
// writes the contacts a frame's collision tests would have left.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "game/animation/animation_builders.h"
#include "game/rules/game_functions.h"
#include "game/rules/game_variables.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "tests/engine/scene/sprite_test_support.h"

namespace game {

using quor::testing_support::Touch;

class BehaviourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallHost(&host);
    quor::KeyboardInstanceCount = 0;
    savedScene_ = quor::CurrentGameNode;
    savedDirector_ = quor::CurrentGameDirector;
    scene = std::make_unique<quor::GameNode>();
    quor::CurrentGameNode = scene.get();
    quor::CurrentGameDirector = &director;
    GameCreateScenes();
    director.switchPending = 0;
    keyboard = std::make_unique<quor::Keyboard>();
    quor::CurrentKeyboard = keyboard.get();
    BuildLevel1AnimationSets(scene.get());
    ResetGameVariables();
  }
  void TearDown() override {
    quor::CurrentKeyboard = nullptr;
    keyboard.reset();
    scene.reset();
    quor::GameNodeList().DeleteAll();
    quor::EmptyAnimationTable();
    quor::CurrentGameNode = savedScene_;
    quor::CurrentGameDirector = savedDirector_;
    quor::KeyboardInstanceCount = 0;
    ResetGameVariables();
    platform::InstallHost(nullptr);
  }

  // A sprite of the scene, showing action 0 of an animation entry.
  quor::Sprite* Add(const char* name, int8_t set, float x, float y, int32_t layer = 0) {
    auto* sprite = new quor::Sprite;
    sprite->SetName(name);
    sprite->SetLayer(layer);
    sprite->SetAnimation(set);
    sprite->SetX(x);
    sprite->SetY(y);
    EXPECT_TRUE(scene->InsertSprite(sprite));
    return sprite;
  }

  // An item already carried: on the status row.
  quor::Sprite* Carried(const char* name, int8_t set) { return Add(name, set, 300, 459); }

  // Puts the sprite on the last picture of an action, with its time run out.
  static void FinishAction(quor::Sprite& sprite, int8_t action) {
    sprite.action = action;
    sprite.requestedAction = action;
    sprite.frame = static_cast<int8_t>(sprite.GetCurrentAction()->frameCount - 1);
    sprite.frameTimer = 0;
  }

  // One frame of input: keys go down or up, then the keyboard reads them.
  void Press(uint8_t key) {
    host.input.PressKey(key);
    keyboard->Update();
  }
  void Release(uint8_t key) {
    host.input.ReleaseKey(key);
    keyboard->Update();
  }
  void NextFrame() { keyboard->Update(); }

  // The scene a behaviour asked for, or "" when none was.
  const char* Requested() const {
    if (!director.IsSwitchPending()) return "";
    quor::GameNode* next = quor::FindGameNodeById(director.GetNextGameNodeId());
    return next ? next->GetName() : "?";
  }

  platform::HeadlessHost host;
  std::unique_ptr<quor::GameNode> scene;
  quor::GameDirector director;
  std::unique_ptr<quor::Keyboard> keyboard;

 private:
  quor::GameNode* savedScene_ = nullptr;
  quor::GameDirector* savedDirector_ = nullptr;
};

// Animation entries of the first level's sprites.
constexpr int8_t kMellonManSet = 0;
constexpr int8_t kDoorsSet = 1;
constexpr int8_t kFireBallSet = 2;
constexpr int8_t kHeroSet = 4;
constexpr int8_t kHatSet = 6;
constexpr int8_t kDaggerSet = 7;
constexpr int8_t kFireIconSet = 8;
constexpr int8_t kWaterIconSet = 9;
constexpr int8_t kKeysSet = 10;
constexpr int8_t kBootSet = 11;
constexpr int8_t kFireBlastSet = 12;
constexpr int8_t kMeatSet = 13;
constexpr int8_t kHeartsSet = 14;
constexpr int8_t kExitDoorSet = 15;
constexpr int8_t kHelmitSet = 17;
constexpr int8_t kCoversSet = 18;
constexpr int8_t kGlassSet = 19;
constexpr int8_t kTrapSet = 20;

}  // namespace game
