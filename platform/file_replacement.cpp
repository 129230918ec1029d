#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <set>
#include <utility>

#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/save_names.h"

namespace platform {

namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ---- Barriers: each either holds or fails the save with the system's reason -------------

// What was written through fd is on the disk: 0, or why not.
int FlushFile(int fd) { return fsync(fd) == 0 ? 0 : errno; }

// The names of folder are on the disk: 0, or why not. A folder that cannot be flushed at
// all (its file system has no such thing, or this user may not open it) fails nothing.
int FlushFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
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

// Every open of a name in a save's folder: it never follows a link, never waits for a pipe's
// writer and never takes a terminal.
constexpr int kOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;

// ---- What a name holds -------------------------------------------------------------------

// A file told by what it holds: its kind, size and a checksum of its bytes (or a link's
// text), which a remount, a copy or a number handed out again leave as they are. A file this
// user may not read, or one larger than any a save writes, is told by its size and the time
// it was written. A record of an earlier version told files by their inode number alone.
struct Fingerprint {
  // 'n' nothing there, 'f' a file, 'u' a file told by its time, 'l' a symbolic link,
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

// The new file written with bytes, whose checksum only a record needs.
Fingerprint Written(const std::vector<uint8_t>& bytes, const struct stat& st, bool summed) {
  Fingerprint f;
  f.kind = 'f';
  f.size = bytes.size();
  f.sum = summed ? Sum(kSumStart, bytes.data(), bytes.size()) : 0;
  f.seconds = uint64_t(st.st_mtim.tv_sec);
  f.nanoseconds = uint64_t(st.st_mtim.tv_nsec);
  f.inode = st.st_ino;
  return f;
}

// A name as it is now, read no further than telling it from a fingerprint needs (never when
// the sizes differ, never beyond the largest file a save writes) and at most once.
class Look {
 public:
  explicit Look(std::string path) : path_(std::move(path)) {
    if (lstat(path_.c_str(), &st_) != 0)
      kind_ = errno == ENOENT ? 'n' : '?';
    else
      kind_ = S_ISREG(st_.st_mode)    ? 'f'
              : S_ISLNK(st_.st_mode)  ? 'l'
              : S_ISFIFO(st_.st_mode) ? 'p'
                                      : 'o';
  }

  // Whether the name holds the file that f tells.
  bool Holds(const Fingerprint& f) {
    switch (f.kind) {
      case 'i':
        return kind_ != 'n' && kind_ != '?' && uint64_t(st_.st_ino) == f.inode;
      case 'n':
      case 'p':
        return kind_ == f.kind;
      case 'l':
        return kind_ == 'l' && Size() == f.size && Summed() && sum_ == f.sum;
      case 'f':
      case 'u':
        if (kind_ != 'f' || Size() != f.size) return false;
        if (f.kind == 'f' && f.size <= kLargestSavedFile && Summed()) return sum_ == f.sum;
        return (f.kind == 'u' || f.size > kLargestSavedFile || unreadable_) && ByTime(f);
      default:
        return false;
    }
  }

  // The name told in full, as a record keeps it.
  Fingerprint Print() {
    Fingerprint f;
    f.kind = kind_;
    if (kind_ == 'n' || kind_ == '?') return f;
    f.size = Size();
    f.seconds = uint64_t(st_.st_mtim.tv_sec);
    f.nanoseconds = uint64_t(st_.st_mtim.tv_nsec);
    f.inode = st_.st_ino;
    if (kind_ == 'l' || (kind_ == 'f' && f.size <= kLargestSavedFile)) {
      if (Summed())
        f.sum = sum_;
      else
        f.kind = kind_ == 'f' && unreadable_ ? 'u' : '?';
    } else if (kind_ == 'f') {
      f.kind = 'u';
    }
    return f;
  }

 private:
  uint64_t Size() const { return uint64_t(st_.st_size); }
  bool ByTime(const Fingerprint& f) const {
    return uint64_t(st_.st_mtim.tv_sec) == f.seconds &&
           uint64_t(st_.st_mtim.tv_nsec) == f.nanoseconds;
  }

