#include "engine/core/node_list.h"

#include "engine/core/object_stream.h"

namespace quor {

NodeList::NodeList() {
  sentinel_ = new Node;
  sentinel_->next_ = sentinel_;
  sentinel_->prev_ = sentinel_;
  head_ = sentinel_;
}

NodeList::NodeList(const NodeList& other) : NodeList() { *this = other; }

NodeList& NodeList::operator=(const NodeList& other) {
  if (this == &other) return *this;
  DeleteAll();
  for (Node* n = other.GetTail(); n != other.sentinel_; n = n->prev_) AddHead(n->Clone());
  return *this;
}

NodeList::~NodeList() {
  DeleteAll();
  head_ = nullptr;
  delete sentinel_;
  sentinel_ = nullptr;
}

Node* NodeList::Clone() const { return new NodeList(*this); }

void NodeList::AddHead(Node* obj) {
  obj->next_ = head_;
  head_->prev_ = obj;
  head_ = obj;
  obj->prev_ = sentinel_;
  ++count_;
}

void NodeList::InsertBefore(Node* obj, Node* before) {
  if (before == head_) {
    AddHead(obj);
    return;
  }
  ++count_;
  obj->next_ = before;
  obj->prev_ = before->prev_;
  before->prev_->next_ = obj;
  before->prev_ = obj;
}

void NodeList::Unlink(Node* obj) {
  if (obj == head_) {
    head_ = obj->next_;
    head_->prev_ = sentinel_;
  } else {
    obj->prev_->next_ = obj->next_;
    obj->next_->prev_ = obj->prev_;
  }
  --count_;
}

void NodeList::Remove(Node* obj) {
  Unlink(obj);
  delete obj;
}

void NodeList::DeleteAll() {
  Node* n = head_;
  while (n && n != sentinel_) {
    Node* next = n->next_;
    delete n;
    n = next;
  }
  head_ = sentinel_;
  sentinel_->prev_ = sentinel_;
  count_ = 0;
}

bool NodeList::Contains(const Node* obj) const {
  for (Node* n = head_; !n->IsEnd(); n = n->next_)
    if (n == obj) return true;
  return false;
}

void NodeList::Save(ObjectStream& stream) {
  stream.WriteLong(count_);
  for (Node* n = GetTail(); n != sentinel_; n = n->prev_) stream.WriteObject(n);
}

void NodeList::Load(ObjectStream& stream) { LoadOnly(stream, nullptr); }

void NodeList::LoadOnly(ObjectStream& stream, bool (*accepts)(const Node*)) {
  // Every element takes at least its four-byte reference.
  uint32_t count = stream.ReadCount(4);
  for (uint32_t i = 0; i < count && stream.Good(); ++i) {
    Node* obj = nullptr;
    stream.ReadObject(&obj);
    if (obj && accepts && !accepts(obj)) {
      stream.MarkFailed();
      return;
    }
    // An object already in a list (a bad file can name one twice) is not linked again.
    if (obj && !obj->GetNext()) AddHead(obj);
  }
}

}  // namespace quor
