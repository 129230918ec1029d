// The two bosses' template state machines, entries 0 ("Demon") and 1 ("Tenma") of the
// state-machine table; boss sprites run copies of them.
#pragma once

#include <cstdint>

namespace quor {
class StateMachine;
}

namespace game {

constexpr int32_t kStateMachineCount = 2;
constexpr int32_t kDemonMachine = 0;
constexpr int32_t kTenmaMachine = 1;

// Each makes the machine into `machine`, in its initial state.
void BuildDemonMachine(quor::StateMachine& machine);
void BuildTenmaMachine(quor::StateMachine& machine);

}  // namespace game