  // The checksum of its bytes (or of its link's text); false where they could not be read
  // whole, unreadable_ telling whether that was for want of permission.
  bool Summed() {
    if (summed_) return summed_ > 0;
    summed_ = -1;
    if (kind_ == 'l') {
      std::vector<char> text(size_t(Size()) + 1);
      ssize_t n = readlink(path_.c_str(), text.data(), text.size());
      if (n < 0 || uint64_t(n) != Size()) return false;
      sum_ = Sum(kSumStart, reinterpret_cast<const uint8_t*>(text.data()), size_t(n));
      summed_ = 1;
      return true;
    }
    int fd = open(path_.c_str(), O_RDONLY | kOpenFlags);
    if (fd < 0) {
      unreadable_ = errno == EACCES;
      return false;
    }
    struct stat opened;
    uint64_t read_ = 0, sum = kSumStart;
    bool good = fstat(fd, &opened) == 0 && SameFile(opened, st_);
    uint8_t buffer[65536];
    ssize_t n;
    // A file that grows meanwhile is read no further than one byte past its size.
    while (good && read_ <= Size() && (n = read(fd, buffer, sizeof buffer)) != 0) {
      if (n < 0 && errno == EINTR) continue;
      good = n > 0;
      if (good) sum = Sum(sum, buffer, size_t(n));
      read_ += good ? uint64_t(n) : 0;
    }
    close(fd);
    if (!good || read_ != Size()) return false;
    sum_ = sum;
    summed_ = 1;
    return true;
  }

