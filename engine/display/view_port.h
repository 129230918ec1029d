// Stand-in until its own issue lands: the class, registered, with no state of its own.
#pragma once

#include "engine/app/class_record.h"
#include "engine/app/node.h"

namespace quor {

class ViewPort : public Node {
 public:
  Node* Clone() const override { return new ViewPort(*this); }
  const ClassRecord& GetClassRecord() const override { return ViewPortClassRecord; }
};

}  // namespace quor
