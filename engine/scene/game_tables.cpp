#include "engine/scene/game_tables.h"

#include "engine/scene/state_machine.h"

namespace quor {

BehaviourFunction* BehaviourTable = nullptr;
int32_t BehaviourTableSize = 0;
StateMachine* StateMachineTable = nullptr;
int32_t StateMachineTableSize = 0;
PathStateMachine* PathStateMachineTable = nullptr;
int32_t PathStateMachineTableSize = 0;

BehaviourFunction SelectBehaviour(int32_t index) {
  if (index < 0 || index >= BehaviourTableSize || !BehaviourTable) return nullptr;
  return BehaviourTable[index];
}

const StateMachine* SelectStateMachine(int32_t index) {
  if (index < 0 || index >= StateMachineTableSize || !StateMachineTable) return nullptr;
  return &StateMachineTable[index];
}

const PathStateMachine* SelectPathStateMachine(int32_t index) {
  if (index < 0 || index >= PathStateMachineTableSize || !PathStateMachineTable) return nullptr;
  return &PathStateMachineTable[index];
}

}  // namespace quor
