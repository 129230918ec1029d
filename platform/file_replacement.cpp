#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iomanip>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/ownership.h"
#include "platform/recently_used.h"
#include "platform/save_names.h"

namespace platform {

namespace {

// The names of folder are on the disk: 0, or why not; one that cannot be flushed at all fails
// nothing.
int FlushFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == EACCES ? 0 : errno;
  int error = fsync(fd) == 0 ? 0 : errno;
  close(fd);
  return error == EINVAL || error == ENOTSUP || error == ENOSYS || error == EBADF ? 0 : error;
}

// Every open of a name in a save's folder: never a link's target, a pipe's wait or a terminal.
constexpr int kOpenFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;

// Why a file read cannot be told: it changed as it was read (another program replaced it).
constexpr int kChangedAsRead = -6;
// How many times a file another program replaces is looked at before a save gives up.
constexpr int kLooks = 4;

// A file told by what it holds (its kind, size and a checksum of its bytes), as no copy or
// remount changes; a link, one this user may not read or one larger than a save writes, by its
// size and the time it was written.
enum class Kind : char { kNothing = 'n', kFile = 'f', kByTime = 'u', kLink = 'l', kOther = 'o' };
struct Fingerprint {
  Kind kind = Kind::kNothing;
  uint64_t size = 0, sum = 0, seconds = 0, nanoseconds = 0;
};

constexpr uint64_t kSumStart = 0xcbf29ce484222325u;

// Eight bytes a step, as quick as reading; every call but the last takes a multiple of eight.
uint64_t Sum(uint64_t sum, const void* data, size_t n) {
  const auto* at = static_cast<const uint8_t*>(data);
  for (; n > 0; sum ^= sum >> 29) {
    const size_t part = std::min<size_t>(n, 8);
    uint64_t word = 0;
    std::memcpy(&word, at, part);
    sum = (sum ^ word ^ part) * 0x9e3779b97f4a7c15u;
    at += part;
    n -= part;
  }
  return sum;
}

// A byte a step, as records of the version before summed files.
uint64_t SumBytewise(uint64_t sum, const void* data, size_t n) {
  const auto* at = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < n; ++i) sum = (sum ^ at[i]) * 0x100000001b3u;
  return sum;
}

// What tells a file apart from whatever stands at its name later.
using Identity = std::tuple<dev_t, ino_t, off_t, time_t, long, time_t, long>;
Identity IdentityOf(const struct stat& st) {
  return {st.st_dev,          st.st_ino,         st.st_size,        st.st_mtim.tv_sec,
          st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
}

// The sums earlier looks read, by the identity of the file summed and whether a byte a step: the
// 32,768 used last (some 7 MiB).
RecentlyUsed<std::pair<Identity, bool>, uint64_t> keptSums(size_t{1} << 15);

// A name as it is now, read only where a fingerprint's size is its own (never beyond the largest
// file a save writes), and once at most while its file keeps its identity.
class Look {
 public:
  explicit Look(std::string path) : path_(std::move(path)) {
    if (lstat(path_.c_str(), &st_) == 0)
      kind_ = S_ISREG(st_.st_mode)   ? Kind::kFile
              : S_ISLNK(st_.st_mode) ? Kind::kLink
                                     : Kind::kOther;
    else if (errno != ENOENT)
      error_ = errno;
  }

  // Whether it holds the file f (summed a byte a step, as records without a checksum did, where
  // bytewise); false where that cannot be told, and why says so.
  bool Holds(const Fingerprint& f, bool bytewise, HeldBack& why) {
    uint64_t sum;
    if (error_) {
      why = {HeldBack::kCannotTell, error_};
    } else if (f.kind == Kind::kNothing ||
               kind_ != (f.kind == Kind::kByTime ? Kind::kFile : f.kind) || Size() != f.size) {
      return f.kind == kind_ && kind_ == Kind::kNothing;
    } else if (f.kind == Kind::kFile && Summed(bytewise, sum)) {
      return sum == f.sum;
    } else if (f.kind == Kind::kFile && readError_ != EACCES) {
      // Where it could be read when it was told, a read that fails now tells nothing; only a
      // file this user may not read at all is told by its time, as its print may have been.
      why = {HeldBack::kCannotTell, readError_};
    } else {
      return uint64_t(st_.st_mtim.tv_sec) == f.seconds &&
             uint64_t(st_.st_mtim.tv_nsec) == f.nanoseconds;
    }
    return false;
  }

  // The name told in full, as a record keeps it; false where it cannot be (Error() says why).
  bool Print(Fingerprint& f) {
    f = {kind_, kind_ == Kind::kNothing ? 0 : Size(), 0, uint64_t(st_.st_mtim.tv_sec),
         uint64_t(st_.st_mtim.tv_nsec)};
    // A pipe, a device or a folder is nothing a save replaces.
    if (!error_ && kind_ == Kind::kOther) readError_ = S_ISDIR(st_.st_mode) ? EISDIR : EINVAL;
    if (error_ || readError_ || kind_ != Kind::kFile) return !Error();
    const bool byTime =
        Size() > kLargestSavedFile || (!Summed(false, f.sum) && readError_ == EACCES);
    f.kind = byTime ? Kind::kByTime : Kind::kFile;
    if (byTime) f.sum = 0;
    return byTime || !readError_;
  }

  int Error() const { return error_ ? error_ : readError_; }

 private:
  uint64_t Size() const { return uint64_t(st_.st_size); }

  // Sums its bytes (a byte a step where bytewise) into sum; false where they could not be read
  // whole, now or before (readError_ says why).
  bool Summed(bool bytewise, uint64_t& sum) {
    const uint64_t* kept = readError_ ? nullptr : keptSums.Find({IdentityOf(st_), bytewise});
    if (readError_ || kept) {
      sum = kept ? *kept : 0;
      return !readError_;
    }
    struct stat opened;
    const int fd = OpenPlainFile(path_, O_RDONLY | kOpenFlags, &opened);
    readError_ = fd < 0 ? errno : !SameFile(opened, st_) ? kChangedAsRead : 0;
    uint8_t buffer[65536];
    uint64_t total = 0;
    sum = kSumStart;
    // A file that grows meanwhile is read no further than a buffer past its size; its bytes
    // are summed a whole buffer at a time, so that the sum is the same however reads come.
    for (ssize_t n = 1; !readError_ && n > 0 && total <= Size(); total += n > 0 ? n : 0) {
      n = ReadFull(fd, buffer, sizeof buffer);
      if (n < 0) readError_ = errno;
      if (n > 0) sum = (bytewise ? SumBytewise : Sum)(sum, buffer, size_t(n));
    }
    if (fd >= 0) close(fd);
    // One that changed as it was read cannot be told now.
    if (!readError_ && total != Size()) readError_ = kChangedAsRead;
    if (!readError_) keptSums.Keep({IdentityOf(st_), bytewise}, sum);
    return !readError_;
  }

  std::string path_;
  struct stat st_ {};
  Kind kind_ = Kind::kNothing;
  int error_ = 0, readError_ = 0;
};

}  // namespace

