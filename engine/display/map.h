// Stand-in until its own issue lands: the class, registered, with no state of its own.
#pragma once

#include "engine/app/class_record.h"
#include "engine/app/node.h"

namespace quor {

class Map : public Node {
 public:
  Node* Clone() const override { return new Map(*this); }
  const ClassRecord& GetClassRecord() const override { return MapClassRecord; }
  // The display calls these when it rebuilds its surfaces.
  void ReleaseSurface() {}
  void ReloadSurface() {}
};

}  // namespace quor
