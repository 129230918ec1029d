#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
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

// Every open of a name in a save's folder: it never follows a link, never waits for a pipe's
// writer and never takes a terminal.
constexpr int kOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;

// Whether user could replace the file at name in folder, given the folder may be written:
// in one with the sticky bit only the file's owner or the folder's may.
bool CouldReplace(const std::string& folder, uid_t user, const std::string& name) {
  struct stat f, n;
  if (stat(folder.c_str(), &f) != 0 || !(f.st_mode & S_ISVTX) || f.st_uid == user) return true;
  return lstat(InFolder(folder, name).c_str(), &n) != 0 || n.st_uid == user;
}

// ---- What a name holds -------------------------------------------------------------------

// A file told by what it holds: its kind, size and a checksum of its bytes (or of a link's
// text), which a remount, a copy or a number handed out again leave as they are. A file this
// user may not read, or one larger than any a save writes, is told by its size and the time
// it was written.
enum class Kind : char { kNothing = 'n', kFile = 'f', kFileByTime = 'u', kLink = 'l', kOther = 'o' };
struct Fingerprint {
  Kind kind = Kind::kNothing;
  uint64_t size = 0, sum = 0, seconds = 0, nanoseconds = 0;
};

// What a look at a name tells of a fingerprint.
enum class Tells { kHolds, kNotHeld, kCannotTell };

constexpr uint64_t kSumStart = 0xcbf29ce484222325u;

uint64_t Sum(uint64_t sum, const void* data, size_t n) {
  const auto* at = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < n; ++i) sum = (sum ^ at[i]) * 0x100000001b3u;
  return sum;
}

// A name as it is now, read no further than telling it from a fingerprint needs (never when
// the sizes differ, never beyond the largest file a save writes) and at most once.
class Look {
 public:
  explicit Look(std::string path) : path_(std::move(path)) {
    if (lstat(path_.c_str(), &st_) == 0)
      kind_ = S_ISREG(st_.st_mode) ? Kind::kFile : S_ISLNK(st_.st_mode) ? Kind::kLink : Kind::kOther;
    else if (errno != ENOENT)
      error_ = errno;
  }

  Tells Holds(const Fingerprint& f) {
    if (error_) return Tells::kCannotTell;
    const Kind kind = f.kind == Kind::kFileByTime ? Kind::kFile : f.kind;
    if (kind_ != kind || (kind != Kind::kNothing && Size() != f.size)) return Tells::kNotHeld;
    if (kind == Kind::kNothing) return Tells::kHolds;
    if (f.kind != Kind::kFileByTime && Summed()) return sum_ == f.sum ? Tells::kHolds : Tells::kNotHeld;
    // A file this user may not read is told by the time it was written.
    if (f.kind != Kind::kFileByTime && (kind == Kind::kLink || readError_ != EACCES))
      return Tells::kCannotTell;
    return SameTime(f) ? Tells::kHolds : Tells::kNotHeld;
  }

  // The name told in full, as a record keeps it; false where it cannot be (Error() says why).
  bool Print(Fingerprint& f) {
    if (error_) return false;
    f = {kind_, kind_ == Kind::kNothing ? 0 : Size(), 0, uint64_t(st_.st_mtim.tv_sec),
         uint64_t(st_.st_mtim.tv_nsec)};
    if (kind_ == Kind::kOther) readError_ = S_ISDIR(st_.st_mode) ? EISDIR : EINVAL;
    if (kind_ == Kind::kNothing || readError_) return !readError_;
    if (kind_ == Kind::kFile && Size() > kLargestSavedFile) f.kind = Kind::kFileByTime;
    else if (Summed()) f.sum = sum_;
    else if (kind_ == Kind::kFile && readError_ == EACCES) f.kind = Kind::kFileByTime;
    else return false;
    return true;
  }

  int Error() const { return error_ ? error_ : readError_; }

 private:
  uint64_t Size() const { return uint64_t(st_.st_size); }
  bool SameTime(const Fingerprint& f) const {
    return uint64_t(st_.st_mtim.tv_sec) == f.seconds &&
           uint64_t(st_.st_mtim.tv_nsec) == f.nanoseconds;
  }

