#include "engine/scene/state_machine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/scene/game_tables.h"
#include "engine/core/object_stream.h"
#include "../../support/file_bytes.h"

namespace quor {
namespace {

// Callbacks are plain functions, so the trace and the switches they read are file-wide;
// each test starts with a fresh Recorder.
std::vector<std::string>* trace = nullptr;
Node* seenOwner = nullptr;
bool gate = false;
bool subGate = false;

void Log(Node* owner, const char* what) {
  seenOwner = owner;
  if (trace) trace->push_back(what);
}
void Enter1(Node* o) { Log(o, "enter1"); }
void Update1(Node* o) { Log(o, "update1"); }
void Enter2(Node* o) { Log(o, "enter2"); }
void Update2(Node* o) { Log(o, "update2"); }
void Enter3(Node* o) { Log(o, "enter3"); }
void ActionA(Node* o) { Log(o, "actionA"); }
void ActionB(Node* o) { Log(o, "actionB"); }
void ActionSelf(Node* o) { Log(o, "actionSelf"); }
void SubEnter1(Node* o) { Log(o, "subEnter1"); }
void SubUpdate1(Node* o) { Log(o, "subUpdate1"); }
void SubEnter2(Node* o) { Log(o, "subEnter2"); }
void SubUpdate2(Node* o) { Log(o, "subUpdate2"); }
bool Always(Node*) { return true; }
bool Never(Node*) { return false; }
bool Gate(Node* o) {
  Log(o, "condition");
  return gate;
}
bool SubGate(Node*) { return subGate; }

class Recorder {
 public:
  Recorder() {
    trace = &events;
    seenOwner = nullptr;
    gate = false;
    subGate = false;
  }
  ~Recorder() { trace = nullptr; }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(events);
    return out;
  }
  std::vector<std::string> events;
};

using Events = std::vector<std::string>;

std::string TempPath(const char* name) { return testing::TempDir() + "machines_" + name; }

using testing_support::FileSize;

StateMachine TwoStates() {
  StateMachine m(2, 1);
  m.SetEnterFunction(1, Enter1);
  m.SetUpdateFunction(1, Update1);
  m.SetEnterFunction(2, Enter2);
  m.SetUpdateFunction(2, Update2);
  return m;
}

TEST(StateMachineTest, Construction) {
  StateMachine empty;
  EXPECT_EQ(empty.GetStateCount(), 0u);
  EXPECT_EQ(empty.GetInitialState(), 1u);
  EXPECT_EQ(empty.GetCurrentState(), 1u);
  EXPECT_FALSE(empty.IsEntered());
  EXPECT_EQ(empty.GetStateName(1), nullptr);

  StateMachine zeroInitial(3, 0);
  EXPECT_EQ(zeroInitial.GetInitialState(), 1u);
  StateMachine tooBig(3, 4);
  EXPECT_EQ(tooBig.GetInitialState(), 1u);
  StateMachine second(3, 2);
  EXPECT_EQ(second.GetInitialState(), 2u);
  EXPECT_EQ(second.GetCurrentState(), 2u);
  EXPECT_FALSE(second.IsEntered());
  EXPECT_STREQ(second.GetStateName(3), "UNNAMEDSTATE");
  EXPECT_EQ(second.GetEnterFunction(1), nullptr);
  EXPECT_EQ(second.GetSubMachine(1), nullptr);
  EXPECT_EQ(second.GetTransitions(1)->Count(), 0);
  EXPECT_STREQ(second.GetClassRecord().name, "StateMachine");
}

TEST(StateMachineTest, SettersIgnoreStatesOutOfRange) {
  StateMachine m(2, 1);
  m.AddTransition(0, 1, nullptr, nullptr);
  m.AddTransition(1, 3, nullptr, nullptr);
  m.AddTransition(3, 1, nullptr, nullptr);
  EXPECT_EQ(m.GetTransitions(1)->Count(), 0);
  m.SetEnterFunction(3, Enter1);
  m.SetUpdateFunction(0, Update1);
  m.SetStateName(3, "Nope");
  m.SetStateName(1, nullptr);
  EXPECT_STREQ(m.GetStateName(1), "UNNAMEDSTATE");
  m.SetState(3);
  m.SetState(0);
  EXPECT_EQ(m.GetCurrentState(), 1u);
  // Names keep at most 31 characters.
  m.SetStateName(2, "A-name-that-is-longer-than-thirty-one-characters");
  EXPECT_STREQ(m.GetStateName(2), "A-name-that-is-longer-than-thir");
  m.SetStateName(2, "Fire");
  EXPECT_STREQ(m.GetStateName(2), "Fire");

  StateMachine empty;
  empty.AddTransition(1, 1, nullptr, nullptr);
  empty.SetState(1);
  Recorder r;
  empty.Update(nullptr);
  EXPECT_TRUE(r.events.empty());
}

TEST(StateMachineTest, TickOrderActionThenEnterThenUpdate) {
  Recorder r;
  Node owner;
  StateMachine m = TwoStates();
  m.AddTransition(1, 2, Gate, ActionA);
  m.Update(&owner);
  EXPECT_EQ(r.Take(), (Events{"enter1", "condition", "update1"}));
  EXPECT_EQ(seenOwner, &owner);
  EXPECT_TRUE(m.IsEntered());
  m.Update(&owner);
  EXPECT_EQ(r.Take(), (Events{"condition", "update1"}));
  gate = true;
  m.Update(&owner);
  EXPECT_EQ(r.Take(), (Events{"condition", "actionA", "enter2", "update2"}));
  EXPECT_EQ(m.GetCurrentState(), 2u);
  EXPECT_TRUE(m.IsEntered());
  m.Update(&owner);
  EXPECT_EQ(r.Take(), (Events{"update2"}));
}

TEST(StateMachineTest, TransitionAddedLastIsTestedFirst) {
  Recorder r;
  StateMachine m(3, 1);
  m.SetEnterFunction(2, Enter2);
  m.SetEnterFunction(3, Enter3);
  m.AddTransition(1, 2, Always, ActionA);
  m.AddTransition(1, 3, Always, ActionB);
  const NodeList* list = m.GetTransitions(1);
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(static_cast<StateTransition*>(list->GetHead())->GetToState(), 2u);  // from 0
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"actionB", "enter3"}));
  EXPECT_EQ(m.GetCurrentState(), 3u);

  // A failing newer transition lets the older one through.
  StateMachine n(3, 1);
  n.SetEnterFunction(2, Enter2);
  n.AddTransition(1, 2, Always, ActionA);
  n.AddTransition(1, 3, Never, ActionB);
  n.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"actionA", "enter2"}));
}

