// The game's two tables that engine objects select entries from by index: behaviour
// functions and template state machines. The game fills them at pre-init. A negative
// index means none, and so does an index past a table's end.
#pragma once

#include <cstdint>

namespace quor {

class Node;
class StateMachine;
class PathStateMachine;

// A behaviour receives the object it drives (a Sprite, a GameNode, a Map, an Alarm or a
// Variable) and casts it to what it knows it drives.
using BehaviourFunction = void (*)(Node* owner);

extern BehaviourFunction* BehaviourTable;
extern int32_t BehaviourTableSize;
extern StateMachine* StateMachineTable;
extern int32_t StateMachineTableSize;
extern PathStateMachine* PathStateMachineTable;
extern int32_t PathStateMachineTableSize;

// The entry at index, or null for a negative index or one past the end.
BehaviourFunction SelectBehaviour(int32_t index);
const StateMachine* SelectStateMachine(int32_t index);
const PathStateMachine* SelectPathStateMachine(int32_t index);

}  // namespace quor
