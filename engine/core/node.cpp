#include "engine/core/node.h"

#include "engine/core/class_record.h"

namespace quor {

Node::~Node() {
  next_ = nullptr;
  prev_ = nullptr;
}

Node* Node::Clone() const { return new Node; }
void Node::Load(ObjectStream&) {}
void Node::Save(ObjectStream&) {}
const ClassRecord& Node::GetClassRecord() const { return NodeClassRecord; }

}  // namespace quor
