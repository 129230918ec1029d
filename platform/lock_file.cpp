#include "platform/lock_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <set>
#include <thread>
#include <utility>

#include "platform/file_io.h"

namespace platform {

namespace {

// A lock waits this long for another game's.
constexpr auto kFewSeconds = std::chrono::seconds(5);

std::function<bool(FolderWait)>& WaitHandler() {
  static std::function<bool(FolderWait)> handler;
  return handler;
}

// The lock files this process holds. Closing any descriptor of a file drops every record
// lock the process has on it, so a file held here is never opened a second time.
std::set<std::pair<dev_t, ino_t>>& HeldHere() {
  static std::set<std::pair<dev_t, ino_t>> held;
  return held;
}

constexpr int kOpenFlags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;

}  // namespace

void SetFolderWaitHandler(std::function<bool(FolderWait)> handler) {
  WaitHandler() = std::move(handler);
}

bool TellFolderWait(FolderWait step) { return !WaitHandler() || WaitHandler()(step); }

LockFile::LockFile(std::string path, Wait wait) : path_(std::move(path)) {
  const auto until = std::chrono::steady_clock::now() +
                     (wait == Wait::kFewSeconds ? kFewSeconds : std::chrono::seconds(0));
  bool waiting = false;
  for (;;) {
    const Try tried = TryOnce();
    if (tried == Try::kAgain) continue;
    state_ = tried == Try::kHeld ? State::kHeld : tried == Try::kNone ? State::kNone : State::kBusy;
    if (state_ != State::kBusy || std::chrono::steady_clock::now() >= until) break;
    if (!TellFolderWait(waiting ? FolderWait::kGoesOn : FolderWait::kBegins)) {
      state_ = State::kGivenUp;
      break;
    }
    waiting = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (waiting) TellFolderWait(FolderWait::kEnds);
}

LockFile::Try LockFile::TryOnce() {
  struct stat named, st;
  if (lstat(path_.c_str(), &named) == 0 && HeldHere().count({named.st_dev, named.st_ino}))
    return Try::kBusy;
  int fd = open(path_.c_str(), kOpenFlags);
  const bool made = fd < 0 && errno == ENOENT;
  if (made) {
    fd = open(path_.c_str(), kOpenFlags | O_CREAT | O_EXCL, 0666);
    // Any user's game may open it for writing and lock it, whatever the umask of its maker.
    if (fd >= 0) fchmod(fd, 0666);
    if (fd < 0 && errno == EEXIST) return Try::kAgain;
  }
  error_ = fd < 0 ? errno : fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EINVAL;
  if (error_) {
    if (fd >= 0) close(fd);
    stands_ = lstat(path_.c_str(), &named) == 0;
    owner_ = stands_ ? named.st_uid : 0;
    return Try::kNone;
  }
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  int locked;
  while ((locked = fcntl(fd, F_SETLK, &lock)) != 0 && errno == EINTR) {
  }
  error_ = locked == 0 ? 0 : errno;
  const bool busy = error_ == EAGAIN || error_ == EACCES;
  if (busy && fcntl(fd, F_GETLK, &lock) == 0) holder_ = lock.l_type == F_UNLCK ? 0 : lock.l_pid;
  // A lock on a file its holder removed as it let go holds nothing: taken again.
  if (locked != 0 || lstat(path_.c_str(), &named) != 0 || !SameFile(st, named)) {
    // One made for a lock that none can have here goes again.
    if (made && locked != 0 && !busy && lstat(path_.c_str(), &named) == 0 && SameFile(st, named))
      unlink(path_.c_str());
    close(fd);
    return locked == 0 ? Try::kAgain : busy ? Try::kBusy : Try::kNone;
  }
  fd_ = fd;
  HeldHere().insert({st.st_dev, st.st_ino});
  return Try::kHeld;
}

LockFile::~LockFile() {
  if (fd_ < 0) return;
  struct stat mine, named;
  if (fstat(fd_, &mine) == 0) {
    HeldHere().erase({mine.st_dev, mine.st_ino});
    // Removed while still held, so that a game that opened it meanwhile finds it gone once it
    // has the lock, and makes another.
    if (lstat(path_.c_str(), &named) == 0 && SameFile(mine, named)) unlink(path_.c_str());
  }
  close(fd_);
}

}  // namespace platform