  // The checksum of its bytes (or of its link's text); false where they could not be read
  // whole, readError_ saying why.
  bool Summed() {
    if (summed_) return summed_ > 0;
    summed_ = -1;
    uint64_t sum = kSumStart, total = 0;
    if (kind_ == Kind::kLink) {
      std::vector<char> text(size_t(Size()) + 1);
      const ssize_t n = readlink(path_.c_str(), text.data(), text.size());
      total = n < 0 ? 0 : uint64_t(n);
      if (n < 0) readError_ = errno;
      sum = Sum(sum, text.data(), size_t(total));
    } else {
      int fd = open(path_.c_str(), O_RDONLY | kOpenFlags);
      struct stat opened;
      if (fd < 0 || fstat(fd, &opened) != 0 || !SameFile(opened, st_))
        readError_ = fd < 0 ? errno : EAGAIN;
      uint8_t buffer[65536];
      // A file that grows meanwhile is read no further than one byte past its size.
      while (!readError_ && total <= Size()) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) readError_ = errno;
        if (n <= 0) break;
        sum = Sum(sum, buffer, size_t(n));
        total += uint64_t(n);
      }
      if (fd >= 0) close(fd);
    }
    // One that changed as it was read cannot be told now.
    if (!readError_ && total != Size()) readError_ = EAGAIN;
    if (readError_) return false;
    sum_ = sum;
    summed_ = 1;
    return true;
  }

  std::string path_;
  struct stat st_ {};
  Kind kind_ = Kind::kNothing;
  int error_ = 0, readError_ = 0, summed_ = 0;
  uint64_t sum_ = 0;
};

using Looks = std::map<std::string, Look>;

Look& LookAt(Looks& looks, const std::string& folder, const std::string& name) {
  auto seen = looks.find(name);
  if (seen == looks.end()) seen = looks.emplace(name, Look(InFolder(folder, name))).first;
  return seen->second;
}

}  // namespace

// ---- The record of a save of several files -----------------------------------------------

// What a record says of each file of its save: its target's name in the folder, what the
// new file holds and what the earlier one held. The new file and the kept earlier one have
// the names NewName and KeptName give, of the record's ID.
struct Saved {
  std::string target;
  Fingerprint made, earlier;
};

// A record in a folder: its name, ID and role, who wrote it, what it says where it has been
// read, and why its files are held back.
struct SavedRecord {
  std::string name, id, role;
  uid_t writer = 0;
  bool judged = false;  // another user's: whether what its names hold has been looked at
  std::vector<Saved> saved;
  HeldBack why;
};

