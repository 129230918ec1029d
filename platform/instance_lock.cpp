#include "platform/instance_lock.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/file_io.h"
#include "platform/save_names.h"

namespace platform {

InstanceLock::Result InstanceLock::Take(std::unique_ptr<LockFile>& lock, const std::string& path,
                                        mode_t mode) {
  // Its holder's user, by number, for a game it refuses to tell whose game runs.
  lock = std::make_unique<LockFile>(path, LockFile::Wait::kNone, mode, std::to_string(geteuid()));
  const LockFile::State state = lock->Taken();
  holderNote_ = lock->HolderNote();
  const bool busy = state == LockFile::State::kBusy, held = state == LockFile::State::kHeld;
  if (!busy && !held) problem_ = path + ": " + std::strerror(lock->Error());
  if (!held) lock.reset();
  return held ? Result::Held : busy ? Result::HeldElsewhere : Result::Unavailable;
}

InstanceLock::Result InstanceLock::Acquire(const std::string& name) {
  Release();
  problem_.clear();
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string dir = (runtime && *runtime) ? runtime : "/tmp";
  const std::string path = dir + "/quor-" + std::to_string(geteuid()) + "-" + name + ".lock";
  const Result result = Take(copy_, path, 0600);
  // The guard is the player's own: one at its name that another user made, or may write, or
  // that has another name too, is one that another user could hold for as long as they like.
  // One of the player's own that others may write (an earlier version made it so) is made
  // theirs alone once held (lock_file.h).
  struct stat st;
  if (result == Result::Unavailable || lstat(path.c_str(), &st) != 0) return result;
  const bool own = st.st_uid == geteuid() && st.st_nlink == 1;
  if (own && (result == Result::Held || !(st.st_mode & 022))) return result;
  copy_.reset();
  problem_ = path + ": " +
             (st.st_uid != geteuid() ? "another user's file"
              : st.st_nlink != 1     ? "a file under another name too"
                                     : "others may write it");
  return Result::Unavailable;
}

InstanceLock::Result InstanceLock::AcquireFolder(const std::string& folder) {
  const Result result = Take(folder_, InFolder(folder, save_names::RunLockName()), 0666);
  // A note that is no user's number names nobody.
  const bool told = !holderNote_.empty() && holderNote_.size() < 11 &&
                    holderNote_.find_first_not_of("0123456789") == std::string::npos &&
                    std::stoull(holderNote_) < uid_t(-1);
  holder_ = "Another game runs in the same game folder \"" + folder + "\"" +
            (told ? ", " + UserName(uid_t(std::stoull(holderNote_))) + "'s" : "") + ".";
  if (result != Result::HeldElsewhere) holder_.clear();
  return result;
}

void InstanceLock::Release() {
  folder_.reset();
  copy_.reset();
}

}  // namespace platform
