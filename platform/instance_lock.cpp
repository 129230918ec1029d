#include "platform/instance_lock.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/file_io.h"
#include "platform/save_names.h"

namespace platform {

namespace {

// The name of the user running process pid, where this machine shows it.
std::string UserOf(pid_t pid) {
  struct stat st;
  return pid > 0 && stat(("/proc/" + std::to_string(pid)).c_str(), &st) == 0 ? UserName(st.st_uid)
                                                                             : "";
}

}  // namespace

InstanceLock::Result InstanceLock::Take(std::unique_ptr<LockFile>& lock, const std::string& path,
                                        mode_t mode) {
  lock = std::make_unique<LockFile>(path, LockFile::Wait::kNone, mode);
  const LockFile::State state = lock->Taken();
  holderPid_ = lock->Holder();
  if (state == LockFile::State::kNone) problem_ = path + ": " + std::strerror(lock->Error());
  if (state != LockFile::State::kHeld) lock.reset();
  return state == LockFile::State::kHeld   ? Result::Held
         : state == LockFile::State::kNone ? Result::Unavailable
                                           : Result::HeldElsewhere;
}

InstanceLock::Result InstanceLock::Acquire(const std::string& name) {
  Release();
  problem_.clear();
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string dir = (runtime && *runtime) ? runtime : "/tmp";
  const std::string path = dir + "/quor-" + std::to_string(getuid()) + "-" + name + ".lock";
  const Result result = Take(copy_, path, 0600);
  // The guard is the player's own: one at its name that another user made, or may write, is
  // one that user could hold for as long as they like. One of the player's own that others may
  // write (an earlier version made it so) is made theirs alone once held.
  struct stat st;
  if (result == Result::Unavailable || lstat(path.c_str(), &st) != 0) return result;
  if (st.st_uid == geteuid() && (result == Result::Held || !(st.st_mode & 022))) {
    if (result == Result::Held) chmod(path.c_str(), 0600);
    return result;
  }
  copy_.reset();
  problem_ = path + ": " + (st.st_uid == geteuid() ? "others may write it" : "another user's file");
  return Result::Unavailable;
}

InstanceLock::Result InstanceLock::AcquireFolder(const std::string& folder) {
  const Result result = Take(folder_, InFolder(folder, save_names::RunLockName()), 0666);
  const std::string user = UserOf(holderPid_);
  holder_ = "Another game runs in the same game folder \"" + folder + "\"" +
            (user.empty() ? "" : ", " + user + "'s") + ".";
  if (result != Result::HeldElsewhere) holder_.clear();
  return result;
}

void InstanceLock::Release() {
  folder_.reset();
  copy_.reset();
}

}  // namespace platform