TEST(StateMachineTest, SelfTransitionsNullConditionsAndSetState) {
  Recorder r;
  StateMachine m = TwoStates();
  m.AddTransition(1, 1, nullptr, ActionSelf);  // null condition: fires every tick
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"enter1", "actionSelf", "update1"}));
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"actionSelf", "update1"}));

  m.SetState(1);  // already current: nothing changes
  EXPECT_TRUE(m.IsEntered());
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"actionSelf", "update1"}));

  m.SetState(2);
  EXPECT_FALSE(m.IsEntered());
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"enter2", "update2"}));
}

StateMachine ParentWithSub() {
  StateMachine sub(2, 1);
  sub.SetEnterFunction(1, SubEnter1);
  sub.SetUpdateFunction(1, SubUpdate1);
  sub.SetEnterFunction(2, SubEnter2);
  sub.SetUpdateFunction(2, SubUpdate2);
  sub.AddTransition(1, 2, SubGate, nullptr);
  StateMachine parent = TwoStates();
  parent.AddTransition(1, 2, Gate, nullptr);
  parent.AddTransition(2, 1, Always, nullptr);
  parent.SetSubMachine(1, &sub);
  return parent;
}

TEST(StateMachineTest, SubMachineRunsAfterItsParentAndIsResetOnLeaving) {
  Recorder r;
  StateMachine m = ParentWithSub();
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"enter1", "condition", "update1", "subEnter1", "subUpdate1"}));
  subGate = true;
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"condition", "update1", "subEnter2", "subUpdate2"}));
  StateMachine* sub = m.GetSubMachine(1);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetCurrentState(), 2u);

  // Leaving state 1 resets its sub-machine to its initial state, enter pending.
  gate = true;
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"condition", "enter2", "update2"}));
  EXPECT_EQ(sub->GetCurrentState(), 1u);
  EXPECT_FALSE(sub->IsEntered());
  // Coming back, the sub-machine starts over.
  subGate = false;
  m.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"enter1", "update1", "subEnter1", "subUpdate1"}));

  // SetState on the parent resets the sub-machine the same way.
  subGate = true;
  gate = false;
  m.Update(nullptr);
  r.Take();
  EXPECT_EQ(sub->GetCurrentState(), 2u);
  m.SetState(2);
  EXPECT_EQ(sub->GetCurrentState(), 1u);

  // A sub-machine with no states is not run.
  StateMachine parent = TwoStates();
  StateMachine empty;
  parent.SetSubMachine(1, &empty);
  parent.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"enter1", "update1"}));
}