// What a record says of a file of its save: its target's name, its new and earlier file.
struct Saved {
  std::string target;
  Fingerprint made, earlier;
};

// A record in a folder, who wrote it (where a look could tell), what it says where read, and
// why its files are held back.
struct SavedRecord {
  std::string name, id, role;
  std::optional<uid_t> writer{};
  int version = 0;
  std::vector<Saved> saved{};
  // Why its files are held back as the folder stood before any record was settled (kind kNone
  // where nothing holds them), once it has been judged; and why they are held back now.
  std::optional<HeldBack> verdict{};
  HeldBack why{};
  bool removed = false;  // settled, and gone with its hidden files

  bool Mine() const { return writer == geteuid(); }
  // Why its files are held back now, in the words of whose save it was where another user's.
  HeldBack Told() const {
    HeldBack told = why;
    if (!Mine() && writer) told.writer = UserName(*writer);
    return told;
  }
  // The files it names: those its text names where read, else those its name says.
  size_t Count() const { return saved.empty() ? save_names::RecordCount(role) : saved.size(); }
  bool Names(const std::string& file) const {
    if (saved.empty()) return save_names::RecordNames(role, file);
    return std::any_of(saved.begin(), saved.end(),
                       [&](const Saved& s) { return s.target == file; });
  }
};