  std::string path_;
  struct stat st_ {};
  char kind_;
  int summed_ = 0;
  bool unreadable_ = false;
  uint64_t sum_ = 0;
};

// ---- The record of a save of several files -----------------------------------------------

// What a record says of each file of its save: the names in the save's folder of its
// target, its new file and its kept earlier file ("" where there was none), what the new
// file holds and what the earlier one held.
struct Saved {
  std::string target, temporary, kept;
  Fingerprint made, earlier;
};

constexpr char kRecordHeader[] = "quor save record ";
// Version 1 told files by inode numbers alone, 2 by what they hold under the earlier shape
// of hidden names, 3 by what they hold under the present shape.
constexpr uint64_t kRecordVersion = 3;
constexpr char kRecordEnd[] = "end\n";
constexpr size_t kLargestRecord = 64 * 1024;

std::string PrintText(const Fingerprint& f) {
  return std::string(1, f.kind) + " " + std::to_string(f.size) + " " + std::to_string(f.sum) +
         " " + std::to_string(f.seconds) + " " + std::to_string(f.nanoseconds) + "\n";
}

// Names are written with their length first, since a file name may hold any byte but "/".
std::string RecordText(const std::vector<Saved>& saved) {
  std::string text = kRecordHeader + std::to_string(kRecordVersion) + "\n" +
                     std::to_string(saved.size()) + "\n";
  for (const Saved& s : saved) {
    for (const std::string* name : {&s.target, &s.temporary, &s.kept})
      text += std::to_string(name->size()) + ":" + *name + "\n";
    text += PrintText(s.made) + PrintText(s.earlier);
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

// Whether temporary and kept are the names a save of this version (or of the version of the
// record) gives its new file and its kept earlier one.
bool SaveNames(uint64_t version, const std::string& temporary, const std::string& kept) {
  if (version < 3)
    return save_names::EarlierShape(temporary) == save_names::Earlier::kNew &&
           (kept.empty() || kept == temporary + "-kept");
  std::string id, role, keptId, keptRole;
  return save_names::Parse(temporary, id, role) && role.compare(0, 3, "new") == 0 &&
         (kept.empty() || (save_names::Parse(kept, keptId, keptRole) && keptId == id &&
                           keptRole == "kept" + role.substr(3)));
}

// A record that this game's saves could have written, past its header and version.
bool ParseRecord(RecordReader& reader, uint64_t version, std::vector<Saved>& saved) {
  uint64_t count;
  if (!reader.Number(count, '\n') || count > 64) return false;
  saved.assign(count, Saved());
  for (Saved& s : saved) {
    if (!reader.Name(s.target) || !reader.Name(s.temporary) || !reader.Name(s.kept) ||
        s.target.empty() || !SaveNames(version, s.temporary, s.kept))
      return false;
    if (version == 1) {
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

enum class RecordRead {
  kRead,
  kGone,          // removed since the folder was looked at
  kNotARecord,    // read whole and found to be no record this game's saves wrote
  kUnreadable,    // not to be read now (error says why)
  kLaterVersion,  // a record of a version after this one
};

// Reads the record at path, and who wrote it.
RecordRead ReadRecord(const std::string& path, std::vector<Saved>& saved, uid_t& writer,
                      int& error) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) {
    error = errno;
    return errno == ENOENT ? RecordRead::kGone : RecordRead::kUnreadable;
  }
  writer = st.st_uid;
  // A save writes its record as a plain file, and nothing else.
  if (!S_ISREG(st.st_mode)) return RecordRead::kNotARecord;
  int fd = open(path.c_str(), O_RDONLY | kOpenFlags);
  if (fd < 0) {
    error = errno;
    return errno == ENOENT ? RecordRead::kGone
           : errno == ELOOP ? RecordRead::kNotARecord
                            : RecordRead::kUnreadable;
  }
  std::string text;
  struct stat opened;
  const bool read = fstat(fd, &opened) == 0 && ReadUpTo(fd, text, kLargestRecord + 1);
  error = errno;
  close(fd);
  if (!read) return RecordRead::kUnreadable;
  if (!S_ISREG(opened.st_mode)) return RecordRead::kNotARecord;
  RecordReader reader(text);
  uint64_t version = 0;
  if (!reader.Literal(kRecordHeader) || !reader.Number(version, '\n'))
    return RecordRead::kNotARecord;
  if (version > kRecordVersion) return RecordRead::kLaterVersion;
  // A record is written whole before any name the player sees changes: one cut short
  // belongs to a save that changed none.
  return version >= 1 && text.size() <= kLargestRecord && ParseRecord(reader, version, saved)
             ? RecordRead::kRead
             : RecordRead::kNotARecord;
}

// Written whole and flushed before any name the player sees changes.
int WriteRecord(const std::string& path, const std::vector<Saved>& saved) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, 0644);
  if (fd < 0) return errno;
  // Whoever may read the folder may read which files it names, whatever the umask, so that a
  // game of theirs knows them unsettled.
  fchmod(fd, 0644);
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

using Looks = std::map<std::string, Look>;

Look& LookAt(Looks& looks, const std::string& folder, const std::string& name) {
  auto seen = looks.find(name);
  if (seen == looks.end()) seen = looks.emplace(name, Look(InFolder(folder, name))).first;
  return seen->second;
}

// Brings the names of such a save to all its new files or all its earlier ones, changing
// only a name whose bytes prove it holds one of this save's files, and only with the hidden
// files of this save that prove to hold what it needs. Every new file was whole on the disk
// before the first rename, so where some were put in place and every other is still there,
// beside a name that still holds its earlier file, the save is finished; otherwise what was
// put in place goes: the earlier file back where a kept file holds it, nothing where none
// stood. 0 once nothing more can be done: its names are whole, or none holds a file of this
// save's any more (a player's own file stays as it is); else why the names stay mixed. Where
// it may not act, cannot is that why, and what each name holds may be taken from and kept in
// looks.
int SettleSave(const std::string& folder, const std::vector<Saved>& saved, int cannot,
               Looks* looks = nullptr) {
  Looks own;
  Looks& seen = cannot && looks ? *looks : own;
  std::vector<bool> isNew, isEarlier;
  for (const Saved& s : saved) {
    Look& now = LookAt(seen, folder, s.target);
    isNew.push_back(now.Holds(s.made));
    isEarlier.push_back(now.Holds(s.earlier));
  }
  auto all = [](const std::vector<bool>& v) {
    return std::find(v.begin(), v.end(), false) == v.end();
  };
  if (all(isNew) || all(isEarlier) || std::find(isNew.begin(), isNew.end(), true) == isNew.end())
    return 0;
  if (cannot) return cannot;
  bool finish = true;
  for (size_t i = 0; i < saved.size() && finish; ++i)
    finish = isNew[i] ||
             (isEarlier[i] && Look(InFolder(folder, saved[i].temporary)).Holds(saved[i].made));
  for (size_t i = 0; i < saved.size(); ++i) {
    const Saved& s = saved[i];
    const std::string target = InFolder(folder, s.target);
    if (finish && !isNew[i] &&
        rename(InFolder(folder, s.temporary).c_str(), target.c_str()) != 0)
      return errno;
    if (finish || !isNew[i] || isEarlier[i]) continue;
    if (!s.kept.empty() && Look(InFolder(folder, s.kept)).Holds(s.earlier)) {
      if (rename(InFolder(folder, s.kept).c_str(), target.c_str()) != 0) return errno;
    } else if (s.earlier.kind == 'n' && unlink(target.c_str()) != 0) {
      return errno;
    }
  }
  return 0;
}

// Why names stay mixed, as a read is told it: a folder this game may not change, or
// something else that failed.
Interrupted NotSettled(int error) {
  const bool locked = error == EACCES || error == EPERM || error == EROFS;
  return {locked ? Interrupted::kFolderLocked : Interrupted::kNotFinished, error};
}

// Whether a save of writer's could have changed name in folder: a user's own saves could,
// and so could anyone's in a folder without the sticky bit; in one with it, only its owner
// and the owner of the file at name may replace that name.
bool CouldChange(const std::string& folder, uid_t writer, const std::string& name) {
  if (writer == geteuid()) return true;
  struct stat f, n;
  if (stat(folder.c_str(), &f) != 0 || !(f.st_mode & S_ISVTX) || f.st_uid == writer) return true;
  return lstat(InFolder(folder, name).c_str(), &n) == 0 && n.st_uid == writer;
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
  int in = open(target.c_str(), O_RDONLY | kOpenFlags);
  if (in < 0) return errno;
  struct stat st;
  if (fstat(in, &st) != 0 || !SameFile(st, earlier)) {
    close(in);
    return EAGAIN;
  }
  int out = open(kept.c_str(), O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, 0600);
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

// Who holds a folder, in the player's words.
std::string HolderText(const FolderLock& lock) {
  if (lock.HolderRunning()) return ErrorText(kFolderBusy);
  char when[16] = "";
  const time_t at = time_t(lock.FreeFrom());
  struct tm local;
  if (localtime_r(&at, &local)) std::strftime(when, sizeof when, "%H:%M:%S", &local);
  return std::string("another game holds the same folder: it is saving there from another ") +
         "computer, or it stopped while saving; if it stopped, the folder is free again at " +
         when;
}

}  // namespace

std::string ErrorText(int error) {
  return error == kFolderBusy  ? "another game is saving in the same folder"
         : error == kFolderLost ? "another game took the folder over, this game having stopped "
                                  "for two minutes while it saved"
                                : std::strerror(error);
}

bool IsSaveWorkName(const std::string& name) { return save_names::IsOurs(name); }

// ---- SettledFolder -------------------------------------------------------------------------

struct SettledFolder::Pending {
  uid_t writer;
  bool read;
  std::vector<Saved> saved;
  Interrupted why;
  bool looked;
};

SettledFolder::SettledFolder(const std::string& file)
    : folder_(FolderOf(MapPath(file))), lock_(folder_, FolderLock::Use::kSave) {
  int cannot = 0;
  if (lock_.Taken() == FolderLock::State::kHeldElsewhere) {
    refused_ = kFolderBusy;
    return;
  }
  if (lock_.Taken() == FolderLock::State::kUnavailable) {
    // On a disk that takes no writes nothing changes, and what is there reads as it is.
    refused_ = lock_.Error() == EROFS ? 0 : lock_.Error() ? lock_.Error() : EPERM;
    if (refused_) return;
    cannot = EROFS;
  }
  acts_ = !cannot;
  std::vector<std::string> records, hidden;
  DIR* d = opendir(folder_.c_str());
  if (!d) {
    refused_ = errno;
    return;
  }
  bool runLock = false;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    runLock = runLock || IsRunLockName(name);
    std::string id, role;
    const save_names::Earlier earlier = save_names::EarlierShape(name);
    const bool ours = save_names::Parse(name, id, role);
    if (earlier == save_names::Earlier::kRecord || (ours && role == "record"))
      records.push_back(name);
    else if (ours && (role.compare(0, 3, "new") == 0 || role.compare(0, 4, "kept") == 0))
      hidden.push_back(name);
  }
  closedir(d);
  if (runLock && acts_) RemoveAbandonedRunLock(folder_);
  // The files of saves that stay unsettled stay with them: named by a record, or sharing the
  // name of one that cannot be read.
  std::set<std::string> keptNames, keptIds;
  const uid_t me = geteuid();
  for (const std::string& record : records) {
    const std::string path = InFolder(folder_, record);
    std::vector<Saved> saved;
    // A record that cannot even be looked at may be anyone's, the player's own included.
    uid_t writer = me;
    int error = 0;
    const RecordRead read = ReadRecord(path, saved, writer, error);
    const bool mine = writer == me;
    if (read == RecordRead::kGone) continue;
    if (read == RecordRead::kNotARecord) {
      if (mine && acts_) unlink(path.c_str());
      continue;
    }
    std::string id, role;
    if (save_names::Parse(record, id, role)) keptIds.insert(id);
    if (read != RecordRead::kRead) {
      const Interrupted why{
          read == RecordRead::kLaterVersion ? Interrupted::kLaterVersion : Interrupted::kUnreadable,
          error};
      pending_.push_back({writer, false, {}, why, true});
      continue;
    }
    Interrupted why;
    if (mine && acts_) {
      const int left = SettleSave(folder_, saved, 0);
      // Every name holds a file of one save, on the disk, before what could undo it goes;
      // where the disk does not say so, the names still read as one whole save.
      if (!left && !FlushFolder(folder_)) {
        RemoveHidden(folder_, saved, record, true);
        continue;
      }
      if (left) why = NotSettled(left);
    } else {
      why = mine ? Interrupted{Interrupted::kFolderLocked, cannot}
                 : Interrupted{Interrupted::kAnotherUsers, EPERM};
    }
    pending_.push_back({writer, true, saved, why, mine && acts_});
    for (const Saved& s : saved) keptNames.insert({s.temporary, s.kept});
  }
  // What no save in the folder is making and no unsettled one names is left over; another
  // user's stays theirs, and so does every name of an earlier shape that no record names.
  struct stat st;
  for (const std::string& name : hidden) {
    std::string id, role;
    if (acts_ && !keptNames.count(name) && save_names::Parse(name, id, role) &&
        !keptIds.count(id) && lstat(InFolder(folder_, name).c_str(), &st) == 0 && st.st_uid == me)
      unlink(InFolder(folder_, name).c_str());
  }
}

SettledFolder::~SettledFolder() = default;

std::string SettledFolder::RefusalText() const {
  return refused_ == kFolderBusy ? HolderText(lock_) : ErrorText(refused_);
}

Interrupted SettledFolder::Whole(const std::string& file) const {
  const std::string name = NameOf(MapPath(file));
  // Each name is read once, however many saves name it.
  Looks looks;
  for (Pending& save : pending_) {
    if (!CouldChange(folder_, save.writer, name)) continue;
    if (save.read && std::none_of(save.saved.begin(), save.saved.end(),
                                  [&](const Saved& s) { return s.target == name; }))
      continue;
    if (!save.looked) {
      save.looked = true;
      // Names whole all the same, another user's save or not, read as they are.
      if (SettleSave(folder_, save.saved, EPERM, &looks) == 0) save.why = Interrupted();
    }
    if (save.why.kind != Interrupted::kNone) return save.why;
  }
  return Interrupted();
}

// ---- FileReplacement -----------------------------------------------------------------------

void FileReplacement::Write(const std::string& target, std::vector<uint8_t> bytes) {
  files_.push_back({MapPath(target), std::move(bytes)});
}

FileReplacement::Result FileReplacement::Commit() {
  error_ = 0;
  errorText_.clear();
  if (files_.empty()) return Result::kReplaced;
  const std::string folder = FolderOf(files_[0].target);
  for (const File& f : files_) {
    if (FolderOf(f.target) != folder || IsSaveWorkName(NameOf(f.target))) error_ = EINVAL;
    if (f.bytes.size() > kLargestSavedFile) error_ = EFBIG;
  }
  const size_t count = files_.size();
  const bool several = count > 1;
  std::vector<Saved> saved(count);
  std::vector<int> descriptors(count, -1);
  std::string record;
  auto at = [&](const std::string& name) { return InFolder(folder, name); };
  auto clear = [&](bool temporaries) { RemoveHidden(folder, saved, record, temporaries); };
  // 1. Settle, holding the folder's lock until the end.
  SettledFolder held(files_[0].target);
  auto finish = [&](Result result) {
    for (int fd : descriptors)
      if (fd >= 0) close(fd);
    if (error_) errorText_ = error_ == kFolderBusy ? held.RefusalText() : platform::ErrorText(error_);
    return result;
  };
  if (!error_) error_ = held.Refused();
  if (!error_ && !held.acts_) error_ = EROFS;
  if (error_) return finish(Result::kFailed);
  const mode_t newFile = NewFileMode();

  // 2. Write each new file whole beside its target, with the earlier file's permissions.
  std::string id = save_names::NewId();
  for (size_t i = 0; i < count && !error_; ++i) {
    std::string name = save_names::Make(id, "new" + std::to_string(i));
    descriptors[i] = open(at(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, 0600);
    // Another save's name, by the rarest of chances: the whole save takes another.
    if (descriptors[i] < 0 && errno == EEXIST && i == 0) {
      id = save_names::NewId();
      --i;
      continue;
    }
    if (descriptors[i] < 0) {
      error_ = errno;
      break;
    }
    saved[i].target = NameOf(files_[i].target);
    saved[i].temporary = name;
    struct stat earlier, st;
    const bool regular = stat(files_[i].target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode);
    if (!WriteAll(descriptors[i], files_[i].bytes.data(), files_[i].bytes.size())) error_ = errno;
    // A file system without permissions keeps its own, which fails nothing.
    if (!error_) fchmod(descriptors[i], regular ? earlier.st_mode & 07777 : newFile);
    if (!error_) error_ = FlushFile(descriptors[i]);
    if (!error_ && fstat(descriptors[i], &st) != 0) error_ = errno;
    if (!error_) saved[i].made = Written(files_[i].bytes, st, several);
  }

  // 3. Keep the earlier files, the record of the save first.
  for (size_t i = 0; several && i < count && !error_; ++i) {
    saved[i].earlier = Look(files_[i].target).Print();
    struct stat st;
    // A folder can neither be kept nor replaced by a file: nothing is done.
    if (lstat(files_[i].target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) error_ = EISDIR;
    if (saved[i].earlier.kind == '?') error_ = errno ? errno : EIO;
    if (saved[i].earlier.kind != 'n')
      saved[i].kept = save_names::Make(id, "kept" + std::to_string(i));
  }
  if (several && !error_) {
    error_ = WriteRecord(at(save_names::Make(id, "record")), saved);
    if (!error_) record = save_names::Make(id, "record");
    for (size_t i = 0; i < count && !error_; ++i) {
      if (saved[i].kept.empty()) continue;
      error_ = KeepEarlier(files_[i].target, at(saved[i].kept));
      if (error_) saved[i].kept.clear();
    }
    if (!error_) error_ = FlushFolder(folder);
  }
  // Nothing the player sees changes unless this game holds the folder still.
  if (!error_ && !held.lock_.StillHeld()) error_ = kFolderLost;
  if (error_) {
    clear(true);
    return finish(Result::kFailed);
  }

  // 4. Rename each new file over its target; the first rename is the commit point.
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
