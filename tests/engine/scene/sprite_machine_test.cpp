#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/scene/game_tables.h"
#include "engine/core/object_stream.h"
#include "engine/scene/alarm.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"
#include "engine/scene/state_machine.h"
#include "tests/engine/scene/sprite_test_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

using testing_support::FillEntry;
using testing_support::SceneTest;
using ::testing_support::ReadBytes;

std::vector<Node*> owners;
void RecordOwner(Node* owner) { owners.push_back(owner); }
bool Always(Node*) { return true; }

// A template table of one machine: state 1 moves on to state 2 at once; both record
// their owner in their update.
class SpriteMachineTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    owners.clear();
    savedTable_ = StateMachineTable;
    savedSize_ = StateMachineTableSize;
    table_[0] = StateMachine(2, 1);
    table_[0].SetUpdateFunction(2, RecordOwner);
    table_[0].SetEnterFunction(1, RecordOwner);
    table_[0].AddTransition(1, 2, Always, nullptr);
    StateMachineTable = table_;
    StateMachineTableSize = 1;
  }
  void TearDown() override {
    StateMachineTable = savedTable_;
    StateMachineTableSize = savedSize_;
    SceneTest::TearDown();
  }
  StateMachine table_[1];

 private:
  StateMachine* savedTable_ = nullptr;
  int32_t savedSize_ = 0;
};

TEST_F(SpriteMachineTest, AnAlarmRunsItsMachineWithItselfAsOwner) {
  FillEntry(6, {{{1}}}, 10, 10);
  std::unique_ptr<Alarm> zone(new Alarm);
  zone->AddShape(new CollisionCircle(5, 5, 5, 0, 0));
  zone->SetStateMachine(0);
  Sprite s;
  s.SetAnimation(6);
  s.AddAlarm(zone.get());
  s.CheckAlarms();
  // The enter function of state 1, then (after the transition) state 2's update.
  EXPECT_EQ(owners, (std::vector<Node*>{zone.get(), zone.get()}));
  EXPECT_EQ(zone->stateMachine.GetCurrentState(), 2u);
  zone->SetStateMachine(-1);
  EXPECT_EQ(zone->stateMachine.GetStateCount(), 0u);
  s.CheckAlarms();
  EXPECT_EQ(owners.size(), 2u);
}

TEST_F(SpriteMachineTest, ASavedSpriteKeepsItsMachinesRunState) {
  Sprite s;
  s.SetName("Boss");
  s.SetStateMachine(0);
  s.stateMachine.Update(&s);
  EXPECT_EQ(s.stateMachine.GetCurrentState(), 2u);
  const std::string first = std::string(QUOR_BINARY_DIR) + "/sprite_machine_1.sav";
  const std::string second = std::string(QUOR_BINARY_DIR) + "/sprite_machine_2.sav";
  {
    ObjectStream out(first, true);
    out.WriteObject(&s);
  }
  Sprite* loaded = nullptr;
  {
    ObjectStream in(first, false);
    in.ReadObjectAs(&loaded);
    ASSERT_TRUE(in.Good());
  }
  ASSERT_NE(loaded, nullptr);
  std::unique_ptr<Sprite> owned(loaded);
  EXPECT_EQ(loaded->stateMachineIndex, 0);
  EXPECT_EQ(loaded->stateMachine.GetStateCount(), 2u);
  EXPECT_EQ(loaded->stateMachine.GetCurrentState(), 2u);
  EXPECT_TRUE(loaded->stateMachine.IsEntered());
  owners.clear();
  loaded->stateMachine.Update(loaded);
  EXPECT_EQ(owners, (std::vector<Node*>{loaded}));  // state 2's update, no enter again
  {
    ObjectStream out(second, true);
    out.WriteObject(loaded);
  }
  EXPECT_EQ(ReadBytes(first), ReadBytes(second));

  // A copy has its own deep copy of the machine.
  Sprite copy(s);
  copy.stateMachine.SetState(1);
  EXPECT_EQ(s.stateMachine.GetCurrentState(), 2u);
}

void SceneBehaviour(Node* owner) { owners.push_back(owner); }

TEST_F(SpriteMachineTest, AScenesMachineAndBehaviourComeFromTheTablesAndBackFromASave) {
  BehaviourFunction behaviours[2] = {nullptr, SceneBehaviour};
  BehaviourFunction* savedBehaviours = BehaviourTable;
  int32_t savedBehaviourCount = BehaviourTableSize;
  BehaviourTable = behaviours;
  BehaviourTableSize = 2;
  ::testing_support::TempDir dir;

  scene->SetStateMachine(0);
  scene->SetBehaviour(1);
  EXPECT_EQ(scene->stateMachine.GetStateCount(), 2u);
  scene->RunBehaviour();
  scene->stateMachine.Update(scene.get());
  EXPECT_EQ(scene->stateMachine.GetCurrentState(), 2u);
  EXPECT_EQ(owners, (std::vector<Node*>{scene.get(), scene.get(), scene.get()}));
  {
    ObjectStream out(dir.File("scene.sav"), true);
    scene->Save(out);
    ASSERT_TRUE(out.Good());
  }
  GameNode loaded;
  {
    ObjectStream in(dir.File("scene.sav"), false);
    loaded.Load(in);
    ASSERT_TRUE(in.Good());
  }
  EXPECT_EQ(loaded.stateMachineIndex, 0);
  EXPECT_EQ(loaded.stateMachine.GetStateCount(), 2u);
  EXPECT_EQ(loaded.stateMachine.GetCurrentState(), 2u);
  EXPECT_EQ(loaded.behaviourIndex, 1);
  owners.clear();
  loaded.RunBehaviour();
  loaded.stateMachine.Update(&loaded);
  EXPECT_EQ(owners, (std::vector<Node*>{&loaded, &loaded}));

  // None: an empty machine and no behaviour.
  loaded.SetStateMachine(-1);
  loaded.SetBehaviour(-1);
  EXPECT_EQ(loaded.stateMachine.GetStateCount(), 0u);
  EXPECT_EQ(loaded.behaviour, nullptr);
  BehaviourTable = savedBehaviours;
  BehaviourTableSize = savedBehaviourCount;
}

}  // namespace
}  // namespace quor