namespace {

std::string NewName(const std::string& id, size_t i) {
  return save_names::Make(id, "new" + std::to_string(i));
}
std::string KeptName(const std::string& id, size_t i) {
  return save_names::Make(id, "kept" + std::to_string(i));
}

constexpr char kRecordHeader[] = "quor save record ";
constexpr uint64_t kRecordVersion = 4;
constexpr char kRecordEnd[] = "end\n";
constexpr size_t kLargestRecord = 4096;

std::string PrintText(const Fingerprint& f) {
  return std::string(1, char(f.kind)) + " " + std::to_string(f.size) + " " +
         std::to_string(f.sum) + " " + std::to_string(f.seconds) + " " +
         std::to_string(f.nanoseconds) + "\n";
}

// Names are written with their length first, since a file name may hold any byte but "/".
std::string RecordText(const std::vector<Saved>& saved) {
  std::string text = kRecordHeader + std::to_string(kRecordVersion) + "\n" +
                     std::to_string(saved.size()) + "\n";
  for (const Saved& s : saved)
    text += std::to_string(s.target.size()) + ":" + s.target + "\n" + PrintText(s.made) +
            PrintText(s.earlier);
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
  // A name of the player's in the folder: no separator, neither "." nor "..", no hidden
  // name of the game's.
  bool Name(std::string& name) {
    uint64_t size;
    if (!Number(size, ':') || size > text_.size() - at_) return false;
    name = text_.substr(at_, size);
    at_ += size;
    return Literal("\n") && !name.empty() && name.find('/') == std::string::npos &&
           name != "." && name != ".." && !save_names::IsOurs(name);
  }
  // A fingerprint of a kind a save writes: a file read whole no larger than a save writes.
  bool Print(Fingerprint& f) {
    if (at_ + 2 > text_.size() || !std::strchr("nful", text_[at_]) || text_[at_ + 1] != ' ')
      return false;
    f.kind = Kind(text_[at_]);
    at_ += 2;
    return Number(f.size, ' ') && Number(f.sum, ' ') && Number(f.seconds, ' ') &&
           Number(f.nanoseconds, '\n') && (f.kind != Kind::kFile || f.size <= kLargestSavedFile);
  }
  bool AtEnd() const { return at_ == text_.size(); }

 private:
  const std::string& text_;
  size_t at_ = 0;
};

// Whether text is a record of this version's, for the files its role names.
bool ParseRecord(const std::string& text, const std::string& role, std::vector<Saved>& saved) {
  RecordReader reader(text);
  uint64_t version, count;
  if (!reader.Literal(kRecordHeader) || !reader.Number(version, '\n') ||
      !reader.Number(count, '\n') || count == 0 || count > kMostSavedFiles)
    return false;
  saved.assign(size_t(count), Saved());
  std::vector<std::string> targets;
  for (Saved& s : saved) {
    if (!reader.Name(s.target) || !reader.Print(s.made) || !reader.Print(s.earlier)) return false;
    targets.push_back(s.target);
  }
  return reader.Literal(kRecordEnd) && reader.AtEnd() && save_names::RecordRole(targets) == role;
}

enum class RecordRead {
  kRead,
  kGone,          // removed since the folder was listed
  kNotARecord,    // read whole and found to be no record of this version's
  kUnreadable,    // not to be read now (error says why)
  kLaterVersion,  // a record of a version after this one
};

// Reads the record, once: never a second open, so nothing put in its place meanwhile is.
RecordRead ReadRecord(const std::string& folder, SavedRecord& record, int& error) {
  int fd = open(InFolder(folder, record.name).c_str(), O_RDONLY | kOpenFlags);
  std::string text;
  struct stat st;
  const bool read = fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    ReadUpTo(fd, text, kLargestRecord + 1);
  error = fd < 0 || !read ? errno : 0;
  if (fd >= 0) close(fd);
  if (error == ENOENT) return RecordRead::kGone;
  // A save writes its record as a plain file, and nothing else.
  if (error == ELOOP || (fd >= 0 && !S_ISREG(st.st_mode))) return RecordRead::kNotARecord;
  if (error || !read) return RecordRead::kUnreadable;
  RecordReader reader(text);
  uint64_t version = 0;
  if (reader.Literal(kRecordHeader) && reader.Number(version, '\n') && version > kRecordVersion)
    return RecordRead::kLaterVersion;
  // A record is written whole before any name the player sees changes: one cut short
  // belongs to a save that changed none.
  return version == kRecordVersion && text.size() <= kLargestRecord &&
                 ParseRecord(text, record.role, record.saved)
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

// Removes the hidden files of a save, its record last, so that where a game stops on the
// way the record still names what is left: 0, or why the record could not be removed.
int RemoveSave(const std::string& folder, const std::string& id, size_t count,
               const std::string& record) {
  for (size_t i = 0; i < count; ++i) {
    unlink(InFolder(folder, NewName(id, i)).c_str());
    unlink(InFolder(folder, KeptName(id, i)).c_str());
  }
  return record.empty() || unlink(InFolder(folder, record).c_str()) == 0 || errno == ENOENT
             ? 0
             : errno;
}

// ---- Settling a save that a game left half way --------------------------------------------

enum class Outcome {
  kWhole,         // every name holds its new file, or every one its earlier file, or none
                  // holds one of this save's new files: nothing to change
  kFinish,        // the new files still hidden go in place
  kPutBack,       // each name holding its new file gets its earlier one back
  kCannotTell,    // a look could not tell (error says why)
  kCannotRepair,  // neither can be done: what it takes is gone
};

struct Decision {
  Outcome outcome = Outcome::kWhole;
  int error = 0;
  std::vector<bool> isNew, isEarlier;
};

// What settling the save would do, from what its names and hidden files hold now.
Decision Decide(const std::string& folder, const std::string& id,
                const std::vector<Saved>& saved, Looks& looks) {
  Decision d;
  auto tell = [&](const std::string& name, const Fingerprint& f, bool& holds) {
    Look& look = LookAt(looks, folder, name);
    const Tells told = look.Holds(f);
    holds = told == Tells::kHolds;
    if (told == Tells::kCannotTell) d = {Outcome::kCannotTell, look.Error(), {}, {}};
    return told != Tells::kCannotTell;
  };
  for (const Saved& s : saved) {
    bool isNew, isEarlier;
    if (!tell(s.target, s.made, isNew) || !tell(s.target, s.earlier, isEarlier)) return d;
    d.isNew.push_back(isNew);
    d.isEarlier.push_back(isEarlier);
  }
  const auto news = std::count(d.isNew.begin(), d.isNew.end(), true);
  const auto earliers = std::count(d.isEarlier.begin(), d.isEarlier.end(), true);
  if (news == 0 || size_t(news) == saved.size() || size_t(earliers) == saved.size()) return d;
  // Every new file was whole on the disk before the first rename: where each name without
  // its new file still holds its earlier one, its new file still beside it, the save goes on.
  d.outcome = Outcome::kFinish;
  for (size_t i = 0; i < saved.size(); ++i) {
    bool there = d.isEarlier[i];
    if (d.isNew[i]) continue;
    if (there && !tell(NewName(id, i), saved[i].made, there)) return d;
    if (!there) d.outcome = Outcome::kPutBack;
  }
  if (d.outcome == Outcome::kFinish) return d;
  // Else each name holding its new file gets its earlier one back, kept beside it.
  for (size_t i = 0; i < saved.size(); ++i) {
    bool kept = saved[i].earlier.kind == Kind::kNothing;
    if (!d.isNew[i] || d.isEarlier[i] || kept) continue;
    if (!tell(KeptName(id, i), saved[i].earlier, kept)) return d;
    if (!kept) d.outcome = Outcome::kCannotRepair;
  }
  return d;
}

// Brings the names to what the decision says: 0, or why a name could not be changed.
int Apply(const std::string& folder, const std::string& id, const std::vector<Saved>& saved,
          const Decision& d) {
  for (size_t i = 0; i < saved.size(); ++i) {
    const std::string target = InFolder(folder, saved[i].target);
    int changed = 0;
    if (d.outcome == Outcome::kFinish && !d.isNew[i])
      changed = rename(InFolder(folder, NewName(id, i)).c_str(), target.c_str());
    else if (d.outcome == Outcome::kPutBack && d.isNew[i] && !d.isEarlier[i])
      changed = saved[i].earlier.kind == Kind::kNothing
                    ? unlink(target.c_str())
                    : rename(InFolder(folder, KeptName(id, i)).c_str(), target.c_str());
    if (changed != 0) return errno;
  }
  return 0;
}

// Settles a record of this user's, the folder held: its names made whole, then it and its
// hidden files gone, each step on the disk before the next. Why its files stay held back
// where they do; where it was settled but could not be removed, unremoved says why.
HeldBack Settle(const std::string& folder, const SavedRecord& record, int& unremoved) {
  Looks looks;
  const Decision d = Decide(folder, record.id, record.saved, looks);
  if (d.outcome == Outcome::kCannotTell) return {HeldBack::kCannotTell, d.error};
  if (d.outcome == Outcome::kCannotRepair) return {HeldBack::kNotFinished, 0};
  int error = Apply(folder, record.id, record.saved, d);
  const bool locked = error == EACCES || error == EPERM || error == EROFS;
  if (error) return {locked ? HeldBack::kFolderLocked : HeldBack::kNotFinished, error};
  error = FlushFolder(folder);
  if (!error) error = RemoveSave(folder, record.id, record.saved.size(), record.name);
  if (!error) error = FlushFolder(folder);
  unremoved = error;
  return {};
}

// Another user's record, which this game never acts on: whether what its names hold is whole.
HeldBack Judge(const std::string& folder, SavedRecord& record) {
  int error = 0;
  switch (ReadRecord(folder, record, error)) {
    case RecordRead::kGone:
    case RecordRead::kNotARecord:
      return {};
    case RecordRead::kUnreadable:
      return {HeldBack::kCannotTell, error};
    case RecordRead::kLaterVersion:
      return {HeldBack::kLaterVersion, 0};
    case RecordRead::kRead:
      break;
  }
  Looks looks;
  const Decision d = Decide(folder, record.id, record.saved, looks);
  if (d.outcome == Outcome::kCannotTell) return {HeldBack::kCannotTell, d.error};
  return d.outcome == Outcome::kWhole ? HeldBack() : HeldBack{HeldBack::kAnotherUsers, 0};
}

// The game's own hidden files in folder: records, and the new and kept files of saves; and
// whether a run's lock file is there. False (errno saying why) where it could not be listed.
bool List(const std::string& folder, std::vector<std::string>& records,
          std::vector<std::string>& hidden, bool& runLock) {
  DIR* d = opendir(folder.c_str());
  if (!d) return false;
  for (;;) {
    errno = 0;
    const dirent* e = readdir(d);
    if (!e) break;
    std::string name = e->d_name, id, role;
    if (!save_names::Parse(name, id, role)) continue;
    if (save_names::IsRecordRole(role))
      records.push_back(name);
    else if (role.compare(0, 3, "new") == 0 || role.compare(0, 4, "kept") == 0)
      hidden.push_back(name);
    runLock = runLock || name == save_names::RunLockName();
  }
  const int error = errno;
  closedir(d);
  errno = error;
  return error == 0;
}

std::string UserName(uid_t user) {
  const passwd* entry = getpwuid(user);
  return entry ? entry->pw_name : "user " + std::to_string(user);
}

}  // namespace

std::string ErrorText(int error) {
  return error == kFolderBusy ? "another game is saving in the same folder: try again in a moment"
         : error == kGivenUp  ? "the game is ending"
                              : std::strerror(error);
}

bool IsSaveWorkName(const std::string& name) { return save_names::IsOurs(name); }

std::string HeldBackText(const HeldBack& why, const std::string& folder) {
  const std::string cut = "its save was cut short";
  switch (why.kind) {
    case HeldBack::kNone:
      return "";
    case HeldBack::kFolderLocked:
      if (why.error == ENOLCK)
        return cut + ", and this folder's file system gives no locks, which finishing it needs: "
                     "play it on the computer that saved it";
      if (why.error == EROFS)
        return cut + ", and its folder is read-only now: play it once the folder can be written";
      return cut + ", and only a game that may write its folder \"" + folder +
             "\" can finish it (" + ErrorText(why.error) + "): play it there once as that user";
    case HeldBack::kAnotherUsers:
      return "its save, another user's, was cut short, and only that user's game can finish "
             "it: ask them to play it once";
    case HeldBack::kCannotTell:
      return cut + ", and what it holds cannot be read now (" + ErrorText(why.error) +
             "): try again in a moment";
    case HeldBack::kLaterVersion:
      return cut + " by a later version of the game: play it once with that version";
    case HeldBack::kNotFinished:
      break;
  }
  return why.error ? cut + ", and finishing it failed here (" + ErrorText(why.error) +
                         "): try again in a moment"
                   : cut + ", and what would finish it is gone: it can no longer be played";
}

// ---- SettledFolder -------------------------------------------------------------------------

SettledFolder::SettledFolder(const std::string& file) : folder_(FolderOf(MapPath(file))) {
  lock_ = std::make_unique<LockFile>(InFolder(folder_, save_names::FolderLockName()),
                                     LockFile::Wait::kFewSeconds);
  switch (lock_->Taken()) {
    case LockFile::State::kBusy:
      refused_ = kFolderBusy;
      return;
    case LockFile::State::kGivenUp:
      refused_ = kGivenUp;
      return;
    case LockFile::State::kNone:
      lockError_ = lock_->Error();
      break;
    case LockFile::State::kHeld:
      break;
  }
  std::vector<std::string> records, hidden;
  bool runLock = false;
  if (!List(folder_, records, hidden, runLock)) {
    refused_ = errno;
    return;
  }
  SettleMine(records);
  if (!lockError_) Sweep(hidden, runLock);
}

SettledFolder::~SettledFolder() = default;

void SettledFolder::SettleMine(const std::vector<std::string>& records) {
  for (const std::string& name : records) {
    SavedRecord record;
    record.name = name;
    save_names::Parse(name, record.id, record.role);
    struct stat st;
    if (lstat(InFolder(folder_, name).c_str(), &st) != 0) {
      if (errno == ENOENT) continue;
      record.why = {HeldBack::kCannotTell, errno};
    } else if (record.writer = st.st_uid, lockError_) {
      // Without the lock nothing is read: a record holds back what it names.
      record.why = {HeldBack::kFolderLocked, lockError_};
    } else if (record.writer == geteuid()) {
      int error = 0;
      switch (ReadRecord(folder_, record, error)) {
        case RecordRead::kGone:
          continue;
        case RecordRead::kNotARecord:
          unlink(InFolder(folder_, name).c_str());
          continue;
        case RecordRead::kUnreadable:
          record.why = {HeldBack::kCannotTell, error};
          break;
        case RecordRead::kLaterVersion:
          record.why = {HeldBack::kLaterVersion, 0};
          break;
        case RecordRead::kRead:
          int unremoved = 0;
          record.why = Settle(folder_, record, unremoved);
          if (record.why.kind == HeldBack::kNone && !unremoved) continue;
          if (!unremoved_) unremoved_ = unremoved;
          break;
      }
    }
    record.judged = record.writer == geteuid() || lockError_ || record.why.kind != HeldBack::kNone;
    staying_.push_back(std::move(record));
  }
}

void SettledFolder::Sweep(const std::vector<std::string>& hidden, bool runLock) {
  // The files of saves that stay unsettled stay with them; the rest of this user's are left
  // over, from saves that no game is making any more.
  std::set<std::string> staying;
  for (const SavedRecord& record : staying_) staying.insert(record.id);
  for (const std::string& name : hidden) {
    std::string id, role;
    struct stat st;
    save_names::Parse(name, id, role);
    if (!staying.count(id) && lstat(InFolder(folder_, name).c_str(), &st) == 0 &&
        st.st_uid == geteuid())
      unlink(InFolder(folder_, name).c_str());
  }
  // A game killed as it ran here left its lock file, which whoever holds it removes.
  if (runLock) LockFile(InFolder(folder_, save_names::RunLockName()), LockFile::Wait::kNone);
}

std::string SettledFolder::RefusalText() const {
  if (refused_) return ErrorText(refused_);
  if (!lockError_)
    return "a save cut short there could not be cleared up (" + ErrorText(unremoved_) +
           "): try again in a moment";
  if (lockError_ == ENOLCK)
    return "this folder's file system gives no locks: save in a folder on this computer";
  if (lock_->Stands() && lockError_ != EROFS)
    return "its lock file \"" + lock_->Path() + "\", " + UserName(lock_->Owner()) +
           "'s, cannot be opened for writing (" + ErrorText(lockError_) +
           "): ask them to remove it, or save in another folder";
  return ErrorText(lockError_);
}

HeldBack SettledFolder::Whole(const std::string& file) const {
  const std::string name = NameOf(MapPath(file));
  for (SavedRecord& record : staying_) {
    if (!save_names::RecordNames(record.role, name) ||
        (record.writer != geteuid() && !CouldReplace(folder_, record.writer, name)))
      continue;
    if (!record.judged) {
      record.judged = true;
      record.why = Judge(folder_, record);
    }
    if (record.why.kind != HeldBack::kNone) return record.why;
  }
  return {};
}

// ---- FileReplacement -----------------------------------------------------------------------

namespace {

// The permissions a new file of the user's gets.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// 4. Writes bytes whole into the hidden file path, beside target, with the earlier file's
// permissions, and flushes it; made tells it (summed only where a record needs it). 0, or
// why not.
int WriteNew(const std::string& path, const std::string& target, const std::vector<uint8_t>& bytes,
             bool summed, Fingerprint& made) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, 0600);
  if (fd < 0) return errno;
  struct stat earlier, st {};
  const bool regular = stat(target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode);
  int error = WriteAll(fd, bytes.data(), bytes.size()) ? 0 : errno;
  // A file system without permissions keeps its own, which fails nothing.
  if (!error) fchmod(fd, regular ? earlier.st_mode & 07777 : NewFileMode());
  if (!error) error = FlushFile(fd);
  if (!error && fstat(fd, &st) != 0) error = errno;
  if (close(fd) != 0 && !error) error = errno;
  made = {Kind::kFile, bytes.size(), summed ? Sum(kSumStart, bytes.data(), bytes.size()) : 0,
          uint64_t(st.st_mtim.tv_sec), uint64_t(st.st_mtim.tv_nsec)};
  return error;
}