namespace {

using save_names::Hidden;

// A record is text: its header, version and a checksum of the rest; then a line a file: the
// target's name in hex (a name may hold any byte but "/"), and its new and earlier file, each
// as kind, size, checksum and the time it was written.
constexpr char kRecordHeader[] = "quor-save-record";
constexpr int kRecordVersion = 5;
// The version before, whose records had no checksum and summed files a byte a step.
constexpr int kUnsealedVersion = 4;
constexpr size_t kLargestRecord = 4096;

std::string RecordText(const std::vector<Saved>& saved) {
  std::ostringstream lines;
  lines << std::setfill('0');
  for (const Saved& s : saved) {
    for (unsigned char c : s.target) lines << std::hex << std::setw(2) << int(c) << std::dec;
    for (const Fingerprint* f : {&s.made, &s.earlier})
      lines << " " << char(f->kind) << " " << f->size << " " << f->sum << " " << f->seconds << " "
            << f->nanoseconds;
    lines << "\n";
  }
  const std::string body = lines.str();
  return std::string(kRecordHeader) + " " + std::to_string(kRecordVersion) + " " +
         std::to_string(Sum(kSumStart, body.data(), body.size())) + "\n" + body;
}

// A fingerprint of a kind a save writes: a file read whole no larger than a save writes.
bool ReadPrint(std::istream& in, Fingerprint& f) {
  char kind = 0;
  in >> kind >> f.size >> f.sum >> f.seconds >> f.nanoseconds;
  f.kind = Kind(kind);
  return in && std::strchr("nful", kind) && (f.kind != Kind::kFile || f.size <= kLargestSavedFile);
}

// A name of the player's in the folder, from hex: no "/", ".", ".." or name of the game's.
bool ReadName(const std::string& hex, std::string& name) {
  if (hex.size() % 2 || hex.find_first_not_of("0123456789abcdef") != std::string::npos)
    return false;
  name.clear();
  for (size_t at = 0; at < hex.size(); at += 2)
    name += char(std::stoi(hex.substr(at, 2), nullptr, 16));
  return !name.empty() && name.find('/') == std::string::npos && name != "." && name != ".." &&
         !save_names::IsOurs(name);
}

// The version text is a record of (0 where none); where whole as its checksum says (the version
// before had none), naming no file twice and each new file a file, what it says of them.
int ParseRecord(const std::string& text, std::vector<Saved>& saved) {
  const size_t end = std::min(text.find('\n'), text.size());
  const std::string body = text.substr(std::min(end + 1, text.size()));
  std::istringstream head(text.substr(0, end)), in(body);
  std::string header, hex;
  int version = 0;
  uint64_t sum = 0;
  if (!(head >> header >> version) || header != kRecordHeader) return 0;
  if (version != kUnsealedVersion && (version != kRecordVersion || !(head >> sum) ||
                                      sum != Sum(kSumStart, body.data(), body.size())))
    return version;
  std::vector<Saved> lines;
  while (in >> hex) {
    Saved& line = lines.emplace_back();
    const auto same = [&](const Saved& s) { return s.target == line.target; };
    if (lines.size() > kMostSavedFiles || !ReadName(hex, line.target) ||
        std::any_of(lines.begin(), lines.end() - 1, same) || !ReadPrint(in, line.made) ||
        line.made.kind != Kind::kFile || !ReadPrint(in, line.earlier))
      return version;
  }
  saved = lines;
  return version;
}

// Reads the record whole, once, its writer the owner of the very file read: kind kNone where it
// is a whole record for the files its name gives; else kCannotTell (it could not be read: error
// says why), kLaterVersion, or kDamaged (its text, where whole, in record.saved all the same).
HeldBack ReadRecord(const std::string& folder, SavedRecord& record) {
  std::string text;
  struct stat st;
  const int fd = OpenPlainFile(InFolder(folder, record.name), O_RDONLY | kOpenFlags, &st);
  const int error = fd < 0 || !ReadUpTo(fd, text, kLargestRecord + 1) ? errno : 0;
  if (fd >= 0) close(fd);
  if (error) return {HeldBack::kCannotTell, error};
  record.writer = st.st_uid;
  record.version = text.size() <= kLargestRecord ? ParseRecord(text, record.saved) : 0;
  if (record.version > kRecordVersion) return {HeldBack::kLaterVersion, 0};
  std::vector<std::string> targets;
  for (const Saved& s : record.saved) targets.push_back(s.target);
  return !targets.empty() && save_names::RecordRole(targets) == record.role
             ? HeldBack()
             : HeldBack{HeldBack::kDamaged, 0};
}

// Whether every new file the record names is still hidden: its save renamed none of them.
bool NewFilesAllHidden(const std::string& folder, const SavedRecord& record) {
  struct stat st;
  for (size_t i = 0; i < record.Count(); ++i)
    if (lstat(InFolder(folder, Hidden(record.id, "new", i)).c_str(), &st) != 0) return false;
  return true;
}

// Whether the save of the record (its ID says which) left none of the new or kept files a save
// makes; false where a look cannot tell.
bool NoHiddenFileLeft(const std::string& folder, const SavedRecord& record) {
  struct stat st;
  for (size_t i = 0; i < kMostSavedFiles; ++i)
    for (const char* role : {"new", "kept"})
      if (lstat(InFolder(folder, Hidden(record.id, role, i)).c_str(), &st) == 0 || errno != ENOENT)
        return false;
  return true;
}

// Removes the record of a save whose names are whole, then its hidden files: a game stopped on
// the way leaves either the record as the save's settle found it, or hidden files that no record
// names, which the next settle clears. 0, or why the record could not be removed (its hidden
// files then stay with it).
int RemoveSave(const std::string& folder, const SavedRecord& record) {
  // A folder put at its name goes too, where it is empty.
  const std::string at = InFolder(folder, record.name);
  if (!record.name.empty() && unlink(at.c_str()) != 0 && errno != ENOENT &&
      (errno != EISDIR || rmdir(at.c_str()) != 0))
    return errno;
  for (size_t i = 0; i < record.Count(); ++i) {
    unlink(InFolder(folder, Hidden(record.id, "new", i)).c_str());
    unlink(InFolder(folder, Hidden(record.id, "kept", i)).c_str());
  }
  return 0;
}

enum class Outcome {
  kWhole,    // nothing to change: every name holds its new file, or every one its earlier
             // file, or some name holds neither (another save's since)
  kFinish,   // the new files still hidden go in place
  kPutBack,  // each name holding its new file gets its earlier one back
};

struct Decision {
  Outcome outcome = Outcome::kWhole;
  HeldBack why;  // what keeps it from being done now, where anything does
  std::vector<bool> isNew, isEarlier;
};

// A record without a checksum proves nothing by itself: any field of it may be what changed. Its
// save took these steps: 4. each new file hidden; 5. the record, then each earlier file that
// stood kept, in order; 6. the renames, in order; 8. each kept file removed, in order, then the
// record. Where the rename of line k failed, it went on, as its failure path had it: the new
// files not placed removed, in order; then each earlier file put back, in order (a kept one by
// its rename, one that did not stand by removing its name). It is believed (kind kNone) only
// where the folder is what those steps, stopped after one of them, leave; else it is damaged,
// as where a line's two prints cannot be told apart.
HeldBack LeftByItsSave(const std::string& folder, const SavedRecord& record) {
  // What a stop leaves of a line: its name renamed, its new file there, its kept file there.
  enum : int { kRenamed = 1, kNewThere = 2, kKeptThere = 4 };
  using Step = std::pair<size_t, int>;  // the line it changes, and what it turns over
  const std::vector<Saved>& saved = record.saved;
  const size_t n = saved.size();
  HeldBack why;
  auto holds = [&](const std::string& name, const Fingerprint& f) {
    return Look(InFolder(folder, name)).Holds(f, true, why);
  };
  auto stood = [&](size_t i) { return saved[i].earlier.kind != Kind::kNothing; };
  std::vector<int> found;  // what the folder holds of each line
  std::vector<Step> keeps;
  for (size_t i = 0; i < n; ++i) {
    const std::string made = Hidden(record.id, "new", i), kept = Hidden(record.id, "kept", i);
    const bool renamed = holds(saved[i].target, saved[i].made),
               newThere = holds(made, saved[i].made),
               keptThere = stood(i) && holds(kept, saved[i].earlier);
    // Each is one of the two things a step leaves, or no stop left it.
    if (renamed == holds(saved[i].target, saved[i].earlier) || newThere == holds(made, {}) ||
        keptThere == holds(kept, {}))
      return why.kind != HeldBack::kNone ? why : HeldBack{HeldBack::kDamaged, 0};
    found.push_back((renamed ? kRenamed : 0) | (newThere ? kNewThere : 0) |
                    (keptThere ? kKeptThere : 0));
    if (stood(i)) keeps.push_back({i, kKeptThere});
  }
  // Each way it could go once k names were renamed: through (k = n), the kept files then
  // removed; or failing at the next rename. A record that names nothing stands as written.
  for (size_t k = n ? 1 : 0; k <= n; ++k) {
    std::vector<Step> way = keeps;
    for (size_t i = 0; i < k; ++i) way.push_back({i, kRenamed | kNewThere});
    for (size_t i = k; i < n; ++i) way.push_back({i, kNewThere});
    for (size_t i = 0; i < k && k < n; ++i)
      way.push_back({i, kRenamed | (stood(i) ? kKeptThere : 0)});
    if (k == n) way.insert(way.end(), keeps.begin(), keeps.end());
    std::vector<int> walked(n, kNewThere);  // each new file hidden, the record written
    for (size_t step = 0; walked != found && step < way.size(); ++step)
      walked[way[step].first] ^= way[step].second;
    if (walked == found) return {};
  }
  return {HeldBack::kDamaged, 0};
}

// What settling the save of a record would do, from what its names and hidden files hold now.
Decision Decide(const std::string& folder, const SavedRecord& record) {
  Decision d;
  const std::vector<Saved>& saved = record.saved;
  const size_t n = saved.size();
  const bool unsealed = record.version == kUnsealedVersion;
  // One without a checksum that left no hidden file can repair nothing: it goes, changing no name.
  if (unsealed && (NoHiddenFileLeft(folder, record) ||
                   (d.why = LeftByItsSave(folder, record)).kind != HeldBack::kNone))
    return d;
  auto holds = [&](const std::string& name, const Fingerprint& f) {
    return Look(InFolder(folder, name)).Holds(f, unsealed, d.why);
  };
  size_t news = 0, earliers = 0, either = 0;
  for (const Saved& s : saved) {
    d.isNew.push_back(holds(s.target, s.made));
    d.isEarlier.push_back(holds(s.target, s.earlier));
    news += d.isNew.back();
    earliers += d.isEarlier.back();
    either += d.isNew.back() || d.isEarlier.back();
  }
  // Where a name holds neither, others saved since.
  if (d.why.kind != HeldBack::kNone || either < n || news == 0 || news == n || earliers == n)
    return d;
  // Every new file was whole on the disk before the first rename: where each name without
  // its new file still holds its earlier one, its new file still beside it, the save goes on.
  d.outcome = Outcome::kFinish;
  for (size_t i = 0; i < n; ++i)
    if (!d.isNew[i] && !holds(Hidden(record.id, "new", i), saved[i].made))
      d.outcome = Outcome::kPutBack;
  // Else each name holding its new file gets its earlier one back, kept beside it.
  for (size_t i = 0; i < n && d.outcome == Outcome::kPutBack; ++i)
    if (d.isNew[i] && !d.isEarlier[i] && saved[i].earlier.kind != Kind::kNothing &&
        !holds(Hidden(record.id, "kept", i), saved[i].earlier) && d.why.kind == HeldBack::kNone)
      d.why = {HeldBack::kNotFinished, 0};
  return d;
}

// Settles a save of this user's, the folder held: its names made whole, then its record and
// its hidden files gone (RemoveSave), each step on the disk before the next. Why its files
// stay held back where they do; where it was settled but its record could not be removed,
// unremoved says why.
HeldBack SettleSave(const std::string& folder, const SavedRecord& record, int& unremoved) {
  const Decision d = Decide(folder, record);
  if (d.why.kind != HeldBack::kNone) return d.why;
  int error = 0;
  for (size_t i = 0; i < record.saved.size() && !error; ++i) {
    const std::string target = InFolder(folder, record.saved[i].target);
    if (d.outcome == Outcome::kFinish && !d.isNew[i])
      error = rename(InFolder(folder, Hidden(record.id, "new", i)).c_str(), target.c_str());
    else if (d.outcome == Outcome::kPutBack && d.isNew[i] && !d.isEarlier[i])
      error = record.saved[i].earlier.kind == Kind::kNothing
                  ? unlink(target.c_str())
                  : rename(InFolder(folder, Hidden(record.id, "kept", i)).c_str(), target.c_str());
    if (error) error = errno;
  }
  const bool locked = IsPermission(error) || error == EROFS;
  if (error) return {locked ? HeldBack::kFolderLocked : HeldBack::kNotFinished, error};
  error = FlushFolder(folder);
  if (!error) error = RemoveSave(folder, record);
  if (!error) error = FlushFolder(folder);
  unremoved = error;
  return {};
}

// Reads the record into record and judges it as the folder stands, changing nothing: kind kNone
// where nothing holds its files back (another user's only where its names are whole).
HeldBack ReadAndJudge(const std::string& folder, SavedRecord& record) {
  const HeldBack why = ReadRecord(folder, record);
  // Whatever a damaged one says, its save changed no name, or left nothing that repairs one: it
  // goes with its files, acting on nothing its text says.
  if (why.kind == HeldBack::kDamaged &&
      (NewFilesAllHidden(folder, record) || NoHiddenFileLeft(folder, record)))
    record.saved.clear();
  else if (why.kind != HeldBack::kNone)
    return why;
  const Decision d = Decide(folder, record);
  if (record.Mine() || d.why.kind == HeldBack::kCannotTell) return d.why;
  return d.outcome == Outcome::kWhole && d.why.kind == HeldBack::kNone
             ? HeldBack()
             : HeldBack{HeldBack::kAnotherUsers, 0};
}

}  // namespace

