// The engine's hierarchical finite state machines. Game code builds template machines
// once into the StateMachineTable; sprites, scenes, maps, alarms and text boxes each embed
// a machine, usually a deep copy of a template, and step it once per tick with the object
// that owns it, which every callback receives.
//
// States are numbered from 1 in every call; a state has an enter function, an update
// function, a list of transitions (the one added last is tested first), a name and an
// optional sub-machine that runs after it while it is current.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/class_record.h"
#include "engine/core/node.h"
#include "engine/core/node_list.h"

namespace quor {

// Callbacks receive the machine's owner (a Sprite, GameNode, Map, Alarm or Variable).
using StateFunction = void (*)(Node* owner);
using ConditionFunction = bool (*)(Node* owner);
using ActionFunction = void (*)(Node* owner);

// One transition from a state to a state (both counted from 0 here), taken when its
// condition holds (a null condition always holds); its action runs when it is taken.
// Transitions belong to a machine's structure and are never saved on their own.
class StateTransition : public Node {
 public:
  StateTransition(uint32_t from, uint32_t to, ConditionFunction condition,
                  ActionFunction action)
      : from_(from), to_(to), condition_(condition), action_(action) {}

  Node* Clone() const override { return new StateTransition(*this); }

  // False when the condition is set and fails; otherwise runs the action and gives true.
  bool Evaluate(Node* owner) const;

  uint32_t GetFromState() const { return from_; }
  uint32_t GetToState() const { return to_; }
  ConditionFunction GetCondition() const { return condition_; }
  ActionFunction GetAction() const { return action_; }

 private:
  uint32_t from_;
  uint32_t to_;
  ConditionFunction condition_;
  ActionFunction action_;
};

class StateMachine : public Node {
 public:
  static constexpr int kNameSize = 32;

  // An empty machine: no states, initial state 1; its Update does nothing.
  StateMachine() : StateMachine(0, 1) {}
  // n states, each unnamed ("UNNAMEDSTATE") with no functions, transitions or sub-machine.
  // The initial state is `initial`, or 1 when that is 0 or above n; the machine starts in
  // it with its enter function pending.
  StateMachine(uint32_t n, uint32_t initial);
  // Deep copies: transitions, sub-machines, names and functions, and the run state.
  StateMachine(const StateMachine& other);
  StateMachine& operator=(const StateMachine& other);
  ~StateMachine() override;

  StateMachine* Clone() const override { return new StateMachine(*this); }
  // Saves only the run state: initial state, state count, current state, entered flag,
  // then each sub-machine's own Save in state order.
  void Save(ObjectStream& stream) override;
  // Reads the run state into a machine that already has the saved machine's structure
  // (callers copy the same template first). A file whose state count differs from this
  // machine's, or whose states are out of range, fails the stream and changes nothing.
  void Load(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return StateMachineClassRecord; }

  // Deletes every state (transitions and sub-machines with them): an empty machine.
  void Clear();

  // Becomes a copy of StateMachineTable[index], or an empty machine when the index
  // names no entry (negative, or past the table's end).
  void CopyFromTable(int32_t index);

  // Puts a transition from state `from` to state `to` at the front of from's list, so
  // the transition added last is tested first. Out-of-range states add nothing.
  void AddTransition(uint32_t from, uint32_t to, ConditionFunction condition,
                     ActionFunction action);
  // Out-of-range states are ignored by the setters below.
  void SetEnterFunction(uint32_t state, StateFunction function);
  void SetUpdateFunction(uint32_t state, StateFunction function);
  // Copies at most 31 characters; a null name is ignored.
  void SetStateName(uint32_t state, const char* name);
  // The state's sub-machine becomes a deep copy of `machine` (none for null).
  void SetSubMachine(uint32_t state, const StateMachine* machine);
  // Makes `state` current with its enter function pending; the sub-machine of the state
  // left is reset to its own initial state (recursively). Setting the current state, or
  // a state out of range, changes nothing.
  void SetState(uint32_t state);

  // One tick with `owner`: the current state's pending enter function, then its
  // transitions until the first that holds (its action, and when it leads elsewhere the
  // new state's enter function), then the current state's update function; then the same
  // for the current state's sub-machine, and so on down.
  void Update(Node* owner);

