#include "engine/scene/state_machine.h"

#include <cstring>

#include "engine/scene/game_tables.h"
#include "engine/core/object_stream.h"

namespace quor {

namespace {
const char kUnnamedState[] = "UNNAMEDSTATE";
}  // namespace

bool StateTransition::Evaluate(Node* owner) const {
  if (condition_ && !condition_(owner)) return false;
  if (action_) action_(owner);
  return true;
}

StateMachine::StateMachine(uint32_t n, uint32_t initial) {
  if (n == 0) return;
  stateCount_ = n;
  initialState_ = (initial == 0 || initial > n) ? 1 : initial;
  currentState_ = initialState_ - 1;
  entered_ = 0;
  transitions_.reset(new NodeList[n]);
  updateFunctions_.assign(n, nullptr);
  enterFunctions_.assign(n, nullptr);
  StateName unnamed = {};
  std::memcpy(unnamed.text, kUnnamedState, sizeof kUnnamedState);
  names_.assign(n, unnamed);
  subMachines_.resize(n);
}

StateMachine::StateMachine(const StateMachine& other) : Node(other) { CopyFrom(other); }

StateMachine& StateMachine::operator=(const StateMachine& other) {
  if (this == &other) return *this;
  Clear();
  CopyFrom(other);
  return *this;
}

StateMachine::~StateMachine() { Clear(); }

void StateMachine::CopyFrom(const StateMachine& other) {
  stateCount_ = other.stateCount_;
  currentState_ = other.currentState_;
  initialState_ = other.initialState_;
  entered_ = other.entered_;
  if (stateCount_ == 0) return;
  transitions_.reset(new NodeList[stateCount_]);
  subMachines_.resize(stateCount_);
  for (uint32_t i = 0; i < stateCount_; ++i) {
    transitions_[i] = other.transitions_[i];
    if (other.subMachines_[i]) subMachines_[i].reset(other.subMachines_[i]->Clone());
  }
  names_ = other.names_;
  enterFunctions_ = other.enterFunctions_;
  updateFunctions_ = other.updateFunctions_;
}

void StateMachine::Clear() {
  transitions_.reset();
  subMachines_.clear();
  names_.clear();
  enterFunctions_.clear();
  updateFunctions_.clear();
  stateCount_ = 0;
  currentState_ = 0;
  initialState_ = 1;
  entered_ = 0;
}

void StateMachine::CopyFromTable(int32_t index) {
  const StateMachine* source = SelectStateMachine(index);
  if (source)
    *this = *source;
  else
    Clear();
}

void StateMachine::AddTransition(uint32_t from, uint32_t to, ConditionFunction condition,
                                 ActionFunction action) {
  if (!InRange(from) || !InRange(to)) return;
  transitions_[from - 1].AddHead(new StateTransition(from - 1, to - 1, condition, action));
}

void StateMachine::SetEnterFunction(uint32_t state, StateFunction function) {
  if (InRange(state)) enterFunctions_[state - 1] = function;
}

void StateMachine::SetUpdateFunction(uint32_t state, StateFunction function) {
  if (InRange(state)) updateFunctions_[state - 1] = function;
}

void StateMachine::SetStateName(uint32_t state, const char* name) {
  if (!InRange(state) || !name) return;
  StateName& slot = names_[state - 1];
  std::memset(slot.text, 0, sizeof slot.text);
  std::strncpy(slot.text, name, sizeof slot.text - 1);
}

void StateMachine::SetSubMachine(uint32_t state, const StateMachine* machine) {
  if (!InRange(state)) return;
  // Cloned before the old one goes, in case the new one is (part of) the old one.
  std::unique_ptr<StateMachine> copy(machine ? machine->Clone() : nullptr);
  subMachines_[state - 1] = std::move(copy);
}

void StateMachine::SetState(uint32_t state) {
  if (!InRange(state) || state - 1 == currentState_) return;
  if (StateMachine* sub = subMachines_[currentState_].get()) sub->SetState(sub->initialState_);
  currentState_ = state - 1;
  entered_ = 0;
}

void StateMachine::Update(Node* owner) {
  if (stateCount_ == 0) return;
  StateMachine* m = this;
  // Callbacks are game code and may change the machine they run in (set its state,
  // even replace it); every index is checked again after one has run.
  while (m && m->stateCount_ > 0 && m->currentState_ < m->stateCount_) {
    if (!m->entered_) {
      if (StateFunction enter = m->enterFunctions_[m->currentState_]) enter(owner);
      m->entered_ = 1;
      if (m->currentState_ >= m->stateCount_) return;
    }
    const NodeList& list = m->transitions_[m->currentState_];
    for (Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      const auto* transition = static_cast<const StateTransition*>(n);
      const uint32_t to = transition->GetToState();
      if (!transition->Evaluate(owner)) continue;
      if (m->currentState_ >= m->stateCount_ || to >= m->stateCount_) return;
      if (to != m->currentState_) {
        if (StateMachine* sub = m->subMachines_[m->currentState_].get())
          sub->SetState(sub->initialState_);
        m->currentState_ = to;
        if (StateFunction enter = m->enterFunctions_[to]) enter(owner);
        if (m->currentState_ >= m->stateCount_) return;
      }
      break;
    }
    if (StateFunction update = m->updateFunctions_[m->currentState_]) update(owner);
    if (m->currentState_ >= m->stateCount_) return;
    m = m->subMachines_[m->currentState_].get();
  }
}

const char* StateMachine::GetStateName(uint32_t state) const {
  return InRange(state) ? names_[state - 1].text : nullptr;
}

const NodeList* StateMachine::GetTransitions(uint32_t state) const {
  return InRange(state) ? &transitions_[state - 1] : nullptr;
}

StateMachine* StateMachine::GetSubMachine(uint32_t state) const {
  return InRange(state) ? subMachines_[state - 1].get() : nullptr;
}

StateFunction StateMachine::GetEnterFunction(uint32_t state) const {
  return InRange(state) ? enterFunctions_[state - 1] : nullptr;
}

StateFunction StateMachine::GetUpdateFunction(uint32_t state) const {
  return InRange(state) ? updateFunctions_[state - 1] : nullptr;
}

void StateMachine::Save(ObjectStream& stream) {
  stream.WriteLong(initialState_);
  stream.WriteLong(stateCount_);
  stream.WriteLong(currentState_);
  stream.WriteByte(entered_);
  for (uint32_t i = 0; i < stateCount_; ++i)
    if (subMachines_[i]) subMachines_[i]->Save(stream);
}

void StateMachine::Load(ObjectStream& stream) {
  uint32_t initial = 0;
  uint32_t count = 0;
  uint32_t current = 0;
  uint8_t entered = 0;
  stream.ReadLong(&initial);
  stream.ReadLong(&count);
  stream.ReadLong(&current);
  stream.ReadByte(&entered);
  if (!stream.Good()) return;
  // The file holds only the run state; the structure is this machine's. A file that
  // does not fit it would index past the states.
  if (count != stateCount_ ||
      (count > 0 && (current >= count || initial == 0 || initial > count))) {
    stream.MarkFailed();
    return;
  }
  if (count > 0) {
    initialState_ = initial;
    currentState_ = current;
  }
  entered_ = entered;
  for (uint32_t i = 0; i < stateCount_; ++i)
    if (subMachines_[i]) subMachines_[i]->Load(stream);
}

}  // namespace quor
