#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace platform {

namespace {

// Temporaries are ".quor-PID-XXXXXX". The process id only tells a person whose it was: what
// tells a live temporary from one that a killed save left is the lock its game holds on it,
// which goes with the game's last descriptor whatever process ids mean where it runs.
constexpr char kTemporaryPrefix[] = ".quor-";
// Beside the temporary whose name they extend: an earlier file that a save of several files
// may have to put back, and the record of such a save.
constexpr char kKeptSuffix[] = "-kept";
constexpr char kRecordSuffix[] = "-record";
constexpr char kRecordHeader[] = "quor save record 1\n";
constexpr char kRecordEnd[] = "end\n";
constexpr size_t kLargestRecord = size_t{1} << 20;

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

// The inode a name holds now, 0 where it holds nothing.
uint64_t InodeAt(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// What a name is to the save's cleaning: ".quor-PID-XXXXXX" a temporary, and with "-record"
// added a record. Kept files are removed by their record alone, and names of other shapes
// (those of earlier versions among them, which may hold the only copy of a save) are left.
enum class Kind { kOther, kTemporary, kRecord };

Kind KindOf(const std::string& name) {
  const size_t prefix = sizeof kTemporaryPrefix - 1, unique = 6;
  if (name.compare(0, prefix, kTemporaryPrefix) != 0) return Kind::kOther;
  size_t at = prefix;
  while (at < name.size() && std::isdigit(static_cast<unsigned char>(name[at]))) ++at;
  if (at == prefix || at == name.size() || name[at] != '-' || name.size() < at + 1 + unique)
    return Kind::kOther;
  for (size_t i = at + 1; i < at + 1 + unique; ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return Kind::kOther;
  const std::string rest = name.substr(at + 1 + unique);
  return rest.empty() ? Kind::kTemporary : rest == kRecordSuffix ? Kind::kRecord : Kind::kOther;
}

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

bool FlushFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool good = fsync(fd) == 0;
  return close(fd) == 0 && good;
}

// The permissions a new file of the user's gets.
mode_t NewFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// A new temporary in folder: its descriptor for writing, and in held another, read-only,
// that carries this game's lock on it (its last close, after the rename, then changes
// nothing on the target's name); -1 with errno set where the folder takes no new file. A
// cleaner may take a temporary for abandoned in the moment between its making and its lock,
// so it is ours only where its name still holds it once locked. Where the file system has
// no locks it goes unlocked, and no cleaner can take it.
int MakeTemporary(const std::string& folder, std::string& path, int& held) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = InFolder(folder, kTemporaryPrefix + std::to_string(getpid()) + "-XXXXXX");
    int fd = mkostemp(&path[0], O_CLOEXEC);
    if (fd < 0) return -1;
    held = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (held < 0) {
      int error = errno;
      unlink(path.c_str());
      close(fd);
      errno = error;
      return -1;
    }
    int locked = -1;
    while ((locked = flock(held, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    struct stat mine, heldStat, named;
    if ((locked == 0 || errno != EWOULDBLOCK) && fstat(fd, &mine) == 0 &&
        fstat(held, &heldStat) == 0 && lstat(path.c_str(), &named) == 0 &&
        SameFile(mine, heldStat) && SameFile(mine, named))
      return fd;
    close(held);
    close(fd);
  }
  errno = EEXIST;
  return -1;
}

// The plain file at path, locked, where no running game holds it, so that nothing saves
// through it now; -1 otherwise (and wherever locks do not work).
int TakeIfAbandoned(const std::string& path) {
  struct stat named, mine;
  if (lstat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return -1;
  const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
  int fd = open(path.c_str(), O_RDONLY | flags);
  // A temporary given a write-only earlier file's mode just before its game stopped.
  if (fd < 0 && errno == EACCES) fd = open(path.c_str(), O_WRONLY | flags);
  if (fd < 0) return -1;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &mine) != 0 ||
      lstat(path.c_str(), &named) != 0 || !SameFile(mine, named)) {
    close(fd);
    return -1;
  }
  return fd;
}

// What a record says of each file of its save: the names in the save's folder of the target,
// its temporary and its kept earlier file ("" where it had none), and the inodes of the new
// file and of the earlier one (0 where there was none), which tell what each name holds.
struct RecordEntry {
  std::string target, temporary, kept;
  uint64_t inode = 0, earlierInode = 0;
};

// Names are written with their length first, since a file name may hold any byte but "/".
std::string RecordText(const std::vector<RecordEntry>& entries) {
  std::string text = kRecordHeader + std::to_string(entries.size()) + "\n";
  for (const RecordEntry& e : entries) {
    for (const std::string* name : {&e.target, &e.temporary, &e.kept})
      text += std::to_string(name->size()) + ":" + *name + "\n";
    text += std::to_string(e.inode) + " " + std::to_string(e.earlierInode) + "\n";
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
  bool Number(uint64_t& value, char end) {
    size_t start = at_;
    value = 0;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])) &&
           at_ - start < 19)
      value = value * 10 + uint64_t(text_[at_++] - '0');
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
  bool AtEnd() const { return at_ == text_.size(); }

