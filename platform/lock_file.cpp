#include "platform/lock_file.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/file_io.h"
#include "platform/files.h"

namespace platform {

namespace {

// A lock waits this long for another game's; a lock file removed as it was locked is taken
// again at once this many times first.
constexpr auto kFewSeconds = std::chrono::seconds(5);
constexpr int kRetriesAtOnce = 8;

std::function<bool(FolderWait, WaitingFor)>& WaitHandler() {
  static std::function<bool(FolderWait, WaitingFor)> handler;
  return handler;
}

// The descriptors of the locks this process holds. A child forked without a new program
// would share their opens, and so hold the locks for as long as it lived: it closes them.
std::vector<int>& HeldHere() {
  static std::vector<int> held;
  [[maybe_unused]] static const int closedInChildren =
      pthread_atfork(nullptr, nullptr, [] { std::for_each(held.begin(), held.end(), close); });
  return held;
}

constexpr int kOpenFlags = O_RDWR | O_NOFOLLOW;

}  // namespace

void SetFolderWaitHandler(std::function<bool(FolderWait, WaitingFor)> handler) {
  WaitHandler() = std::move(handler);
}

bool TellFolderWait(FolderWait step, WaitingFor what) {
  return !WaitHandler() || WaitHandler()(step, what);
}

FolderWaitTurns::FolderWaitTurns(bool fewSeconds)
    : until_(std::chrono::steady_clock::now() +
             (fewSeconds ? kFewSeconds : std::chrono::seconds(0))) {}

FolderWaitTurns::~FolderWaitTurns() {
  if (begun_) TellFolderWait(FolderWait::kEnds);
}

bool FolderWaitTurns::More(WaitingFor what) {
  if (givenUp_ || std::chrono::steady_clock::now() >= until_) return false;
  givenUp_ = !TellFolderWait(begun_ ? FolderWait::kGoesOn : FolderWait::kBegins, what);
  begun_ = true;
  if (!givenUp_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  return !givenUp_;
}

LockFile::LockFile(std::string path, Wait wait, mode_t mode, std::string note)
    : path_(std::move(path)), note_(std::move(note)), mode_(mode) {
  FolderWaitTurns turns(wait == Wait::kFewSeconds);
  std::optional<State> tried;  // none: to be tried again at once
  for (int retriesAtOnce = kRetriesAtOnce;;) {
    tried = TryOnce();
    if (!tried && retriesAtOnce-- > 0) continue;
    if (tried == State::kHeld || tried == State::kNone ||
        !turns.More(tried == State::kInUse ? WaitingFor::kAnotherProgram
                                           : WaitingFor::kAnotherGame))
      break;
  }
  state_ = turns.GivenUp() ? State::kGivenUp : tried.value_or(State::kBusy);
}

std::optional<LockFile::State> LockFile::TryOnce() {
  int fd = OpenPlainFile(path_, kOpenFlags);
  if (fd < 0 && errno == ENOENT)
    fd = open(path_.c_str(), kOpenFlags | O_CLOEXEC | O_NONBLOCK | O_CREAT | O_EXCL, mode_);
  // Made by another game meanwhile, or a name a network share's client still thinks free.
  if (fd < 0 && errno == EEXIST) return std::nullopt;
  error_ = fd < 0 ? errno : 0;
  // Held open by another program for a moment (a lease, as a file server takes one): waited
  // for as a busy lock is.
  if (fd < 0) return error_ == EAGAIN ? State::kInUse : State::kNone;
  struct flock lock {};  // the whole file, from its start
  lock.l_type = F_WRLCK;
  int locked;
  while ((locked = fcntl(fd, F_OFD_SETLK, &lock)) != 0 && errno == EINTR) {
  }
  error_ = locked == 0 ? 0 : errno;
  holderNote_.clear();
  if (locked != 0) {
    const bool busy = error_ == EAGAIN || error_ == EACCES;
    if (busy && !ReadUpTo(fd, holderNote_, 64)) holderNote_.clear();
    // Never removed here: another game, whose locks work, may hold it.
    close(fd);
    return busy ? State::kBusy : State::kNone;
  }
  // A lock on a file its holder removed as it let go holds nothing: taken again; so is one
  // whose look fails, as the next try's look says why.
  struct stat st, named;
  if (fstat(fd, &st) != 0 || st.st_nlink == 0 || lstat(path_.c_str(), &named) != 0 ||
      !SameFile(st, named)) {
    close(fd);
    return std::nullopt;
  }
  // A file under another name too is no longer the lock's own alone.
  if (st.st_nlink == 1 && st.st_uid == geteuid()) fchmod(fd, mode_);
  if (st.st_nlink == 1 && !note_.empty() && ftruncate(fd, 0) == 0)
    WriteAll(fd, note_.data(), note_.size());
  fd_ = fd;
  HeldHere().push_back(fd);
  return State::kHeld;
}

LockFile::~LockFile() {
  if (fd_ < 0) return;
  std::vector<int>& held = HeldHere();
  held.erase(std::remove(held.begin(), held.end(), fd_), held.end());
  struct stat mine, named;
  // Removed while still held, so that a game that opened it meanwhile finds it gone once it
  // has the lock, and makes another.
  if (fstat(fd_, &mine) == 0 && lstat(path_.c_str(), &named) == 0 && SameFile(mine, named))
    unlink(path_.c_str());
  close(fd_);
}

}  // namespace platform