// Copies the regular file at from, of at most the largest file a save writes, to the new
// file to with its permissions, flushed. 0, or why not.
int CopyEarlier(const std::string& from, const std::string& to, const struct stat& earlier) {
  if (uint64_t(earlier.st_size) > kLargestSavedFile) return EFBIG;
  int in = open(from.c_str(), O_RDONLY | kOpenFlags);
  if (in < 0) return errno;
  struct stat st;
  int error = fstat(in, &st) != 0 ? errno : SameFile(st, earlier) ? 0 : EAGAIN;
  int out = error ? -1 : open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, 0600);
  if (!error && out < 0) error = errno;
  char buffer[65536];
  uint64_t copied = 0;
  ssize_t n;
  while (!error && (n = read(in, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    else if ((copied += uint64_t(n)) > kLargestSavedFile) error = EFBIG;
    else if (!WriteAll(out, buffer, size_t(n))) error = errno;
  }
  close(in);
  if (!error) error = fchmod(out, earlier.st_mode & 07777) == 0 ? FlushFile(out) : errno;
  if (out >= 0 && close(out) != 0 && !error) error = errno;
  if (error && out >= 0) unlink(to.c_str());
  return error;
}

// 5. Keeps the earlier file at target under the name kept, to be put back by one rename:
// the very file (a hard link, which for a symbolic link is the link itself) where it may be
// linked, else a copy of this user's, a link copied as a link. 0, or why not.
int KeepEarlier(const std::string& target, const std::string& kept) {
  struct stat earlier;
  if (lstat(target.c_str(), &earlier) != 0) return errno;
  if (link(target.c_str(), kept.c_str()) == 0) return 0;
  if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK && errno != ENOSYS) return errno;
  if (!S_ISLNK(earlier.st_mode)) return CopyEarlier(target, kept, earlier);
  std::vector<char> to(size_t(earlier.st_size) + 1);
  const ssize_t n = readlink(target.c_str(), to.data(), to.size());
  if (n < 0 || size_t(n) != size_t(earlier.st_size)) return n < 0 ? errno : EAGAIN;
  return symlink(std::string(to.data(), size_t(n)).c_str(), kept.c_str()) == 0 ? 0 : errno;
}

}  // namespace

