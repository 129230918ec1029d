// Values kept by key, at most a given number of them: where one more is kept, the one found or
// kept least recently goes. Finding and keeping take logarithmic time, however many are kept.
#pragma once

#include <cstddef>
#include <list>
#include <map>
#include <utility>

namespace platform {

template <typename Key, typename Value>
class RecentlyUsed {
 public:
  explicit RecentlyUsed(size_t most) : most_(most) {}  // most: at least one

  // The value kept for key, now the one used most recently; null where none is kept.
  const Value* Find(const Key& key) {
    const auto at = where_.find(key);
    if (at == where_.end()) return nullptr;
    used_.splice(used_.begin(), used_, at->second);
    return &at->second->second;
  }
  // Keeps value for key (which holds none), dropping the one used least recently where full.
  void Keep(const Key& key, Value value) {
    if (used_.size() == most_) {
      where_.erase(used_.back().first);
      used_.pop_back();
    }
    where_[key] = used_.emplace(used_.begin(), key, std::move(value));
  }

 private:
  size_t most_;
  std::list<std::pair<Key, Value>> used_;  // the one used last first
  std::map<Key, typename std::list<std::pair<Key, Value>>::iterator> where_;
};

}  // namespace platform
