#include "platform/folder_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>
#include <utility>

#include "platform/file_io.h"
#include "platform/process_info.h"
#include "platform/save_names.h"

namespace platform {

namespace {

// ---- Waiting -------------------------------------------------------------------------------

// A save waits this long for another game's in the same folder.
constexpr auto kSaveWait = std::chrono::seconds(5);

std::function<void(FolderWait)>& WaitHandler() {
  static std::function<void(FolderWait)> handler;
  return handler;
}

// Tells the handler of a wait from its first step to its end.
class Waiting {
 public:
  void GoesOn() {
    TellFolderWait(begun_ ? FolderWait::kGoesOn : FolderWait::kBegins);
    begun_ = true;
  }
  ~Waiting() {
    if (begun_) TellFolderWait(FolderWait::kEnds);
  }

 private:
  bool begun_ = false;
};

// A moment between two tries, unlike another waiter's, so that two games that met do not
// meet again.
void Pause() {
  static std::minstd_rand random(static_cast<unsigned>(getpid()) ^
                                 static_cast<unsigned>(std::time(nullptr)));
  std::this_thread::sleep_for(std::chrono::milliseconds(10 + random() % 20));
}

// ---- The system's lock ---------------------------------------------------------------------

enum class Flocked { kHeld, kBusy, kNone };

// flock through fd: held, held by another process, or none to be had through it here (the
// file system has no such lock, or refuses it through fd).
Flocked Flock(int fd) {
  int result;
  while ((result = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  return result == 0 ? Flocked::kHeld : errno == EWOULDBLOCK ? Flocked::kBusy : Flocked::kNone;
}

// The run's lock file in a folder.
const std::string& RunFileName() {
  static const std::string name = save_names::Make("game", "running");
  return name;
}

// ---- Claims --------------------------------------------------------------------------------

// A claim untouched this long, by the clock of the disk that holds it, was left by a game
// that stopped; a live one is touched far more often.
constexpr int64_t kAbandonedSeconds = 120;
constexpr auto kTouchEvery = std::chrono::seconds(5);
constexpr char kClaimHeader[] = "quor claim 1\n";

const char* ClaimRole(FolderLock::Use use) {
  return use == FolderLock::Use::kSave ? "saving" : "playing";
}

// This machine as its claims name it: its boot and the process ids this game sees. Empty
// where they cannot be told, so that no claim is taken for one of this machine's.
const std::string& ThisMachine() {
  static const std::string machine = [] {
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string boot;
    std::getline(in, boot);
    char ids[128];
    ssize_t n = readlink("/proc/self/ns/pid", ids, sizeof ids);
    return boot.empty() || n <= 0 ? std::string() : boot + " " + std::string(ids, size_t(n));
  }();
  return machine;
}

std::string ClaimText() {
  ProcessInfo me;
  ReadProcessInfo(getpid(), me);
  return kClaimHeader + ThisMachine() + "\n" + std::to_string(getpid()) + " " +
         std::to_string(me.start) + "\n";
}

int64_t Nanoseconds(const struct timespec& t) { return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec; }

// Whether the claim at path is of a game that holds the folder: running, or out of sight and
// touched within two minutes of now (the disk's clock) and free from freeFrom if it stopped.
bool LiveClaim(const std::string& path, const struct timespec& now, bool& running,
               int64_t& freeFrom) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::string text;
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (fd >= 0) {
    if (!ReadUpTo(fd, text, 512)) text.clear();
    close(fd);
  }
  std::istringstream lines(text);
  std::string header, machine;
  long long pid = 0;
  uint64_t start = 0;
  std::getline(lines, header);
  std::getline(lines, machine);
  lines >> pid >> start;
  if (header + "\n" == kClaimHeader && lines && !machine.empty() && machine == ThisMachine() &&
      pid > 0) {
    ProcessInfo it;
    if (ReadProcessInfo(pid_t(pid), it)) {
      running = it.state != 'Z' && it.state != 'X' && it.start == start;
      return running;
    }
    if (kill(pid_t(pid), 0) != 0 && errno == ESRCH) return false;
    // A process this user may not look at (where other users' are hidden): told by its age.
  }
  // Made elsewhere, being made, or not to be read: told by its age.
  const int64_t age = (Nanoseconds(now) - Nanoseconds(st.st_mtim)) / 1000000000;
  if (age >= kAbandonedSeconds) return false;
  freeFrom = std::max<int64_t>(freeFrom, int64_t(std::time(nullptr)) + kAbandonedSeconds - age);
  return true;
}

}  // namespace

void SetFolderWaitHandler(std::function<void(FolderWait)> handler) {
  WaitHandler() = std::move(handler);
}

void TellFolderWait(FolderWait step) {
  if (WaitHandler()) WaitHandler()(step);
}

bool IsRunLockName(const std::string& name) { return name == RunFileName(); }

void RemoveAbandonedRunLock(const std::string& folder) {
  const std::string path = InFolder(folder, RunFileName());
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return;
  struct stat st, named;
  // Removed only while this game holds it, so that a game that opened it meanwhile finds it
  // gone once it has it, and makes another.
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && Flock(fd) == Flocked::kHeld &&
      lstat(path.c_str(), &named) == 0 && SameFile(st, named))
    unlink(path.c_str());
  close(fd);
}

// Keeps a claim touched while it is held, whatever the game's own thread is doing.
class FolderLock::Toucher {
 public:
  explicit Toucher(int fd)
      : thread_([this, fd] {
          std::unique_lock<std::mutex> lock(mutex_);
          while (!cv_.wait_for(lock, kTouchEvery, [this] { return stop_; })) futimens(fd, nullptr);
        }) {}
  ~Toucher() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool stop_ = false;
  std::thread thread_;
};

FolderLock::FolderLock(const std::string& folder, Use use) : folder_(folder), use_(use) {
  const auto until =
      std::chrono::steady_clock::now() + (use == Use::kSave ? kSaveWait : std::chrono::seconds(0));
  Waiting waiting;
  bool claims = false;
  for (;;) {
    holderRunning_ = false;
    freeFrom_ = 0;
    const Try tried = claims ? TryClaim() : use == Use::kSave ? TryFolder() : TryRunFile();
    if (tried == Try::kNoSystemLock) {
      claims = true;
      continue;
    }
    if (tried == Try::kHeld) {
      state_ = State::kHeld;
      return;
    }
    if (tried == Try::kFailed) {
      state_ = State::kUnavailable;
      return;
    }
    if (std::chrono::steady_clock::now() >= until) {
      state_ = State::kHeldElsewhere;
      return;
    }
    waiting.GoesOn();
    Pause();
  }
}

FolderLock::~FolderLock() {
  toucher_.reset();
  struct stat mine, named;
  const std::string& namedPath = claim_.empty() ? runFile_ : claim_;
  // A name this game made goes with it, unless another game has made it its own meanwhile.
  if (fd_ >= 0 && !namedPath.empty() && fstat(fd_, &mine) == 0 &&
      lstat(namedPath.c_str(), &named) == 0 && SameFile(mine, named))
    unlink(namedPath.c_str());
  if (fd_ >= 0) close(fd_);
}

bool FolderLock::StillHeld() const {
  if (state_ != State::kHeld) return false;
  if (claim_.empty()) return true;
  struct stat mine, named;
  return fstat(fd_, &mine) == 0 && lstat(claim_.c_str(), &named) == 0 && SameFile(mine, named);
}

// ---- The system's lock, on the folder itself (a save) -------------------------------------

FolderLock::Try FolderLock::TryFolder() {
  int fd = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
  // A folder this user may not read takes no lock of the system's, and a claim needs a look
  // at the folder too: nothing can be had.
  if (fd < 0) {
    error_ = errno;
    return Try::kFailed;
  }
  const Flocked flocked = Flock(fd);
  if (flocked == Flocked::kHeld) {
    fd_ = fd;
    return Try::kHeld;
  }
  close(fd);
  holderRunning_ = true;
  return flocked == Flocked::kBusy ? Try::kBusy : Try::kNoSystemLock;
}

// ---- The system's lock, on the run's lock file ---------------------------------------------

FolderLock::Try FolderLock::TryRunFile() {
  const std::string path = InFolder(folder_, RunFileName());
  const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
  for (;;) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | flags, 0666);
    const bool made = fd >= 0;
    // Any user may open it for writing and lock it (as a network share asks), whatever the
    // umask of the game that made it.
    if (made) fchmod(fd, 0666);
    if (fd < 0 && errno == EEXIST) {
      fd = open(path.c_str(), O_RDWR | flags);
      // Another user's that this one may only read: a lock of the system's may need no more.
      if (fd < 0 && errno == EACCES) fd = open(path.c_str(), O_RDONLY | flags);
      if (fd < 0 && errno == ENOENT) continue;
    }
    struct stat st, named;
    if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
      close(fd);
      fd = -1;
    }
    // Something else at its name, or a file that cannot be locked here: a claim.
    if (fd < 0) return Try::kNoSystemLock;
    const Flocked flocked = Flock(fd);
    // A lock taken on a file its holder removed as it let go is no lock: tried again.
    if (flocked == Flocked::kHeld &&
        !(lstat(path.c_str(), &named) == 0 && SameFile(st, named))) {
      close(fd);
      continue;
    }
    if (flocked == Flocked::kHeld) {
      fd_ = fd;
      runFile_ = path;
      return Try::kHeld;
    }
    // Where the file system has no such lock, the file just made for it goes again.
    if (made && flocked == Flocked::kNone) unlink(path.c_str());
    close(fd);
    holderRunning_ = true;
    return flocked == Flocked::kBusy ? Try::kBusy : Try::kNoSystemLock;
  }
}