void FileReplacement::Write(const std::string& target, std::vector<uint8_t> bytes) {
  files_.push_back({MapPath(target), std::move(bytes)});
}

FileReplacement::Result FileReplacement::Commit(Locking locking) {
  error_ = 0;
  errorText_.clear();
  holdingNew_.clear();
  if (files_.empty()) return Result::kReplaced;
  const std::string folder = FolderOf(files_[0].target);
  for (const File& f : files_) {
    if (FolderOf(f.target) != folder || IsSaveWorkName(NameOf(f.target)) ||
        files_.size() > kMostSavedFiles)
      error_ = EINVAL;
    else if (f.bytes.size() > kLargestSavedFile)
      error_ = EFBIG;
  }
  // 1, 2. Hold the folder, its saves left half way settled, until the end.
  std::unique_ptr<SettledFolder> held;
  if (!error_) held = std::make_unique<SettledFolder>(files_[0].target);
  if (!error_ && (locking == Locking::kRequired ? held->CannotSave() : held->Refused())) {
    error_ = held->CannotSave();
    errorText_ = held->RefusalText();
  }
  // 3. What is held back, or may not be replaced, is refused before anything is written.
  for (size_t i = 0; i < files_.size() && !error_; ++i) {
    const HeldBack why = held->Whole(files_[i].target);
    if (why.kind != HeldBack::kNone) {
      error_ = why.error ? why.error : EBUSY;
      errorText_ = HeldBackText(why, folder);
    } else if (!CouldReplace(folder, geteuid(), NameOf(files_[i].target))) {
      error_ = EPERM;
    }
  }
  if (error_) {
    if (errorText_.empty()) errorText_ = platform::ErrorText(error_);
    return Result::kFailed;
  }
  const Result result = Carry(folder);
  if (error_ && errorText_.empty()) errorText_ = platform::ErrorText(error_);
  return result;
}