TEST(StateMachineTest, CopiesAreDeep) {
  Recorder r;
  StateMachine original = ParentWithSub();
  original.SetStateName(2, "Second");
  original.Update(nullptr);
  r.Take();
  StateMachine copy(original);
  EXPECT_EQ(copy.GetStateCount(), 2u);
  EXPECT_TRUE(copy.IsEntered()) << "a copy takes over the run state";
  EXPECT_STREQ(copy.GetStateName(2), "Second");
  ASSERT_NE(copy.GetSubMachine(1), nullptr);
  EXPECT_NE(copy.GetSubMachine(1), original.GetSubMachine(1));
  EXPECT_NE(copy.GetTransitions(1)->GetHead(), original.GetTransitions(1)->GetHead());
  EXPECT_EQ(copy.GetTransitions(1)->Count(), 1);
  EXPECT_EQ(copy.GetEnterFunction(2), &Enter2);

  // Running the copy leaves the original alone.
  gate = true;
  copy.Update(nullptr);
  EXPECT_EQ(copy.GetCurrentState(), 2u);
  EXPECT_EQ(original.GetCurrentState(), 1u);

  StateMachine assigned(5, 3);
  assigned = original;
  EXPECT_EQ(assigned.GetStateCount(), 2u);
  EXPECT_EQ(assigned.GetInitialState(), 1u);
  assigned = assigned;
  EXPECT_EQ(assigned.GetStateCount(), 2u);
  assigned = StateMachine();
  EXPECT_EQ(assigned.GetStateCount(), 0u);

  std::unique_ptr<Node> clone(original.Clone());
  auto* cloned = dynamic_cast<StateMachine*>(clone.get());
  ASSERT_NE(cloned, nullptr);
  EXPECT_NE(cloned->GetSubMachine(1), nullptr);

  original.Clear();
  EXPECT_EQ(original.GetStateCount(), 0u);
  EXPECT_EQ(original.GetInitialState(), 1u);
  EXPECT_EQ(original.GetSubMachine(1), nullptr);
}

TEST(StateMachineTest, CopyFromTableByIndex) {
  StateMachine* savedTable = StateMachineTable;
  const int32_t savedSize = StateMachineTableSize;
  StateMachine table[2];
  table[0] = TwoStates();
  table[1] = StateMachine(4, 3);
  StateMachineTable = table;
  StateMachineTableSize = 2;

  StateMachine m;
  m.CopyFromTable(1);
  EXPECT_EQ(m.GetStateCount(), 4u);
  EXPECT_EQ(m.GetCurrentState(), 3u);
  m.CopyFromTable(0);
  EXPECT_EQ(m.GetStateCount(), 2u);
  EXPECT_EQ(m.GetEnterFunction(1), &Enter1);
  m.CopyFromTable(-1);
  EXPECT_EQ(m.GetStateCount(), 0u);
  EXPECT_EQ(m.GetInitialState(), 1u);
  m.CopyFromTable(0);
  m.CopyFromTable(2);  // past the end: none
  EXPECT_EQ(m.GetStateCount(), 0u);

  StateMachineTable = savedTable;
  StateMachineTableSize = savedSize;
}

TEST(StateMachineTest, SaveAndLoadRestoreTheRunStateOfEveryLevel) {
  const std::string path = TempPath("machine.bin");
  Recorder r;
  const StateMachine templ = ParentWithSub();
  StateMachine running = templ;
  subGate = true;
  running.Update(nullptr);
  running.Update(nullptr);  // sub in state 2, entered
  {
    ObjectStream out(path, true);
    running.Save(out);
    ASSERT_TRUE(out.Good());
  }
  EXPECT_EQ(FileSize(path), 13 + 13);

  StateMachine loaded = templ;
  {
    ObjectStream in(path, false);
    loaded.Load(in);
    EXPECT_TRUE(in.Good());
  }
  EXPECT_EQ(loaded.GetCurrentState(), 1u);
  EXPECT_TRUE(loaded.IsEntered());
  EXPECT_EQ(loaded.GetSubMachine(1)->GetCurrentState(), 2u);
  EXPECT_TRUE(loaded.GetSubMachine(1)->IsEntered());
  r.Take();
  loaded.Update(nullptr);
  EXPECT_EQ(r.Take(), (Events{"condition", "update1", "subUpdate2"}));

  // A machine of another shape does not take the saved state.
  StateMachine other(3, 2);
  {
    ObjectStream in(path, false);
    other.Load(in);
    EXPECT_FALSE(in.Good());
  }
  EXPECT_EQ(other.GetCurrentState(), 2u);
  EXPECT_FALSE(other.IsEntered());

  // A current state past the states is refused.
  {
    ObjectStream out(path, true);
    out.WriteLong(uint32_t{1});
    out.WriteLong(uint32_t{2});
    out.WriteLong(uint32_t{7});
    out.WriteByte(1);
  }
  StateMachine two(2, 1);
  {
    ObjectStream in(path, false);
    two.Load(in);
    EXPECT_FALSE(in.Good());
  }
  EXPECT_EQ(two.GetCurrentState(), 1u);

  StateMachine empty;
  {
    ObjectStream out(path, true);
    empty.Save(out);
  }
  EXPECT_EQ(FileSize(path), 13);
  std::remove(path.c_str());
}