std::string ErrorText(int error) {
  const std::string later = ": try again in a moment";
  return error == kFolderBusy      ? "another game is saving in the same folder" + later
         : error == kGivenUp       ? "the game is ending"
         : error == kLockInUse     ? "the folder's lock file is in use by another program" + later
         : error == kKeepsChanging ? "another program keeps changing a file it replaces" + later
         : error == kFileInUse     ? "another program has a file it replaces open" + later
         : error == kChangedAsRead ? "it changed as it was read"
         : error == EAGAIN         ? "another program has the file open"
                                   : std::strerror(error);
}

SettledFolder::SettledFolder(const std::string& file) : folder_(FolderOf(MapPath(file))) {
  lock_ = std::make_unique<LockFile>(InFolder(folder_, save_names::FolderLockName()),
                                     LockFile::Wait::kFewSeconds);
  const LockFile::State state = lock_->Taken();
  refused_ = state == LockFile::State::kBusy      ? kFolderBusy
             : state == LockFile::State::kGivenUp ? kGivenUp
             : state == LockFile::State::kInUse   ? kLockInUse
                                                  : 0;
  lockError_ = state == LockFile::State::kNone ? lock_->Error() : 0;
}

SettledFolder::~SettledFolder() = default;

std::unique_ptr<SettledFolder> SettledFolder::Hold(const std::string& file) {
  std::unique_ptr<SettledFolder> held(new SettledFolder(file));
  held->Settle();
  return held;
}

