// Stand-in until its own issue lands: the class, registered, with no state of its own.
#pragma once

#include "engine/app/class_record.h"
#include "engine/app/node.h"

namespace quor {

class StateMachine : public Node {
 public:
  Node* Clone() const override { return new StateMachine(*this); }
  const ClassRecord& GetClassRecord() const override { return StateMachineClassRecord; }
};

class PathStateMachine : public StateMachine {
 public:
  Node* Clone() const override { return new PathStateMachine(*this); }
  const ClassRecord& GetClassRecord() const override { return PathStateMachineClassRecord; }
};

}  // namespace quor
