// The bosses' machines: states, their enter and update functions, and transitions.
#include "game/rules/boss_machines.h"

#include "engine/scene/state_machine.h"

namespace game {

void BuildDemonMachine(quor::StateMachine& machine) { machine = quor::StateMachine(); }

void BuildTenmaMachine(quor::StateMachine& machine) { machine = quor::StateMachine(); }

}  // namespace game