// Lists each record in the folder, looked at once, and where asked, the new and kept files of
// saves and a run's lock file: 0, or why the folder could not be listed.
int SettledFolder::ListRecords(std::vector<SavedRecord>& records,
                               std::vector<std::string>* hidden) const {
  DIR* d = opendir(folder_.c_str());
  if (!d) return errno;
  for (const dirent* e; (errno = 0, e = readdir(d));) {
    std::string name = e->d_name, id, role;
    if (!save_names::Parse(name, id, role)) continue;
    if (hidden && (role.compare(0, 3, "new") == 0 || role.compare(0, 4, "kept") == 0 ||
                   name == save_names::RunLockName()))
      hidden->push_back(name);
    if (!save_names::IsRecordRole(role)) continue;
    SavedRecord& record = records.emplace_back(SavedRecord{name, id, role});
    // Listed, it is there: a look that fails, whatever it says, tells nothing of it. Without
    // the lock nothing is read: a record holds back what it names.
    struct stat st;
    if (lstat(InFolder(folder_, name).c_str(), &st) == 0) record.writer = st.st_uid;
    if (!record.writer || lockError_)
      record.why =
          *(record.verdict = !record.writer ? HeldBack{HeldBack::kCannotTell, errno}
                                            : HeldBack{HeldBack::kFolderLocked, lockError_});
  }
  const int error = errno;
  closedir(d);
  return error;
}