FileReplacement::Result FileReplacement::Carry(const std::string& folder) {
  const size_t count = files_.size();
  const bool several = count > 1;
  std::vector<Saved> saved(count);
  std::string id = save_names::NewId(), record;
  // 4. Each new file, whole and flushed beside its target.
  for (size_t i = 0; i < count && !error_; ++i) {
    saved[i].target = NameOf(files_[i].target);
    error_ = WriteNew(InFolder(folder, NewName(id, i)), files_[i].target, files_[i].bytes, several,
                      saved[i].made);
    // Another save's name, by the rarest of chances: the whole save takes another.
    if (error_ == EEXIST && i == 0) {
      id = save_names::NewId();
      error_ = 0;
      --i;
    }
  }
  // 5. The record, then the earlier files kept, and the folder flushed.
  for (size_t i = 0; several && i < count && !error_; ++i) {
    Look earlier(files_[i].target);
    if (!earlier.Print(saved[i].earlier)) error_ = earlier.Error();
  }
  if (several && !error_) {
    std::vector<std::string> targets;
    for (const Saved& s : saved) targets.push_back(s.target);
    record = save_names::Make(id, save_names::RecordRole(targets));
    error_ = WriteRecord(InFolder(folder, record), saved);
    if (error_) record.clear();
  }
  for (size_t i = 0; several && i < count && !error_; ++i)
    if (saved[i].earlier.kind != Kind::kNothing)
      error_ = KeepEarlier(files_[i].target, InFolder(folder, KeptName(id, i)));
  if (several && !error_) error_ = FlushFolder(folder);
  // 6. Each new file over its target; the first rename is the commit point.
  size_t placed = 0;
  while (!error_ && placed < count) {
    if (rename(InFolder(folder, NewName(id, placed)).c_str(), files_[placed].target.c_str()) != 0)
      error_ = errno;
    else
      ++placed;
  }
  if (error_ && placed > 0) return LeftHalfWay(folder, id, saved, record, placed);
  if (error_) {
    RemoveSave(folder, id, count, record);
    return Result::kFailed;
  }
  // 7. The new names on the disk; 8. then the kept files and the record go. Where the flush
  // failed they stay, and a later settle finds the names whole and removes them.
  error_ = FlushFolder(folder);
  if (error_) return Result::kNotDurable;
  RemoveSave(folder, id, count, record);
  return Result::kReplaced;
}

