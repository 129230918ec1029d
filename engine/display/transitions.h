// Stand-in until its own issue lands: the class, registered, with no state of its own.
#pragma once

#include "engine/app/class_record.h"
#include "engine/app/node.h"

namespace quor {

class GammaRamp : public Node {
 public:
  Node* Clone() const override { return new GammaRamp(*this); }
  const ClassRecord& GetClassRecord() const override { return GammaRampClassRecord; }
};

class OpenClose : public Node {
 public:
  Node* Clone() const override { return new OpenClose(*this); }
  const ClassRecord& GetClassRecord() const override { return OpenCloseClassRecord; }
};

class RandomDissolve : public Node {
 public:
  Node* Clone() const override { return new RandomDissolve(*this); }
  const ClassRecord& GetClassRecord() const override { return RandomDissolveClassRecord; }
};

}  // namespace quor