void SettledFolder::Settle() {
  std::vector<std::string> hidden;
  if (!refused_) refused_ = ListRecords(records_, &hidden);
  if (refused_ || lockError_) return;
  // Each of this user's records, and each record that shares a name with one, judged as the
  // folder stands before any is settled.
  for (SavedRecord& record : records_)
    if (record.Mine()) HeldBy(record);
  for (const SavedRecord& record : records_)
    if (record.Mine() && record.why.kind == HeldBack::kNone)
      for (SavedRecord& other : records_)
        if (!other.verdict && Shares(record, other)) HeldBy(other);
  // Then each of this user's settled, where no record that shares a name with it holds it back.
  for (SavedRecord& record : records_) {
    if (!record.Mine() || record.why.kind != HeldBack::kNone) continue;
    for (const SavedRecord& other : records_)
      if (other.why.kind != HeldBack::kNone && Shares(record, other)) {
        record.why = other.Told();
        break;
      }
    int unremoved = 0;
    if (record.why.kind == HeldBack::kNone) record.why = SettleSave(folder_, record, unremoved);
    if (!unremoved_) unremoved_ = unremoved;
    record.removed = record.why.kind == HeldBack::kNone && !unremoved;
  }
  // The files of saves that stay unsettled stay with them; the rest of this user's are left
  // over from saves no game makes any more. Other users' are theirs to remove.
  std::set<std::string> staying;
  for (const SavedRecord& record : records_)
    if (!record.removed) staying.insert(record.id);
  for (const std::string& name : hidden) {
    std::string id, role;
    struct stat st;
    save_names::Parse(name, id, role);
    // A game killed as it ran here left its lock file, which whoever holds it removes.
    if (name == save_names::RunLockName())
      LockFile(InFolder(folder_, name), LockFile::Wait::kNone);
    else if (!staying.count(id) && lstat(InFolder(folder_, name).c_str(), &st) == 0 &&
             st.st_uid == geteuid())
      unlink(InFolder(folder_, name).c_str());
  }
}

const HeldBack& SettledFolder::HeldBy(SavedRecord& record) {
  if (!record.verdict) record.why = *(record.verdict = ReadAndJudge(folder_, record));
  return record.why;
}

// Whether other could have changed a file that record names; where neither has been read,
// whether their names say they name a file in common.
bool SettledFolder::Shares(const SavedRecord& record, const SavedRecord& other) const {
  if (&record == &other) return false;
  for (const SavedRecord* named : {&record, &other})
    for (const Saved& s : named->saved)
      if (record.Names(s.target) && CouldHaveChanged(other, s.target)) return true;
  return record.saved.empty() && other.saved.empty() &&
         save_names::RecordsShareAName(record.role, other.role);
}

// Whether the save of record could have changed the file called name: it names it, and its
// writer, where a look told who, could replace it. Only such a record holds that file back.
bool SettledFolder::CouldHaveChanged(const SavedRecord& record, const std::string& name) const {
  return record.Names(name) && (!record.writer || record.writer == geteuid() ||
                                CouldReplace(folder_, *record.writer, name));
}

std::string SettledFolder::RefusalText(bool saving) const {
  // What no wait clears is for the player to see to, or another user. A lock file the player
  // may not open, or no plain file at its name, was told before the lock was asked for.
  if (IsPermission(refused_))
    return "its folder " + Whose(folder_, "cannot be listed (" + ErrorText(refused_) + ")",
                                 "readable", saving ? "save in another folder" : "");
  if (refused_) return ErrorText(refused_);
  if (!lockError_)
    return "a save cut short there could not be cleared up (" + ErrorText(unremoved_) + ")" +
           (IsPermission(unremoved_) ? "" : ": try again in a moment");
  return lockError_ == ENOLCK
             ? "this folder's file system gives no locks: save in a folder on this computer"
             : ErrorText(lockError_);
}

HeldBack SettledFolder::WhyHeldBack(const std::vector<std::string>& files,
                                    std::vector<const SavedRecord*>* replaced) {
  std::vector<std::string> names;
  for (const std::string& file : files) names.push_back(NameOf(MapPath(file)));
  for (SavedRecord& record : records_) {
    const size_t named = std::count_if(names.begin(), names.end(),
                                       [&](const std::string& name) { return record.Names(name); });
    if (std::none_of(names.begin(), names.end(),
                     [&](const std::string& name) { return CouldHaveChanged(record, name); }))
      continue;
    if (HeldBy(record).kind == HeldBack::kNone) continue;
    if (!replaced || named != record.Count()) {
      std::string words;
      HeldBack why = record.Told();
      why.replaceable = named == record.Count() && !lockError_ && !NotReplaceable(files, words);
      return why;
    }
    replaced->push_back(&record);
  }
  return {};
}