// A rename failed after the first: the new files not placed go first (or are spoiled, so
// that no settle can finish a save the player is told failed), then the earlier files go
// back. Where that fails too, what the names hold now decides what the next save does.
FileReplacement::Result FileReplacement::LeftHalfWay(const std::string& folder,
                                                     const std::string& id,
                                                     const std::vector<Saved>& saved,
                                                     const std::string& record, size_t placed) {
  for (size_t i = placed; i < saved.size(); ++i) {
    const std::string temporary = InFolder(folder, NewName(id, i));
    if (unlink(temporary.c_str()) != 0 && truncate(temporary.c_str(), 0) != 0) {
    }
  }
  bool back = true;
  for (size_t i = placed; i-- > 0;) {
    const std::string target = InFolder(folder, saved[i].target);
    const bool undone = (saved[i].earlier.kind == Kind::kNothing
                             ? unlink(target.c_str())
                             : rename(InFolder(folder, KeptName(id, i)).c_str(),
                                      target.c_str())) == 0;
    back = back && undone;
  }
  if (back) {
    if (!FlushFolder(folder)) RemoveSave(folder, id, saved.size(), record);
    return Result::kFailed;
  }
  Looks looks;
  const Decision d = Decide(folder, id, saved, looks);
  for (size_t i = 0; i < d.isNew.size(); ++i)
    if (d.isNew[i]) holdingNew_.push_back(files_[i].target);
  next_ = d.outcome == Outcome::kFinish    ? Next::kFinishes
          : d.outcome == Outcome::kPutBack ? Next::kPutsBack
                                           : Next::kOnceReadable;
  return Result::kLeftHalfWay;
}

}  // namespace platform