 private:
  const std::string& text_;
  size_t at_ = 0;
};

// A record that this game's saves could have written: every temporary of its own shape,
// every kept file named after it.
bool ParseRecord(const std::string& text, std::vector<RecordEntry>& entries) {
  RecordReader reader(text);
  uint64_t count;
  if (!reader.Literal(kRecordHeader) || !reader.Number(count, '\n') || count > 1000) return false;
  entries.assign(count, RecordEntry());
  for (RecordEntry& e : entries) {
    if (!reader.Name(e.target) || !reader.Name(e.temporary) || !reader.Name(e.kept) ||
        !reader.Number(e.inode, ' ') || !reader.Number(e.earlierInode, '\n') || e.target.empty() ||
        KindOf(e.temporary) != Kind::kTemporary ||
        !(e.kept.empty() || e.kept == e.temporary + kKeptSuffix))
      return false;
  }
  return reader.Literal(kRecordEnd) && reader.AtEnd();
}

bool ReadRecord(int fd, std::vector<RecordEntry>& entries) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while (text.size() <= kLargestRecord && (n = read(fd, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    text.append(buffer, size_t(n));
  }
  return text.size() <= kLargestRecord && ParseRecord(text, entries);
}

// Brings the names of an interrupted save to its new files or its earlier ones, all of them.
// Every new file was whole on the disk before the first rename, so where some were put in
// place the rest follow, each over a name that still holds its earlier file; where that
// cannot be done, the earlier files go back.
bool SettleEntries(const std::string& folder, const std::vector<RecordEntry>& entries) {
  auto at = [&](const std::string& name) { return InodeAt(InFolder(folder, name)); };
  auto placed = [&](const RecordEntry& e) { return at(e.target) == e.inode; };
  if (std::none_of(entries.begin(), entries.end(), placed)) return true;
  bool finished = true;
  for (const RecordEntry& e : entries) {
    if (placed(e)) continue;
    finished =
        at(e.temporary) == e.inode && at(e.target) == e.earlierInode &&
        rename(InFolder(folder, e.temporary).c_str(), InFolder(folder, e.target).c_str()) == 0;
    if (!finished) break;
  }
  if (finished) return true;
  bool undone = true;
  for (const RecordEntry& e : entries) {
    if (!placed(e)) continue;
    const std::string target = InFolder(folder, e.target);
    if (!e.kept.empty() && at(e.kept) != 0)
      undone = rename(InFolder(folder, e.kept).c_str(), target.c_str()) == 0 && undone;
    else
      undone = e.earlierInode == 0 && unlink(target.c_str()) == 0 && undone;
  }
  return undone;
}

// Settles the save of the record at name in folder where no running game holds it and it is
// this user's; true once it is settled or is none of this game's to settle.
bool SettleRecord(const std::string& folder, const std::string& name) {
  int fd = TakeIfAbandoned(InFolder(folder, name));
  if (fd < 0) return true;
  struct stat st;
  std::vector<RecordEntry> entries;
  bool settled = fstat(fd, &st) == 0 && st.st_uid == geteuid() && ReadRecord(fd, entries) &&
                 SettleEntries(folder, entries);
  if (settled) {
    // Every name holds a file of one save, on the disk, before the spare copies go.
    FlushFolder(folder);
    for (const RecordEntry& e : entries) {
      const uint64_t now = InodeAt(InFolder(folder, e.target));
      if (!e.kept.empty() && (now == e.inode || now == e.earlierInode))
        unlink(InFolder(folder, e.kept).c_str());
      if (InodeAt(InFolder(folder, e.temporary)) == e.inode)
        unlink(InFolder(folder, e.temporary).c_str());
    }
    unlink(InFolder(folder, name).c_str());
  }
  close(fd);
  return settled;
}

bool NamedByARecord(const std::string& folder, const std::string& temporary) {
  DIR* d = opendir(folder.c_str());
  if (!d) return false;
  bool named = false;
  while (dirent* e = readdir(d)) {
    if (named || KindOf(e->d_name) != Kind::kRecord) continue;
    int fd = openat(dirfd(d), e->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    std::vector<RecordEntry> entries;
    if (fd >= 0 && ReadRecord(fd, entries))
      for (const RecordEntry& entry : entries) named = named || entry.temporary == temporary;
    if (fd >= 0) close(fd);
  }
  closedir(d);
  return named;
}

// Removes the temporary where no running game holds it, unless the record of an interrupted
// save names it (its game may have stopped since the records were looked at).
void ClearIfAbandoned(const std::string& folder, const std::string& name) {
  const std::string path = InFolder(folder, name);
  int fd = TakeIfAbandoned(path);
  if (fd < 0) return;
  if (!NamedByARecord(folder, name)) unlink(path.c_str());
  close(fd);
}

bool SettleFolder(const std::string& folder) {
  std::vector<std::string> records, temporaries;
  DIR* d = opendir(folder.c_str());
  if (!d) return true;
  while (dirent* e = readdir(d)) {
    Kind kind = KindOf(e->d_name);
    if (kind == Kind::kRecord) records.push_back(e->d_name);
    if (kind == Kind::kTemporary) temporaries.push_back(e->d_name);
  }
  closedir(d);
  bool settled = true;
  for (const std::string& record : records) settled = SettleRecord(folder, record) && settled;
  for (const std::string& temporary : temporaries) ClearIfAbandoned(folder, temporary);
  return settled;
}

// Keeps the earlier file at target under the name kept, to be put back by one rename: the
// very file (a hard link, which for a symbolic link is the link itself) where this user can
// remove the link again, else a copy of this user's, a link copied as a link. In a folder
// with the sticky bit only a file's owner or the folder's may remove it, and a hard link has
// its file's owner.
bool KeepEarlier(const std::string& target, const struct stat& earlier, const std::string& kept) {
  struct stat folder;
  if (stat(FolderOf(target).c_str(), &folder) != 0) return false;
  const uid_t me = geteuid();
  if (!(folder.st_mode & S_ISVTX) || folder.st_uid == me || earlier.st_uid == me) {
    if (link(target.c_str(), kept.c_str()) == 0) return true;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK && errno != ENOSYS) return false;
  }
  if (S_ISLNK(earlier.st_mode)) {
    std::vector<char> to(4096);
    ssize_t n;
    while ((n = readlink(target.c_str(), to.data(), to.size())) == ssize_t(to.size()))
      to.resize(to.size() * 2);
    return n >= 0 && symlink(std::string(to.data(), size_t(n)).c_str(), kept.c_str()) == 0;
  }
  if (S_ISFIFO(earlier.st_mode)) return mkfifo(kept.c_str(), earlier.st_mode & 07777) == 0;
  if (!S_ISREG(earlier.st_mode)) {
    errno = EPERM;
    return false;
  }
  int in = open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  struct stat st;
  if (in < 0) return false;
  if (fstat(in, &st) != 0 || !SameFile(st, earlier)) {
    close(in);
    errno = EAGAIN;
    return false;
  }
  int out = open(kept.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  bool good = out >= 0;
  char buffer[65536];
  ssize_t n = 0;
  while (good && (n = read(in, buffer, sizeof buffer)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    good = n > 0 && WriteAll(out, buffer, size_t(n));
  }
  int error = errno;
  close(in);
  if (out < 0) return false;
  good = good && fchmod(out, earlier.st_mode & 07777) == 0 && fsync(out) == 0;
  if (!good) error = errno;
  if (close(out) != 0 && good) {
    good = false;
    error = errno;
  }
  if (!good) unlink(kept.c_str());
  errno = error;
  return good;
}

}  // namespace

bool SettleInterruptedSaves(const std::string& file) {
  return SettleFolder(FolderOf(MapPath(file)));
}

FileReplacement::~FileReplacement() { Release(); }

std::string FileReplacement::Add(const std::string& target) {
  Entry entry;
  entry.target = MapPath(target);
  const std::string folder = FolderOf(entry.target);
  bool firstInFolder = true;
  for (const Entry& e : entries_) firstInFolder = firstInFolder && FolderOf(e.target) != folder;
  if (firstInFolder) SettleFolder(folder);
  entry.writer = MakeTemporary(folder, entry.temporary, entry.held);
  if (entry.writer < 0) {
    Failed(errno);
    return "";
  }
  entries_.push_back(entry);
  return entry.temporary;
}

bool FileReplacement::Write(const std::string& target, const std::vector<uint8_t>& bytes) {
  if (Add(target).empty()) return false;
  if (WriteAll(entries_.back().writer, bytes.data(), bytes.size())) return true;
  Fail();
  return false;
}

void FileReplacement::Fail() { Failed(errno ? errno : EIO); }

void FileReplacement::Failed(int error) {
  if (!error_) error_ = error;
}

// The record of a save of several files in one folder, on the disk under its own name before
// anything is kept or renamed: it only ever appears whole, and locked by this game.
bool FileReplacement::WriteRecord(const std::string& folder) {
  std::vector<RecordEntry> entries;
  for (const Entry& e : entries_)
    entries.push_back({NameOf(e.target), NameOf(e.temporary),
                       e.earlierInode ? NameOf(e.temporary) + kKeptSuffix : "", e.inode,
                       e.earlierInode});
  const std::string text = RecordText(entries);
  std::string temporary;
  int held;
  int fd = MakeTemporary(folder, temporary, held);
  if (fd < 0) return false;
  const std::string path = entries_[0].temporary + kRecordSuffix;
  bool written = WriteAll(fd, text.data(), text.size()) && fsync(fd) == 0;
  if (close(fd) == 0 && written &&
      (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0 ||
       ((errno == EINVAL || errno == ENOSYS) && rename(temporary.c_str(), path.c_str()) == 0))) {
    record_ = path;
    recordDescriptor_ = held;
    return true;
  }
  int error = errno;
  unlink(temporary.c_str());
  close(held);
  errno = error;
  return false;
}

// Where a later rename can fail after an earlier one took effect, each earlier file is kept
// to be put back, under a name made from its entry's temporary, which no other file shares.
// Where the files share a folder, the record of the save comes first.
void FileReplacement::KeepEarlierFiles() {
  const std::string folder = FolderOf(entries_[0].target);
  bool oneFolder = true;
  std::vector<struct stat> earlier(entries_.size());
  for (size_t i = 0; i < entries_.size(); ++i) {
    Entry& e = entries_[i];
    oneFolder = oneFolder && FolderOf(e.target) == folder;
    if (lstat(e.target.c_str(), &earlier[i]) != 0) {
      if (errno != ENOENT) return Fail();
      continue;
    }
    // A folder can neither be kept nor replaced by a file: nothing is done.
    if (S_ISDIR(earlier[i].st_mode)) return Failed(EISDIR);
    e.earlierInode = earlier[i].st_ino;
  }
  if (oneFolder && !WriteRecord(folder)) return Fail();
  for (size_t i = 0; i < entries_.size(); ++i) {
    Entry& e = entries_[i];
    if (!e.earlierInode) continue;
    if (!KeepEarlier(e.target, earlier[i], e.temporary + kKeptSuffix)) return Fail();
    e.kept = e.temporary + kKeptSuffix;
  }
  // The record and the kept files on the disk before any name changes.
  for (size_t i = 0; i < entries_.size(); ++i)
    if (i == 0 || !oneFolder) FlushFolder(FolderOf(entries_[i].target));
}

// A failure puts back, in one step each, what the renames before it replaced. Where even
// that fails, what the record names stays for the next save in the folder to settle.
void FileReplacement::PutBack(size_t placed) {
  for (size_t i = placed; i-- > 0;) {
    Entry& e = entries_[i];
    bool back = e.kept.empty() ? unlink(e.target.c_str()) == 0
                               : rename(e.kept.c_str(), e.target.c_str()) == 0;
    if (back)
      e.kept.clear();
    else
      stranded_ = true;
  }
}

void FileReplacement::Release() {
  for (Entry& e : entries_) {
    if (!stranded_) {
      if (!e.temporary.empty()) unlink(e.temporary.c_str());
      if (!e.kept.empty()) unlink(e.kept.c_str());
    }
    if (e.writer >= 0) close(e.writer);
    if (e.held >= 0) close(e.held);
  }
  entries_.clear();
  if (!stranded_ && !record_.empty()) unlink(record_.c_str());
  if (recordDescriptor_ >= 0) close(recordDescriptor_);
  record_.clear();
  recordDescriptor_ = -1;
}

bool FileReplacement::Commit() {
  // Every new file on the disk with the permissions of the file it replaces, before any name
  // changes: flushed through the descriptor held since Add, which no mode closes to its
  // owner, so that a write-only or unreadable earlier file of one's own is replaced too.
  const mode_t newFile = NewFileMode();
  for (Entry& e : entries_) {
    if (close(e.writer) != 0) Fail();
    e.writer = -1;
    if (error_) break;
    struct stat earlier, mine;
    const bool regular = stat(e.target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode);
    // A file system without permissions keeps its own, which fails nothing.
    fchmod(e.held, regular ? earlier.st_mode & 07777 : newFile);
    if (fsync(e.held) != 0 || fstat(e.held, &mine) != 0)
      Fail();
    else
      e.inode = mine.st_ino;
  }
  if (!error_ && entries_.size() > 1) KeepEarlierFiles();
  size_t placed = 0;
  while (!error_ && placed < entries_.size()) {
    Entry& e = entries_[placed];
    if (rename(e.temporary.c_str(), e.target.c_str()) != 0) {
      Fail();
      break;
    }
    e.temporary.clear();
    ++placed;
  }
  if (error_) PutBack(placed);
  if (placed) {
    std::vector<std::string> folders;
    for (const Entry& e : entries_) {
      std::string folder = FolderOf(e.target);
      if (std::find(folders.begin(), folders.end(), folder) == folders.end())
        folders.push_back(folder);
    }
    for (const std::string& folder : folders) FlushFolder(folder);
  }
  Release();
  return !error_;
}

}  // namespace platform
