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

// The lock files this process holds, which OpenPlainFile never opens.
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

LockFile::LockFile(std::string path, Wait wait, mode_t mode) : path_(std::move(path)), mode_(mode) {
  const auto until = std::chrono::steady_clock::now() +
                     (wait == Wait::kFewSeconds ? kFewSeconds : std::chrono::seconds(0));
  bool waiting = false;
  Try tried;
  while ((tried = TryOnce()) == Try::kBusy || tried == Try::kAgain) {
    if (std::chrono::steady_clock::now() >= until) break;
    if (!TellFolderWait(waiting ? FolderWait::kGoesOn : FolderWait::kBegins)) {
      state_ = State::kGivenUp;
      break;
    }
    waiting = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (state_ != State::kGivenUp)
    state_ = tried == Try::kHeld ? State::kHeld : tried == Try::kNone ? State::kNone : State::kBusy;
  if (waiting) TellFolderWait(FolderWait::kEnds);
}

LockFile::Try LockFile::TryOnce() {
  int fd = OpenPlainFile(path_, kOpenFlags);
  // Held here already: as busy as held by another.
  if (fd < 0 && errno == EBUSY) return Try::kBusy;
  if (fd < 0 && errno == ENOENT) {
    fd = open(path_.c_str(), kOpenFlags | O_CREAT | O_EXCL, mode_);
    // Made by another game meanwhile, or a name a network share's client still thinks free.
    if (fd < 0 && errno == EEXIST) return Try::kAgain;
    if (fd >= 0) fchmod(fd, mode_);
  }
  error_ = fd < 0 ? errno : 0;
  if (fd < 0) return Try::kNone;
  struct flock lock {};  // the whole file, from its start
  lock.l_type = F_WRLCK;
  int locked;
  while ((locked = fcntl(fd, F_SETLK, &lock)) != 0 && errno == EINTR) {
  }
  error_ = locked == 0 ? 0 : errno;
  if (locked != 0) {
    const bool busy = error_ == EAGAIN || error_ == EACCES;
    if (busy && fcntl(fd, F_GETLK, &lock) == 0) holder_ = lock.l_type == F_UNLCK ? 0 : lock.l_pid;
    // Never removed here: another game, whose locks work, may hold it.
    close(fd);
    return busy ? Try::kBusy : Try::kNone;
  }
  // A lock on a file its holder removed as it let go holds nothing: taken again.
  struct stat st, named;
  if (fstat(fd, &st) != 0 || st.st_nlink == 0 || lstat(path_.c_str(), &named) != 0 ||
      !SameFile(st, named)) {
    close(fd);
    return Try::kAgain;
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

int OpenPlainFile(const std::string& path, int flags) {
  // Looked at through a descriptor that opens nothing (and whose closing lets go of no lock),
  // then opened through that very descriptor, so nothing put at the name meanwhile is.
  const int at = open(path.c_str(), O_PATH | O_CLOEXEC | (flags & O_NOFOLLOW));
  struct stat st;
  int error = at < 0 ? errno : fstat(at, &st) != 0 ? errno : 0;
  if (!error && !S_ISREG(st.st_mode))
    error = S_ISDIR(st.st_mode) ? EISDIR : S_ISLNK(st.st_mode) ? ELOOP : EINVAL;
  if (!error && HeldHere().count({st.st_dev, st.st_ino})) error = EBUSY;
  const int fd = error ? -1
                       : open(("/proc/self/fd/" + std::to_string(at)).c_str(),
                              (flags & ~(O_NOFOLLOW | O_CREAT)) | O_CLOEXEC);
  if (fd < 0 && !error) error = errno;
  if (at >= 0) close(at);
  errno = error;
  return fd;
}

}  // namespace platform
