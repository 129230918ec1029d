// Every live object of one type, so that one being deleted can be scrubbed from the
// references the others still hold to it.
#pragma once

namespace quor {

template <typename T>
class LiveList {
 public:
  // An object's place in the list, held as a member and made with its owner. A copied
  // object gets a place of its own, so the link is neither copied nor assigned.
  class Link {
   public:
    explicit Link(T* owner) : owner_(owner) {
      next_ = head_;
      if (head_) head_->prev_ = this;
      head_ = this;
    }
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    ~Link() { Leave(); }

    // Takes the owner out early, for a destructor that must not visit itself; harmless twice.
    void Leave() {
      if (!prev_ && head_ != this) return;
      if (prev_) prev_->next_ = next_;
      else head_ = next_;
      if (next_) next_->prev_ = prev_;
      next_ = prev_ = nullptr;
    }

   private:
    friend class LiveList;
    T* owner_;
    Link* next_ = nullptr;
    Link* prev_ = nullptr;
  };

  // Calls visit(T*) for every live object, newest first.
  template <typename Visit>
  static void ForEach(Visit visit) {
    for (Link* link = head_; link; link = link->next_) visit(link->owner_);
  }

 private:
  // Constant-initialised, so it is ready before any static object (NullSprite) is built.
  static inline Link* head_ = nullptr;
};

}  // namespace quor
