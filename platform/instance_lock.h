// A lock that names one running program: a second process asking for the same name is
// refused while the first lives, and the lock goes away with the process that held it.
// The lock is a file in the user's runtime folder (XDG_RUNTIME_DIR, else /tmp).
#pragma once

#include <string>

namespace platform {

class InstanceLock {
 public:
  enum class Result {
    Held,           // this object now holds the lock
    HeldElsewhere,  // another process holds it
    Unavailable,    // the lock file could not be opened; Problem() says why
  };

  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  Result Acquire(const std::string& name);
  void Release();
  bool Held() const { return fd_ >= 0; }
  // The lock file's path and the system's reason, after Unavailable.
  const std::string& Problem() const { return problem_; }

 private:
  int fd_ = -1;
  std::string problem_;
};

}  // namespace platform
