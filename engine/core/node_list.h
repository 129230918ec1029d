// The intrusive doubly linked list of Nodes with an end sentinel and a count. It owns its
// elements: removing or clearing deletes them; Unlink takes one out alive.
#pragma once

#include <cstdint>

#include "engine/core/node.h"

namespace quor {

class NodeList : public Node {
 public:
  NodeList();
  NodeList(const NodeList& other);
  NodeList& operator=(const NodeList& other);
  ~NodeList() override;

  Node* Clone() const override;
  // Writes the count, then each element as an object reference from the last to the first.
  void Save(ObjectStream& stream) override;
  // Reads a count and that many references, adding each at the head.
  void Load(ObjectStream& stream) override;
  // The same for a list that holds one class only: an object that accepts refuses fails
  // the stream and is left out of the list (IsA<Sprite>, say).
  void LoadOnly(ObjectStream& stream, bool (*accepts)(const Node*));

  void AddHead(Node* obj);
  // Inserts obj before `before`; before the sentinel appends at the end.
  void InsertBefore(Node* obj, Node* before);
  void Unlink(Node* obj);
  void Remove(Node* obj);
  void DeleteAll();

  int32_t Count() const { return count_; }
  Node* GetHead() const { return head_; }
  Node* GetSentinel() const { return sentinel_; }
  // The last element, or the sentinel when empty.
  Node* GetTail() const { return sentinel_->prev_; }
  bool Contains(const Node* obj) const;

 private:
  Node* head_ = nullptr;
  Node* sentinel_ = nullptr;
  int32_t count_ = 0;
};

}  // namespace quor
