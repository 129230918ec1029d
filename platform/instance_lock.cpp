#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Result InstanceLock::Acquire(const std::string& name) {
  Release();
  problem_.clear();
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string dir = (runtime && *runtime) ? runtime : "/tmp";
  std::string path = dir + "/quor-" + std::to_string(getuid()) + "-" + name + ".lock";
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    problem_ = path + ": " + std::strerror(errno);
    return Result::Unavailable;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) return Result::HeldElsewhere;
    problem_ = path + ": " + std::strerror(error);
    return Result::Unavailable;
  }
  fd_ = fd;
  return Result::Held;
}

InstanceLock::Result InstanceLock::AcquireFolder(const std::string& folder) {
  folder_ = std::make_unique<FolderLock>(folder, FolderLock::Use::kRun);
  switch (folder_->Taken()) {
    case FolderLock::State::kHeld:
      return Result::Held;
    case FolderLock::State::kHeldElsewhere:
      folder_.reset();
      return Result::HeldElsewhere;
    case FolderLock::State::kUnavailable:
      break;
  }
  problem_ = folder + ": " + std::strerror(folder_->Error());
  folder_.reset();
  return Result::Unavailable;
}

void InstanceLock::Release() {
  folder_.reset();
  if (fd_ >= 0) {
    flock(fd_, LOCK_UN);
    close(fd_);
    fd_ = -1;
  }
}

}  // namespace platform
