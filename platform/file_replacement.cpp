#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <thread>

#include "platform/files.h"
#include "platform/folder_lock.h"

namespace platform {

namespace {

// ---- Names -------------------------------------------------------------------------------

// Every hidden file of a save starts so. Temporaries are ".quor-PID-XXXXXX" (the process id
// only tells a person whose it was); with "-kept" added, the earlier file a save of several
// files keeps; with "-record" added, the record of that save. The folder's lock file is
// ".quor-lock". Names of other shapes (an earlier version's ".quor-XXXXXX" among them, which
// may hold the only copy of a save) are left alone.
constexpr char kWorkPrefix[] = ".quor-";
constexpr char kLockName[] = ".quor-lock";
constexpr char kKeptSuffix[] = "-kept";
constexpr char kRecordSuffix[] = "-record";

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string InFolder(const std::string& folder, const std::string& name) {
  return (folder == "/" ? "/" : folder + "/") + name;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

enum class Kind { kOther, kTemporary, kKept, kRecord };

Kind KindOf(const std::string& name) {
  const size_t prefix = sizeof kWorkPrefix - 1, unique = 6;
  if (name.compare(0, prefix, kWorkPrefix) != 0) return Kind::kOther;
  size_t at = prefix;
  while (at < name.size() && std::isdigit(static_cast<unsigned char>(name[at]))) ++at;
  if (at == prefix || at == name.size() || name[at] != '-' || name.size() < at + 1 + unique)
    return Kind::kOther;
  for (size_t i = at + 1; i < at + 1 + unique; ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return Kind::kOther;
  const std::string rest = name.substr(at + 1 + unique);
  return rest.empty()            ? Kind::kTemporary
         : rest == kKeptSuffix   ? Kind::kKept
         : rest == kRecordSuffix ? Kind::kRecord
                                 : Kind::kOther;
}

// ---- Barriers: each either holds or fails the save with the system's reason -------------

bool WriteAll(int fd, const void* data, size_t size) {
  const char* at = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(fd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= size_t(n);
  }
  return true;
}

// What was written through fd is on the disk: 0, or why not.
int FlushFile(int fd) { return fsync(fd) == 0 ? 0 : errno; }

// The names of folder are on the disk: 0, or why not. A folder that cannot be flushed at
// all (its file system has no such thing, or this user may not open it) fails nothing.
int FlushFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno == EACCES ? 0 : errno;
  int error = fsync(fd) == 0 ? 0 : errno;
  close(fd);
  return error == EINVAL || error == ENOTSUP || error == ENOSYS || error == EBADF ? 0 : error;
}

// The permissions a new file of the user's gets.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// ---- What a name holds -------------------------------------------------------------------

// A file told by what it holds: its kind, size and a checksum of its bytes (or a link's
// text), which a remount, a copy or a number handed out again leave as they are. A file this
// user may not read is told by its size and the time it was written. A record of an earlier
// version told files by their inode number alone.
struct Fingerprint {
  // 'n' nothing there, 'f' a file, 'u' a file that may not be read, 'l' a symbolic link,
  // 'p' a pipe, 'o' anything else; '?' where the name could not be looked at, 'i' an inode
  // number alone.
  char kind = 'n';
  uint64_t size = 0, sum = 0, seconds = 0, nanoseconds = 0, inode = 0;
};

constexpr uint64_t kSumStart = 0xcbf29ce484222325u;

uint64_t Sum(uint64_t sum, const uint8_t* at, size_t n) {
  for (size_t i = 0; i < n; ++i) sum = (sum ^ at[i]) * 0x100000001b3u;
  return sum;
}

Fingerprint Written(const std::vector<uint8_t>& bytes, const struct stat& st) {
  Fingerprint f;
  f.kind = 'f';
  f.size = bytes.size();
  f.sum = Sum(kSumStart, bytes.data(), bytes.size());
  f.seconds = uint64_t(st.st_mtim.tv_sec);
  f.nanoseconds = uint64_t(st.st_mtim.tv_nsec);
  f.inode = st.st_ino;
  return f;
}

Fingerprint Of(const std::string& path) {
  Fingerprint f;
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) {
    f.kind = errno == ENOENT ? 'n' : '?';
    return f;
  }
  f.size = uint64_t(st.st_size);
  f.seconds = uint64_t(st.st_mtim.tv_sec);
  f.nanoseconds = uint64_t(st.st_mtim.tv_nsec);
  f.inode = st.st_ino;
  if (S_ISLNK(st.st_mode)) {
    std::vector<char> text(size_t(st.st_size) + 1);
    ssize_t n = readlink(path.c_str(), text.data(), text.size());
    f.kind = n >= 0 && size_t(n) < text.size() ? 'l' : '?';
    f.size = n > 0 ? uint64_t(n) : 0;
    f.sum = Sum(kSumStart, reinterpret_cast<const uint8_t*>(text.data()), size_t(f.size));
    return f;
  }
  if (!S_ISREG(st.st_mode)) {
    f.kind = S_ISFIFO(st.st_mode) ? 'p' : 'o';
    return f;
  }
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    f.kind = errno == EACCES ? 'u' : '?';
    return f;
  }
  struct stat opened;
  uint64_t read_ = 0, sum = kSumStart;
  bool good = fstat(fd, &opened) == 0 && SameFile(opened, st);
  uint8_t buffer[65536];
  ssize_t n;
  while (good && (n = read(fd, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    good = n > 0;
    if (good) sum = Sum(sum, buffer, size_t(n));
    read_ += good ? uint64_t(n) : 0;
  }
  close(fd);
  f.kind = good && read_ == f.size ? 'f' : '?';
  f.sum = sum;
  return f;
}

// Whether two looks at a name found the same file.
bool Same(const Fingerprint& a, const Fingerprint& b) {
  if (a.kind == '?' || b.kind == '?') return false;
  if (a.kind == 'i' || b.kind == 'i') return a.kind != 'n' && b.kind != 'n' && a.inode == b.inode;
  auto plain = [](char kind) { return kind == 'f' || kind == 'u' ? 'f' : kind; };
  if (plain(a.kind) != plain(b.kind)) return false;
  switch (plain(a.kind)) {
    case 'n':
    case 'p':
      return true;
    case 'l':
      return a.size == b.size && a.sum == b.sum;
    case 'f':
      return a.size == b.size && (a.kind == 'f' && b.kind == 'f'
                                      ? a.sum == b.sum
                                      : a.seconds == b.seconds && a.nanoseconds == b.nanoseconds);
    default:
      return false;
  }
}

// ---- The record of a save of several files -----------------------------------------------

// What a record says of each file of its save: the names in the save's folder of its
// target, its temporary and its kept earlier file ("" where there was none), what the new
// file holds and what the earlier one held.
struct Saved {
  std::string target, temporary, kept;
  Fingerprint made, earlier;
};

constexpr char kRecordHeader[] = "quor save record 2\n";
// An earlier version's record, which told files by inode numbers alone.
constexpr char kFirstRecordHeader[] = "quor save record 1\n";
constexpr char kRecordEnd[] = "end\n";
constexpr size_t kLargestRecord = 64 * 1024;

// Names are written with their length first, since a file name may hold any byte but "/".
std::string RecordText(const std::vector<Saved>& saved) {
  std::string text = kRecordHeader + std::to_string(saved.size()) + "\n";
  for (const Saved& s : saved) {
    for (const std::string* name : {&s.target, &s.temporary, &s.kept})
      text += std::to_string(name->size()) + ":" + *name + "\n";
    for (const Fingerprint* f : {&s.made, &s.earlier})
      text += std::string(1, f->kind) + " " + std::to_string(f->size) + " " +
              std::to_string(f->sum) + " " + std::to_string(f->seconds) + " " +
              std::to_string(f->nanoseconds) + "\n";
  }
  return text + kRecordEnd;
}

class RecordReader {
 public:
  explicit RecordReader(const std::string& text) : text_(text) {}
  bool Literal(const char* literal) {
    const size_t n = std::strlen(literal);
    if (text_.compare(at_, n, literal) != 0) return false;
    at_ += n;
    return true;
  }
  // A number of up to 64 bits, then end.
  bool Number(uint64_t& value, char end) {
    size_t start = at_;
    value = 0;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) {
      const uint64_t digit = uint64_t(text_[at_++] - '0');
      if (value > (UINT64_MAX - digit) / 10) return false;
      value = value * 10 + digit;
    }
    return at_ > start && at_ < text_.size() && text_[at_++] == end;
  }
  // A name within the folder: no separator, and neither "." nor "..".
  bool Name(std::string& name) {
    uint64_t size;
    if (!Number(size, ':') || size > text_.size() - at_) return false;
    name = text_.substr(at_, size);
    at_ += size;
    return Literal("\n") && name.find('/') == std::string::npos && name != "." && name != "..";
  }
  bool Print(Fingerprint& f) {
    if (at_ + 2 > text_.size() || !std::strchr("nfulpo", text_[at_]) || text_[at_ + 1] != ' ')
      return false;
    f.kind = text_[at_];
    at_ += 2;
    return Number(f.size, ' ') && Number(f.sum, ' ') && Number(f.seconds, ' ') &&
           Number(f.nanoseconds, '\n');
  }
  bool AtEnd() const { return at_ == text_.size(); }

 private:
  const std::string& text_;
  size_t at_ = 0;
};

// A record that this game's saves could have written: every temporary of its own shape,
// every kept file named after its temporary.
bool ParseRecord(const std::string& text, std::vector<Saved>& saved) {
  RecordReader reader(text);
  const bool first = reader.Literal(kFirstRecordHeader);
  uint64_t count;
  if (!(first || reader.Literal(kRecordHeader)) || !reader.Number(count, '\n') || count > 64)
    return false;
  saved.assign(count, Saved());
  for (Saved& s : saved) {
    if (!reader.Name(s.target) || !reader.Name(s.temporary) || !reader.Name(s.kept) ||
        s.target.empty() || KindOf(s.temporary) != Kind::kTemporary ||
        !(s.kept.empty() || s.kept == s.temporary + kKeptSuffix))
      return false;
    if (first) {
      s.made.kind = 'i';
      s.earlier.kind = 'i';
      if (!reader.Number(s.made.inode, ' ') || !reader.Number(s.earlier.inode, '\n')) return false;
      if (s.earlier.inode == 0) s.earlier.kind = 'n';
    } else if (!reader.Print(s.made) || !reader.Print(s.earlier)) {
      return false;
    }
  }
  return reader.Literal(kRecordEnd) && reader.AtEnd();
}

bool ReadRecord(int fd, std::vector<Saved>& saved) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while (text.size() <= kLargestRecord && (n = read(fd, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    text.append(buffer, size_t(n));
  }
  return text.size() <= kLargestRecord && ParseRecord(text, saved);
}

// Written whole and flushed before any name the player sees changes, so a record that does
// not read whole belongs to a save that changed none.
int WriteRecord(const std::string& path, const std::vector<Saved>& saved) {
  // Others may read which files it names, so that a game of theirs knows them unsettled.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return errno;
  const std::string text = RecordText(saved);
  int error = WriteAll(fd, text.data(), text.size()) ? FlushFile(fd) : errno;
  if (close(fd) != 0 && !error) error = errno;
  if (error) unlink(path.c_str());
  return error;
}

// Removes the hidden files of a save, its record ("" where it has none) last, so that where
// a game stops on the way, the record still names what is left for a later settle.
void RemoveHidden(const std::string& folder, const std::vector<Saved>& saved,
                  const std::string& record, bool temporaries) {
  for (const Saved& s : saved) {
    if (temporaries && !s.temporary.empty()) unlink(InFolder(folder, s.temporary).c_str());
    if (!s.kept.empty()) unlink(InFolder(folder, s.kept).c_str());
  }
  if (!record.empty()) unlink(InFolder(folder, record).c_str());
}

// ---- Settling a save that a game left half way --------------------------------------------

// Brings the names of such a save to all its new files or all its earlier ones, changing
// only a name whose bytes prove it holds one of this save's files, and only with the hidden
// files of this save that prove to hold what it needs. Every new file was whole on the disk
// before the first rename, so where some were put in place and every other is still there,
// beside a name that still holds its earlier file, the save is finished; otherwise what was
// put in place goes back where a kept file holds the earlier one. 0 once nothing more can be
// done: its names are whole, or none holds a file of this save's any more (a player's own
// file stays as it is, and so does a first save's new file where its pair is not there);
// else why the names stay mixed. Where it may not act, cannot is that why, and what each name
// holds may be taken from and kept in looks.
int SettleSave(const std::string& folder, const std::vector<Saved>& saved, int cannot,
               std::map<std::string, Fingerprint>* looks = nullptr) {
  auto at = [&](const std::string& name) { return InFolder(folder, name); };
  std::vector<bool> isNew, isEarlier;
  for (const Saved& s : saved) {
    auto seen = looks ? looks->find(s.target) : std::map<std::string, Fingerprint>::iterator();
    if (looks && seen == looks->end()) seen = looks->emplace(s.target, Of(at(s.target))).first;
    const Fingerprint now = looks ? seen->second : Of(at(s.target));
    isNew.push_back(Same(now, s.made));
    isEarlier.push_back(Same(now, s.earlier));
  }
  auto all = [](const std::vector<bool>& v) {
    return std::find(v.begin(), v.end(), false) == v.end();
  };
  if (all(isNew) || all(isEarlier) || std::find(isNew.begin(), isNew.end(), true) == isNew.end())
    return 0;
  if (cannot) return cannot;
  bool finish = true;
  for (size_t i = 0; i < saved.size() && finish; ++i)
    finish = isNew[i] || (isEarlier[i] && Same(Of(at(saved[i].temporary)), saved[i].made));
  for (size_t i = 0; i < saved.size(); ++i) {
    const Saved& s = saved[i];
    const bool move =
        finish ? !isNew[i]
               : isNew[i] && !isEarlier[i] && !s.kept.empty() && Same(Of(at(s.kept)), s.earlier);
    if (move && rename(at(finish ? s.temporary : s.kept).c_str(), at(s.target).c_str()) != 0)
      return errno;
  }
  return 0;
}

// ---- The folder's lock ---------------------------------------------------------------------

// A save waits this long for another game's in the same folder to end.
constexpr auto kLockWait = std::chrono::seconds(5);
// Where the file system has no locks, the lock file's being there is the lock, and one
// untouched this long was left by a game that stopped: a save takes milliseconds, and one
// that takes longer touches it as it goes.
constexpr time_t kAbandonedLockAge = 120;

enum class Lock { kHeld, kBusy, kNone };

// Takes the lock of folder: held (fd its lock file), busy (another game held it the whole
// wait), or none where the folder takes no lock file (errno says why; nothing can save
// there then, but what is there can be read).
Lock TakeLock(const std::string& folder, int& fd) {
  const std::string path = InFolder(folder, kLockName);
  const auto until = std::chrono::steady_clock::now() + kLockWait;
  struct Waiting {
    bool begun = false;
    void GoesOn() {
      TellFolderWait(begun ? FolderWait::kGoesOn : FolderWait::kBegins);
      begun = true;
    }
    ~Waiting() {
      if (begun) TellFolderWait(FolderWait::kEnds);
    }
  } waiting;
  for (;;) {
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    bool made = true;
    fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | flags, 0666);
    if (fd < 0 && errno == EEXIST) {
      made = false;
      fd = open(path.c_str(), O_RDWR | flags);
      // Another user's lock file in a shared folder: a lock of the system's own needs only
      // to read it.
      if (fd < 0 && errno == EACCES) fd = open(path.c_str(), O_RDONLY | flags);
      if (fd < 0 && errno == ENOENT) continue;
    }
    if (fd < 0) return Lock::kNone;
    int locked;
    while ((locked = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    const int why = errno;
    struct stat mine, named;
    // A lock taken on a file its holder removed as it let go is no lock.
    const bool current =
        fstat(fd, &mine) == 0 && lstat(path.c_str(), &named) == 0 && SameFile(mine, named);
    const bool noLocks = locked != 0 && why != EWOULDBLOCK;
    if (current && (locked == 0 || (noLocks && made))) return Lock::kHeld;
    if (current && noLocks && std::time(nullptr) - mine.st_mtime > kAbandonedLockAge)
      unlink(path.c_str());
    close(fd);
    fd = -1;
    if (std::chrono::steady_clock::now() >= until) return Lock::kBusy;
    // Tried again at once where the name went to another file since the look.
    if (locked != 0 && current) {
      waiting.GoesOn();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
}

// ---- Keeping an earlier file ---------------------------------------------------------------

// Keeps the earlier file at target under the name kept, to be put back by one rename: the
// very file (a hard link, which for a symbolic link is the link itself) where this user can
// remove the link again, else a copy of this user's, a link copied as a link. In a folder
// with the sticky bit only a file's owner or the folder's may remove it, and a hard link has
// its file's owner. 0, or why not.
int KeepEarlier(const std::string& target, const std::string& kept) {
  struct stat folder, earlier;
  if (stat(FolderOf(target).c_str(), &folder) != 0 || lstat(target.c_str(), &earlier) != 0)
    return errno;
  const uid_t me = geteuid();
  if (!(folder.st_mode & S_ISVTX) || folder.st_uid == me || earlier.st_uid == me) {
    if (link(target.c_str(), kept.c_str()) == 0) return 0;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK && errno != ENOSYS) return errno;
  }
  if (S_ISLNK(earlier.st_mode)) {
    std::vector<char> to(4096);
    ssize_t n;
    while ((n = readlink(target.c_str(), to.data(), to.size())) == ssize_t(to.size()))
      to.resize(to.size() * 2);
    return n >= 0 && symlink(std::string(to.data(), size_t(n)).c_str(), kept.c_str()) == 0 ? 0
                                                                                           : errno;
  }
  if (S_ISFIFO(earlier.st_mode)) return mkfifo(kept.c_str(), earlier.st_mode & 07777) ? errno : 0;
  if (!S_ISREG(earlier.st_mode)) return EPERM;
  int in = open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (in < 0) return errno;
  struct stat st;
  if (fstat(in, &st) != 0 || !SameFile(st, earlier)) {
    close(in);
    return EAGAIN;
  }
  int out = open(kept.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  int error = out < 0 ? errno : 0;
  char buffer[65536];
  ssize_t n = 0;
  while (!error && (n = read(in, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || !WriteAll(out, buffer, size_t(n))) error = errno;
  }
  close(in);
  if (out < 0) return error;
  if (!error) error = fchmod(out, earlier.st_mode & 07777) == 0 ? FlushFile(out) : errno;
  if (close(out) != 0 && !error) error = errno;
  if (error) unlink(kept.c_str());
  return error;
}

}  // namespace

std::string ErrorText(int error) {
  return error == kFolderBusy ? "another game is saving in the same folder" : std::strerror(error);
}

bool IsSaveWorkName(const std::string& name) {
  return strncasecmp(name.c_str(), kWorkPrefix, sizeof kWorkPrefix - 1) == 0;
}

// ---- SettledFolder -------------------------------------------------------------------------

SettledFolder::SettledFolder(const std::string& file) : folder_(FolderOf(MapPath(file))) {
  const Lock lock = TakeLock(folder_, lock_);
  locked_ = lock == Lock::kHeld;
  busy_ = lock == Lock::kBusy;
  if (busy_) return;
  // Where no lock file can be made, nothing saves here and nothing can be settled here.
  const int cannot = locked_ ? 0 : errno ? errno : EPERM;
  std::vector<std::string> records, hidden;
  if (DIR* d = opendir(folder_.c_str())) {
    while (dirent* e = readdir(d)) {
      const Kind kind = KindOf(e->d_name);
      if (kind == Kind::kRecord) records.push_back(e->d_name);
      if (kind == Kind::kTemporary || kind == Kind::kKept) hidden.push_back(e->d_name);
    }
    closedir(d);
  }
  // The names of saves that stay unsettled, whose hidden files stay with them.
  std::set<std::string> kept;
  for (const std::string& record : records) {
    const std::string path = InFolder(folder_, record);
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    struct stat st;
    const bool mine = fd >= 0 && fstat(fd, &st) == 0 && st.st_uid == geteuid();
    std::vector<Saved> saved;
    const bool read = fd >= 0 && ReadRecord(fd, saved);
    if (fd >= 0) close(fd);
    if (!read) {
      if (mine && locked_)
        unlink(path.c_str());
      else
        kept.insert(record);
      continue;
    }
    // A save this game may not settle here is looked at only where a read asks for its files.
    const bool acts = mine && locked_;
    int why = acts ? SettleSave(folder_, saved, 0) : !mine ? EPERM : cannot;
    // Every name holds a file of one save, on the disk, before the spare copies go.
    if (acts && !why) why = FlushFolder(folder_);
    if (acts && !why) {
      RemoveHidden(folder_, saved, record, true);
      continue;
    }
    kept.insert(record);
    unsettled_.push_back({record, {}, why, acts});
    for (const Saved& s : saved) {
      kept.insert(s.temporary);
      kept.insert(s.kept);
      unsettled_.back().targets.push_back(s.target);
    }
  }
  // What no save in the folder is making and no unsettled one names is left over; another
  // user's stays theirs.
  struct stat st;
  for (const std::string& name : hidden)
    if (locked_ && !kept.count(name) && lstat(InFolder(folder_, name).c_str(), &st) == 0 &&
        st.st_uid == geteuid())
      unlink(InFolder(folder_, name).c_str());
}

SettledFolder::~SettledFolder() {
  if (lock_ < 0) return;
  const std::string path = InFolder(folder_, kLockName);
  struct stat mine, named;
  if (locked_ && fstat(lock_, &mine) == 0 && lstat(path.c_str(), &named) == 0 &&
      SameFile(mine, named))
    unlink(path.c_str());
  close(lock_);
}

bool SettledFolder::Whole(const std::string& file, int& why) const {
  // Every save not looked at yet is looked at once, each name it changes read once.
  std::map<std::string, Fingerprint> looks;
  for (Unsettled& save : unsettled_) {
    if (save.looked) continue;
    save.looked = true;
    int fd = open(InFolder(folder_, save.record).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    std::vector<Saved> saved;
    // Names whole all the same, another user's save or not, read as they are.
    save.why = fd >= 0 && ReadRecord(fd, saved) ? SettleSave(folder_, saved, save.why, &looks) : 0;
    if (fd >= 0) close(fd);
  }
  const std::string name = NameOf(MapPath(file));
  for (const Unsettled& save : unsettled_) {
    if (std::find(save.targets.begin(), save.targets.end(), name) == save.targets.end()) continue;
    if (save.why) {
      why = save.why;
      return false;
    }
  }
  return true;
}

// ---- FileReplacement -----------------------------------------------------------------------

void FileReplacement::Write(const std::string& target, std::vector<uint8_t> bytes) {
  files_.push_back({MapPath(target), std::move(bytes)});
}

FileReplacement::Result FileReplacement::Commit() {
  error_ = 0;
  if (files_.empty()) return Result::kReplaced;
  const std::string folder = FolderOf(files_[0].target);
  for (const File& f : files_)
    if (FolderOf(f.target) != folder || IsSaveWorkName(NameOf(f.target))) error_ = EINVAL;
  if (error_) return Result::kFailed;
  // 1. Settle, holding the folder's lock until the end.
  SettledFolder held(files_[0].target);
  if (held.busy_) {
    error_ = kFolderBusy;
    return Result::kFailed;
  }
  const size_t count = files_.size();
  const bool several = count > 1;
  std::vector<Saved> saved(count);
  std::vector<int> descriptors(count, -1);
  std::string record;
  auto at = [&](const std::string& name) { return InFolder(folder, name); };
  auto clear = [&](bool temporaries) { RemoveHidden(folder, saved, record, temporaries); };
  auto finish = [&](Result result) {
    for (int fd : descriptors)
      if (fd >= 0) close(fd);
    return result;
  };
  const mode_t newFile = NewFileMode();

  // 2. Write each new file whole beside its target, with the earlier file's permissions.
  for (size_t i = 0; i < count && !error_; ++i) {
    std::string path = at(kWorkPrefix + std::to_string(getpid()) + "-XXXXXX");
    descriptors[i] = mkostemp(&path[0], O_CLOEXEC);
    if (descriptors[i] < 0) {
      error_ = errno;
      break;
    }
    saved[i].target = NameOf(files_[i].target);
    saved[i].temporary = NameOf(path);
    struct stat earlier, st;
    const bool regular = stat(files_[i].target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode);
    if (!WriteAll(descriptors[i], files_[i].bytes.data(), files_[i].bytes.size()))
      error_ = errno ? errno : EIO;
    // A file system without permissions keeps its own, which fails nothing.
    if (!error_) fchmod(descriptors[i], regular ? earlier.st_mode & 07777 : newFile);
    if (!error_) error_ = FlushFile(descriptors[i]);
    if (!error_ && fstat(descriptors[i], &st) != 0) error_ = errno;
    if (!error_) saved[i].made = Written(files_[i].bytes, st);
    if (held.lock_ >= 0) futimens(held.lock_, nullptr);
  }

  // 3. Keep the earlier files, the record of the save first.
  for (size_t i = 0; several && i < count && !error_; ++i) {
    saved[i].earlier = Of(files_[i].target);
    struct stat st;
    // A folder can neither be kept nor replaced by a file: nothing is done.
    if (lstat(files_[i].target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) error_ = EISDIR;
    if (saved[i].earlier.kind == '?') error_ = errno ? errno : EIO;
    if (saved[i].earlier.kind != 'n') saved[i].kept = saved[i].temporary + kKeptSuffix;
  }
  if (several && !error_) {
    error_ = WriteRecord(at(saved[0].temporary + kRecordSuffix), saved);
    if (!error_) record = saved[0].temporary + kRecordSuffix;
    for (size_t i = 0; i < count && !error_; ++i) {
      if (saved[i].kept.empty()) continue;
      error_ = KeepEarlier(files_[i].target, at(saved[i].kept));
      if (error_) saved[i].kept.clear();
    }
    if (!error_) error_ = FlushFolder(folder);
  }
  if (error_) {
    clear(true);
    return finish(Result::kFailed);
  }

  // 4. Rename each temporary over its target; the first rename is the commit point.
  size_t placed = 0;
  for (; placed < count; ++placed) {
    // Closed first: nothing but the rename ever touches a name the player sees.
    close(descriptors[placed]);
    descriptors[placed] = -1;
    if (rename(at(saved[placed].temporary).c_str(), files_[placed].target.c_str()) != 0) {
      error_ = errno;
      break;
    }
  }
  if (error_ && placed == 0) {
    clear(true);
    return finish(Result::kFailed);
  }
  if (error_) {
    // No settle may finish what the player is told failed: the new files not placed go
    // first (a file cut short proves nothing either), then the earlier files go back.
    bool back = true;
    for (size_t i = placed; i < count; ++i)
      if (unlink(at(saved[i].temporary).c_str()) != 0 &&
          truncate(at(saved[i].temporary).c_str(), 0) != 0) {
      }
    for (size_t i = placed; i-- > 0;) {
      const std::string& target = files_[i].target;
      const bool undone = saved[i].kept.empty()
                              ? unlink(target.c_str()) == 0
                              : rename(at(saved[i].kept).c_str(), target.c_str()) == 0;
      if (undone) saved[i].kept.clear();
      back = back && undone;
    }
    if (!back || FlushFolder(folder) != 0) return finish(Result::kPutBackLater);
    clear(false);
    return finish(Result::kFailed);
  }

  // 5. The new names on the disk; 6. then the spare copies and the record go. Where the
  // flush failed they stay, and a later settle finds the names whole and removes them.
  error_ = FlushFolder(folder);
  if (error_) return finish(Result::kNotDurable);
  clear(false);
  return finish(Result::kReplaced);
}

}  // namespace platform