TEST(PathStateMachineTest, NodesCopiesAndPersistence) {
  PathStateMachine fresh;
  EXPECT_EQ(fresh.GetStateCount(), 0u);
  EXPECT_EQ(fresh.GetNodeCount(), 0);
  EXPECT_TRUE(fresh.IsEnabled());
  EXPECT_STREQ(fresh.GetClassRecord().name, "PathStateMachine");

  PathStateMachine m(2, 3, 2);
  EXPECT_EQ(m.GetStateCount(), 2u);
  EXPECT_EQ(m.GetCurrentState(), 2u);
  ASSERT_EQ(m.GetNodeCount(), 3);
  EXPECT_EQ(m.GetNodeX(2), -1.0f);
  EXPECT_EQ(m.GetNodeY(0), -1.0f);
  EXPECT_EQ(m.GetEdgeWeight(1, 1), 0.0f);
  EXPECT_EQ(m.GetEdgeWeight(0, 2), -1.0f);
  EXPECT_EQ(m.GetPathEntry(0, 2, 2), 0);
  EXPECT_EQ(m.GetPathEntry(1, 2, 0), -1);
  EXPECT_EQ(PathStateMachine(-4, 0, 1).GetStateCount(), 0u);

  // Cloning keeps the graph (a path machine stays a path machine).
  std::unique_ptr<Node> clone(m.Clone());
  auto* cloned = dynamic_cast<PathStateMachine*>(clone.get());
  ASSERT_NE(cloned, nullptr);
  EXPECT_EQ(cloned->GetNodeCount(), 3);
  EXPECT_EQ(cloned->GetStateCount(), 2u);

  const std::string path = TempPath("path.bin");
  m.SetEnabled(false);
  {
    ObjectStream out(path, true);
    m.Save(out);
    ASSERT_TRUE(out.Good());
  }
  EXPECT_EQ(FileSize(path), 13 + 4 + 1 + 4 + 1 + 3 * 5);
  PathStateMachine back(2, 3, 1);
  {
    ObjectStream in(path, false);
    back.Load(in);
    EXPECT_TRUE(in.Good());
  }
  EXPECT_FALSE(back.IsEnabled());
  EXPECT_EQ(back.GetCurrentState(), 2u);
  PathStateMachine fewer(2, 1, 1);
  {
    ObjectStream in(path, false);
    fewer.Load(in);
    EXPECT_FALSE(in.Good());
  }
  EXPECT_TRUE(fewer.IsEnabled());

  // Saved by class name and made again through the registry.
  {
    ObjectStream out(path, true);
    out.WriteObject(&fresh);
  }
  {
    ObjectStream in(path, false);
    PathStateMachine* made = nullptr;
    in.ReadObjectAs(&made);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(in.Good());
    EXPECT_EQ(made->GetNodeCount(), 0);
    delete made;
  }

  PathStateMachine assigned;
  assigned = m;
  EXPECT_EQ(assigned.GetNodeCount(), 3);
  EXPECT_FALSE(assigned.IsEnabled());
  assigned.ClearPaths();
  EXPECT_EQ(assigned.GetNodeCount(), 0);
  EXPECT_EQ(assigned.GetStateCount(), 0u);
  assigned.CopyFromPathTable(0);  // the game never fills this table
  EXPECT_EQ(assigned.GetNodeCount(), 0);
  EXPECT_TRUE(assigned.IsEnabled());
  std::remove(path.c_str());
}

}  // namespace
}  // namespace quor
