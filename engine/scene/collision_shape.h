// Stand-in until its own issue lands: the class, registered, with no state of its own.
#pragma once

#include "engine/app/class_record.h"
#include "engine/app/node.h"

namespace quor {

class CollisionSegment : public Node {
 public:
  Node* Clone() const override { return new CollisionSegment(*this); }
  const ClassRecord& GetClassRecord() const override { return CollisionSegmentClassRecord; }
};

class CollisionCircle : public Node {
 public:
  Node* Clone() const override { return new CollisionCircle(*this); }
  const ClassRecord& GetClassRecord() const override { return CollisionCircleClassRecord; }
};

}  // namespace quor
