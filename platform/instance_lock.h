// A lock that names one running program: a second process asking for the same name is
// refused while the first lives, and the lock goes away with the process that held it.
// The lock is a file in the user's runtime folder (XDG_RUNTIME_DIR, else /tmp). The game's
// folder is held too, for every user: the game keeps state files there under names of its
// own, which no two games may use at once.
#pragma once

#include <memory>
#include <string>

#include "platform/folder_lock.h"

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
  // Holds the folder a game runs in until Release. Unavailable where it takes no lock of any
  // kind, which a folder that takes no state files either does.
  Result AcquireFolder(const std::string& folder);
  // Lets go of both.
  void Release();
  bool Held() const { return fd_ >= 0; }
  // The lock file's path and the system's reason, after Unavailable.
  const std::string& Problem() const { return problem_; }

 private:
  int fd_ = -1;
  std::unique_ptr<FolderLock> folder_;
  std::string problem_;
};

}  // namespace platform