bool SettledFolder::Read(const std::string& file, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
  struct stat st;
  // A file another program holds open for a moment is waited for, a few seconds at most.
  for (FolderWaitTurns lease; !ReadWholeFile(file, bytes, maxBytes, &st);) {
    const int error = errno;
    if (error != EAGAIN || !lease.More(WaitingFor::kAnotherProgram)) {
      errno = error;
      return false;
    }
  }
  read_.push_back({MapPath(file), st});
  return true;
}

HeldBack SettledFolder::Confirmed() {
  std::vector<SavedRecord> now;
  if (!lockError_) return {};
  if (const int error = ListRecords(now)) return {HeldBack::kBeingSaved, error};
  for (const auto& [path, then] : read_) {
    // Opened afresh, as a network share's client tells what a name holds now, not what it kept.
    struct stat st;
    const int fd = OpenPlainFile(path, O_RDONLY, &st);
    if (fd >= 0) close(fd);
    bool same = fd >= 0 && IdentityOf(st) == IdentityOf(then);
    for (const SavedRecord& record : now) same = same && !CouldHaveChanged(record, NameOf(path));
    if (!same) return {HeldBack::kBeingSaved, 0};
  }
  return {};
}

namespace {

// 4. Writes bytes whole into the hidden file path, with target's permissions (or mode, set
// once it is written; else a new file's), and flushes it; made tells it (summed where a record
// needs it). 0, or why not.
int WriteNew(const std::string& path, const std::string& target, const std::vector<uint8_t>& bytes,
             bool summed, Fingerprint& made, mode_t mode = 0) {
  struct stat earlier, st{};
  const bool given = mode || (stat(target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode));
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, given ? 0600 : 0666);
  if (fd < 0) return errno;
  int error = WriteAll(fd, bytes.data(), bytes.size()) ? 0 : errno;
  // A file system without permissions keeps its own, which fails nothing.
  if (!error && given) fchmod(fd, mode ? mode : earlier.st_mode & 07777);
  if (!error && fsync(fd) != 0) error = errno;
  if (!error && fstat(fd, &st) != 0) error = errno;
  if (close(fd) != 0 && !error) error = errno;
  made = {Kind::kFile, bytes.size(), summed ? Sum(kSumStart, bytes.data(), bytes.size()) : 0,
          uint64_t(st.st_mtim.tv_sec), uint64_t(st.st_mtim.tv_nsec)};
  return error;
}

// 5. What the earlier file at path holds, looked at afresh where another program replaced it as
// it was read, a few times at most, and waited for a few seconds at most where another program
// holds it open: 0, or why it cannot be told.
int PrintEarlier(const std::string& path, Fingerprint& f) {
  FolderWaitTurns lease;
  for (int changes = 0;;) {
    Look earlier(path);
    if (earlier.Print(f)) return 0;
    const int error = earlier.Error();
    if (error == kChangedAsRead && ++changes == kLooks) return kKeepsChanging;
    if (error == EAGAIN && !lease.More(WaitingFor::kAnotherProgram))
      return lease.GivenUp() ? kGivenUp : kFileInUse;
    if (error != kChangedAsRead && error != EAGAIN) return error;
  }
}

// 5. A flushed copy of the earlier file at target, of this user's, under the name kept: 0, or
// why not.
int CopyEarlier(const std::string& target, const std::string& kept) {
  struct stat earlier;
  std::vector<uint8_t> bytes;
  Fingerprint copy;
  if (lstat(target.c_str(), &earlier) != 0 || !S_ISREG(earlier.st_mode)) return EPERM;
  if (!ReadWholeFile(target, bytes, kLargestSavedFile)) return errno;
  return WriteNew(kept, target, bytes, false, copy);
}

// 5. Keeps the earlier file at target under the name kept, to be put back by one rename: the
// very file (a hard link; for a symbolic link, the link), else a flushed copy of this user's,
// no larger than a save writes. 0, or why not.
int KeepEarlier(const std::string& target, const std::string& kept) {
  for (int looks = 1; link(target.c_str(), kept.c_str()) != 0; ++looks) {
    // A name renamed over as it is linked is told gone: linked again, a few times at most.
    if (errno == ENOENT && looks < kLooks) continue;
    if (errno == ENOENT) return kKeepsChanging;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK && errno != ENOSYS) return errno;
    return CopyEarlier(target, kept);
  }
  return 0;
}

}  // namespace

void FileReplacement::Write(const std::string& target, std::vector<uint8_t> bytes) {
  files_.push_back({MapPath(target), std::move(bytes)});
}

