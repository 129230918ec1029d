// The locks that name one running program (lock_file.h): a second process asking for the
// same name is refused while the first lives, and the lock goes away with the process that
// held it. The single copy's lock file is in the user's runtime folder (XDG_RUNTIME_DIR,
// else /tmp), and is the player's alone: where another user could hold it, there is no
// guard. The game's folder is held too, for every user: the game keeps state files there
// under names of its own, which no two games may use at once.
#pragma once

#include <memory>
#include <string>

#include "platform/lock_file.h"

namespace platform {

class InstanceLock {
 public:
  enum class Result {
    Held,           // this object now holds the lock
    HeldElsewhere,  // another process holds it
    Unavailable,    // no lock can be had through its file; Problem() says why
  };

  Result Acquire(const std::string& name);
  // Holds the folder a game runs in until Release.
  Result AcquireFolder(const std::string& folder);
  // Lets go of both.
  void Release();
  bool Held() const { return copy_ != nullptr; }
  // The lock file's path and the system's reason, after Unavailable.
  const std::string& Problem() const { return problem_; }
  // After HeldElsewhere from AcquireFolder: a line that says so, and whose game it is where
  // the system tells.
  const std::string& FolderHolder() const { return holder_; }

 private:
  Result Take(std::unique_ptr<LockFile>& lock, const std::string& path, mode_t mode);

  std::unique_ptr<LockFile> copy_, folder_;
  std::string problem_, holder_, holderNote_;
};

}  // namespace platform
