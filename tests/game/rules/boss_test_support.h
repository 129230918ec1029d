// A scene for the bosses' tests: the bosses' real animation entries and machines, sprites
// put in as the content puts them, and ticks that step a boss as the frame does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "engine/scene/game_tables.h"
#include "engine/scene/sprite.h"
#include "engine/scene/state_machine.h"
#include "game/animation/animation_builders.h"
#include "game/rules/boss_machines.h"
#include "game/rules/game_variables.h"
#include "tests/engine/scene/sprite_test_support.h"

namespace game {
namespace testing_support {

// The boss's part of a frame that the machine sees: its machine, then its animation.
inline void Tick(quor::Sprite* boss) {
  boss->stateMachine.Update(boss);
  boss->Animate();
}
inline uint32_t State(const quor::Sprite* boss) { return boss->stateMachine.GetCurrentState(); }

using quor::testing_support::Touch;

class BossScene : public quor::testing_support::SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    ResetGameVariables();
    BuildMidBossAnimationSets(nullptr);
    BuildFinalLevelAnimationSets(nullptr);
    savedTable_ = quor::StateMachineTable;
    savedSize_ = quor::StateMachineTableSize;
    BuildDemonMachine(machines_[kDemonMachine]);
    BuildTenmaMachine(machines_[kTenmaMachine]);
    quor::StateMachineTable = machines_;
    quor::StateMachineTableSize = kStateMachineCount;
  }
  void TearDown() override {
    quor::StateMachineTable = savedTable_;
    quor::StateMachineTableSize = savedSize_;
    ResetGameVariables();
    SceneTest::TearDown();
  }

  // A sprite put into the scene as the content or a spawn puts it: in front of the
  // sprites of its layer with the same depth.
  quor::Sprite* Add(const char* name, int layer, int depth, int8_t set, int8_t action, float x,
                    float y) {
    quor::Sprite sprite;
    sprite.SetName(name);
    sprite.SetLayer(layer);
    sprite.SetDepth(depth);
    sprite.SetAnimation(set);
    sprite.SetAction(action);
    sprite.action = action;
    sprite.SetFrame(0);
    sprite.SetX(x);
    sprite.SetY(y);
    quor::Sprite* copy = new quor::Sprite(sprite);
    EXPECT_TRUE(scene->InsertSprite(copy));
    return copy;
  }
  quor::Sprite* AddDemon(float x = 99.0f, float y = 15.0f) {
    quor::Sprite* boss = Add("Demon", 3, 3, 28, 0, x, y);
    boss->SetStateMachine(kDemonMachine);
    return boss;
  }
  quor::Sprite* AddTenma(float x = 522.0f, float y = 190.0f) {
    quor::Sprite* boss = Add("Tenma", 3, 3, 30, 0, x, y);
    boss->SetStateMachine(kTenmaMachine);
    return boss;
  }
  // A shot template as the boss scenes hold it, parked off screen.
  quor::Sprite* AddShot(const char* name, int layer, int depth, int8_t set, int8_t action,
                        float speedX, float speedY, float dx, float dy, bool hidden) {
    quor::Sprite* shot = Add(name, layer, depth, set, action, -20.0f, -20.0f);
    shot->SetSpeedX(speedX);
    shot->SetSpeedY(speedY);
    shot->SetDirection(dx, dy, 0);
    shot->SetInactive(hidden ? 1 : 0);
    return shot;
  }

  // The sprites of that name in the scene, and how many of them are shown.
  int Count(const char* name, bool shownOnly = false) const {
    int n = 0;
    for (quor::NodeList& layer : scene->layers)
      for (quor::Node* s = layer.GetHead(); !s->IsEnd(); s = s->GetNext()) {
        auto* sprite = static_cast<quor::Sprite*>(s);
        if (std::strcmp(sprite->GetName(), name) == 0 && (!shownOnly || !sprite->IsInactive())) ++n;
      }
    return n;
  }

 private:
  quor::StateMachine machines_[kStateMachineCount];
  quor::StateMachine* savedTable_ = nullptr;
  int32_t savedSize_ = 0;
};

}  // namespace testing_support
}  // namespace game
