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

InstanceLock::Result InstanceLock::Take(std::unique_ptr<LockFile>& lock, const std::string& path) {
  lock = std::make_unique<LockFile>(path, LockFile::Wait::kNone);
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
  return Take(copy_, dir + "/quor-" + std::to_string(getuid()) + "-" + name + ".lock");
}

InstanceLock::Result InstanceLock::AcquireFolder(const std::string& folder) {
  const Result result = Take(folder_, InFolder(folder, save_names::RunLockName()));
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
