// The root of every engine object: five virtual operations (destroy, clone, load, save,
// class record) and the two links by which it lives in one intrusive list.
#pragma once

namespace quor {
class ObjectStream;
struct ClassRecord;

class Node {
 public:
  Node() = default;
  Node(const Node&) : next_(nullptr), prev_(nullptr) {}
  Node& operator=(const Node&) { return *this; }  // links belong to the list, never copied
  virtual ~Node();

  // A new heap copy of this object.
  virtual Node* Clone() const;
  // Reads / writes the object's own state.
  virtual void Load(ObjectStream& stream);
  virtual void Save(ObjectStream& stream);
  // The class's registration record; "node" for classes that are never saved by name.
  virtual const ClassRecord& GetClassRecord() const;

  Node* GetNext() const { return next_; }
  Node* GetPrev() const { return prev_; }
  // True only for a list's end sentinel, whose next link points to itself.
  bool IsEnd() const { return next_ == this; }

 private:
  friend class NodeList;
  Node* next_ = nullptr;
  Node* prev_ = nullptr;
};

// True when node is a T: what a typed list accepts from a saved file.
template <typename T>
bool IsA(const Node* node) {
  return dynamic_cast<const T*>(node) != nullptr;
}

}  // namespace quor