// ---- Claims --------------------------------------------------------------------------------

FolderLock::Try FolderLock::TryClaim() {
  const char* role = ClaimRole(use_);
  std::string path;
  int fd = -1;
  while (fd < 0) {
    path = InFolder(folder_, save_names::Make(save_names::NewId(), role));
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && errno != EEXIST) {
      error_ = errno;
      return Try::kFailed;
    }
  }
  // Others read it to tell whether this game still runs, whatever the umask.
  fchmod(fd, 0644);
  const std::string text = ClaimText();
  struct stat mine;
  int error = WriteAll(fd, text.data(), text.size()) && fsync(fd) == 0 && fstat(fd, &mine) == 0
                  ? 0
                  : errno;
  DIR* d = error ? nullptr : opendir(folder_.c_str());
  if (!error && !d) error = errno;
  bool other = false;
  while (d) {
    errno = 0;
    dirent* e = readdir(d);
    if (!e) break;
    std::string id, itsRole;
    const std::string name = e->d_name, at = InFolder(folder_, name);
    if (at == path || !save_names::Parse(name, id, itsRole) || itsRole != role) continue;
    bool running = false;
    if (LiveClaim(at, mine.st_mtim, running, freeFrom_)) {
      other = true;
      holderRunning_ = holderRunning_ || running;
    } else {
      // Left by a game that is gone: passed over, and removed where this user may.
      unlink(at.c_str());
    }
  }
  if (d) closedir(d);
  if (error || other) {
    unlink(path.c_str());
    close(fd);
    error_ = error;
    return error ? Try::kFailed : Try::kBusy;
  }
  fd_ = fd;
  claim_ = path;
  toucher_ = std::make_unique<Toucher>(fd);
  return Try::kHeld;
}

}  // namespace platform