  uint32_t GetStateCount() const { return stateCount_; }
  // Counted from 1, like every state argument.
  uint32_t GetInitialState() const { return initialState_; }
  uint32_t GetCurrentState() const { return currentState_ + 1; }
  // True once the current state's enter function has run.
  bool IsEntered() const { return entered_ != 0; }
  // Null for a state out of range.
  const char* GetStateName(uint32_t state) const;
  const NodeList* GetTransitions(uint32_t state) const;
  StateMachine* GetSubMachine(uint32_t state) const;
  StateFunction GetEnterFunction(uint32_t state) const;
  StateFunction GetUpdateFunction(uint32_t state) const;

 private:
  struct StateName {
    char text[kNameSize];
  };

  bool InRange(uint32_t state) const { return state >= 1 && state <= stateCount_; }
  // The run-state part of the copy and the structure, without clearing first.
  void CopyFrom(const StateMachine& other);

  uint32_t initialState_ = 1;
  uint32_t stateCount_ = 0;
  uint32_t currentState_ = 0;  // counted from 0
  uint8_t entered_ = 0;
  std::unique_ptr<NodeList[]> transitions_;
  std::vector<StateFunction> updateFunctions_;
  std::vector<StateFunction> enterFunctions_;
  std::vector<StateName> names_;
  std::vector<std::unique_ptr<StateMachine>> subMachines_;
};

// A state machine with a way-point graph. The graph has its fields and its saved form,
// but nothing places nodes or fills the tables yet: every machine made so far has no
// nodes. A sprite's path machine is stepped by the frame only while it is enabled.
class PathStateMachine : public StateMachine {
 public:
  PathStateMachine() : PathStateMachine(0, 0, 1) {}
  // The state machine part as StateMachine(n, initial), and m nodes: unplaced
  // (-1, -1), no edges (weight -1, 0 on the diagonal), path tables 0 on the diagonal and
  // -1 elsewhere. A negative n gives no states.
  PathStateMachine(int32_t n, uint32_t m, uint32_t initial);
  PathStateMachine(const PathStateMachine& other);
  PathStateMachine& operator=(const PathStateMachine& other);
  ~PathStateMachine() override;

  PathStateMachine* Clone() const override { return new PathStateMachine(*this); }
  // The state machine part, then the node count, a byte, a 32-bit value, the enabled
  // byte, and each node's word and byte. Loading needs the same node count (copy the
  // template first); another count fails the stream and leaves the graph as it was.
  void Save(ObjectStream& stream) override;
  void Load(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return PathStateMachineClassRecord; }

  // Clears the state machine part and every node array: no states, no nodes.
  void ClearPaths();

  // Becomes a copy of PathStateMachineTable[index], or an empty machine (no states, no
  // nodes) when the index names no entry.
  void CopyFromPathTable(int32_t index);

  int32_t GetNodeCount() const { return nodeCount_; }
  bool IsEnabled() const { return enabled_ != 0; }
  void SetEnabled(bool enabled) { enabled_ = enabled ? 1 : 0; }
  // Node i's coordinates, (-1, -1) while unplaced; i must be below the node count.
  float GetNodeX(int32_t i) const { return nodeCoordinates_[2 * i]; }
  float GetNodeY(int32_t i) const { return nodeCoordinates_[2 * i + 1]; }
  // The weight of the edge from node i to node j: -1 for no edge, 0 from a node to itself.
  float GetEdgeWeight(int32_t i, int32_t j) const { return edgeWeights_[i * nodeCount_ + j]; }
  // Entry (i, j) of path table 0 or 1.
  int32_t GetPathEntry(int table, int32_t i, int32_t j) const {
    return (table == 0 ? pathTable0_ : pathTable1_)[i * nodeCount_ + j];
  }

 private:
  int32_t nodeCount_ = 0;
  uint8_t graphByte_ = 0;
  std::vector<int32_t> pathTable0_;
  std::vector<int32_t> pathTable1_;
  std::vector<int32_t> nodeWords_;
  uint32_t graphValue_ = 0;
  std::vector<float> nodeCoordinates_;
  std::vector<uint8_t> nodeBytes_;
  std::vector<float> edgeWeights_;
  uint8_t enabled_ = 1;
};

}  // namespace quor