FileReplacement::Result FileReplacement::Commit(Locking locking) {
  error_ = 0;
  errorText_.clear();
  holdingNew_.clear();
  heldBack_ = HeldBack();
  if (files_.empty()) return Result::kReplaced;
  const std::string folder = FolderOf(files_[0].target);
  std::vector<std::string> targets;
  for (const File& f : files_) {
    targets.push_back(f.target);
    if (FolderOf(f.target) != folder || save_names::IsOurs(NameOf(f.target)) ||
        files_.size() > kMostSavedFiles)
      error_ = EINVAL;
    else if (f.bytes.size() > kLargestSavedFile)
      error_ = EFBIG;
  }
  // 1. What this user may not replace is refused before anything is done.
  if (!error_) error_ = NotReplaceable(targets, errorText_, locking == Locking::kRequired);
  // 1, 2. Hold the folder, its saves left half way settled, until the end.
  std::unique_ptr<SettledFolder> held;
  if (!error_) held = SettledFolder::Hold(files_[0].target);
  if (!error_ && (locking == Locking::kRequired ? held->CannotSave() : held->Refused())) {
    error_ = held->CannotSave();
    errorText_ = held->RefusalText(true);
  }
  // 3. What is held back is refused before anything is written.
  std::vector<const SavedRecord*> replaced;
  if (!error_) heldBack_ = held->WhyHeldBack(targets, &replaced);
  if (heldBack_.kind != HeldBack::kNone) error_ = heldBack_.error ? heldBack_.error : EBUSY;
  const Result result = error_ ? Result::kFailed : Carry(*held, replaced);
  if (error_ && errorText_.empty()) errorText_ = platform::ErrorText(error_);
  return result;
}

FileReplacement::Result FileReplacement::Carry(SettledFolder& held,
                                               const std::vector<const SavedRecord*>& replaced) {
  const std::string& folder = held.folder_;
  const size_t count = files_.size();
  const bool several = count > 1;
  SavedRecord save{"", save_names::NewId(), ""};  // named once it is written
  save.version = kRecordVersion;
  save.saved.resize(count);
  std::vector<Saved>& saved = save.saved;
  const std::string& id = save.id;
  // 4. Each new file, whole and flushed beside its target; 5. what each earlier file holds.
  for (size_t i = 0; i < count && !error_; ++i) {
    saved[i].target = NameOf(files_[i].target);
    error_ = WriteNew(InFolder(folder, Hidden(id, "new", i)), files_[i].target, files_[i].bytes,
                      several, saved[i].made);
    if (several && !error_)
      error_ = PrintEarlier(InFolder(folder, saved[i].target), saved[i].earlier);
  }
  // Another save's name, by the rarest of chances: what this one made goes at the next sweep.
  if (error_ == EEXIST) save.id.clear();
  // 5. The record, then the earlier files kept, and the folder flushed.
  if (several && !error_) {
    std::vector<std::string> targets;
    for (const Saved& s : saved) targets.push_back(s.target);
    save.name = save_names::Make(id, save_names::RecordRole(targets));
    const std::string text = RecordText(saved);
    Fingerprint written;
    // Readable by whoever may read the folder, so that their games know the files unsettled.
    error_ =
        WriteNew(InFolder(folder, save.name), "", {text.begin(), text.end()}, false, written, 0644);
  }
  for (size_t i = 0; several && i < count && !error_; ++i)
    if (saved[i].earlier.kind != Kind::kNothing)
      error_ = KeepEarlier(files_[i].target, InFolder(folder, Hidden(id, "kept", i)));
  if (several && !error_) error_ = FlushFolder(folder);
  // 6. Each new file over its target; the first rename is the commit point.
  size_t placed = 0;
  while (!error_ && placed < count &&
         rename(InFolder(folder, Hidden(id, "new", placed)).c_str(),
                files_[placed].target.c_str()) == 0)
    ++placed;
  if (!error_ && placed < count) error_ = errno;
  if (error_ && placed > 0) return LeftHalfWay(folder, save, placed);
  if (error_) {
    if (!id.empty()) RemoveSave(folder, save);
    return Result::kFailed;
  }
  // 7. The new names on the disk; 8. then the record and the kept files go (where the flush
  // failed they stay, for a later settle to find whole and remove), and records this save
  // replaced.
  error_ = FlushFolder(folder);
  if (error_) return Result::kNotDurable;
  if (several) RemoveSave(folder, save);
  for (const SavedRecord* r : replaced) RemoveSave(folder, *r);
  return Result::kReplaced;
}

// A rename failed after the first: the new files not placed go first (or are cut to nothing),
// so that nothing finishes a save the player is told failed; then the save is settled as the
// next save would settle it, which puts the earlier files back, or else will.
FileReplacement::Result FileReplacement::LeftHalfWay(const std::string& folder,
                                                     const SavedRecord& save, size_t placed) {
  for (size_t i = placed; i < save.saved.size(); ++i) {
    const std::string temporary = InFolder(folder, Hidden(save.id, "new", i));
    if (unlink(temporary.c_str()) != 0) (void)!truncate(temporary.c_str(), 0);
  }
  int unremoved = 0;
  if (SettleSave(folder, save, unremoved).kind == HeldBack::kNone) return Result::kFailed;
  for (size_t i = 0; i < save.saved.size(); ++i)
    if (HeldBack why; Look(files_[i].target).Holds(save.saved[i].made, false, why))
      holdingNew_.push_back(files_[i].target);
  return Result::kLeftHalfWay;
}

}  // namespace platform
