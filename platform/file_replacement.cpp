#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace platform {

namespace {

// Temporaries are named ".quor-PID-XXXXXX" after the process that made them, so that the
// next save in their folder can tell those whose save was killed half way.
constexpr char kTemporaryPrefix[] = ".quor-";

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string TemporaryStem(const std::string& folder) {
  return (folder == "/" ? "/" : folder + "/") + kTemporaryPrefix + std::to_string(getpid()) + "-";
}

// Removes the temporaries of processes that are gone. Names of any other shape, those of
// earlier versions among them (which may hold an earlier save), are left alone.
void ClearAbandonedTemporaries(const std::string& folder) {
  DIR* d = opendir(folder.c_str());
  if (!d) return;
  const size_t prefix = sizeof kTemporaryPrefix - 1;
  while (dirent* e = readdir(d)) {
    const char* name = e->d_name;
    if (std::strncmp(name, kTemporaryPrefix, prefix) != 0) continue;
    char* end = nullptr;
    long pid = std::strtol(name + prefix, &end, 10);
    if (end == name + prefix || *end != '-' || pid <= 0 || pid == getpid()) continue;
    if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) unlinkat(dirfd(d), name, 0);
  }
  closedir(d);
}

bool FlushToDisk(const std::string& path, int flags) {
  int fd = open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  bool good = fsync(fd) == 0;
  return close(fd) == 0 && good;
}

// The regular file at path kept under the new name `kept` for as long as a save may have
// to put it back: a hard link, or a copy flushed to disk where the file system has none.
bool KeepAs(const std::string& path, const std::string& kept) {
  if (link(path.c_str(), kept.c_str()) == 0) return true;
  if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK && errno != ENOSYS) return false;
  int in = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  int out = open(kept.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  bool good = in >= 0 && out >= 0;
  char buffer[65536];
  ssize_t n = 0;
  while (good && (n = read(in, buffer, sizeof buffer)) > 0) good = write(out, buffer, n) == n;
  good = good && n == 0 && fsync(out) == 0;
  if (in >= 0) close(in);
  if (out >= 0 && close(out) != 0) good = false;
  if (!good && out >= 0) unlink(kept.c_str());
  return good;
}

}  // namespace

FileReplacement::~FileReplacement() { RemoveTemporaries(); }

std::string FileReplacement::Add(const std::string& target) {
  std::string mapped = MapPath(target);
  std::string folder = FolderOf(mapped);
  bool firstInFolder = true;
  for (const Entry& entry : entries_)
    firstInFolder = firstInFolder && FolderOf(entry.target) != folder;
  if (firstInFolder) ClearAbandonedTemporaries(folder);
  std::string temporary = TemporaryStem(folder) + "XXXXXX";
  int fd = mkstemp(&temporary[0]);
  if (fd < 0) {
    Failed(errno);
    return "";
  }
  // The permissions a new file of the user's gets, until Commit finds an earlier file's.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  entries_.push_back({temporary, mapped, ""});
  return temporary;
}

bool FileReplacement::Write(const std::string& target, const std::vector<uint8_t>& bytes) {
  std::string temporary = Add(target);
  if (temporary.empty()) return false;
  int fd = open(temporary.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  size_t done = 0;
  while (fd >= 0 && done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += size_t(n);
  }
  bool good = fd >= 0 && done == bytes.size();
  if (!good) Fail();
  if (fd >= 0 && close(fd) != 0 && good) {
    Fail();
    good = false;
  }
  return good;
}

void FileReplacement::Fail() { Failed(errno ? errno : EIO); }

void FileReplacement::Failed(int error) {
  if (!error_) error_ = error;
}

void FileReplacement::RemoveTemporaries() {
  for (Entry& entry : entries_) {
    if (!entry.temporary.empty()) unlink(entry.temporary.c_str());
    if (!entry.kept.empty()) unlink(entry.kept.c_str());
    entry.temporary.clear();
    entry.kept.clear();
  }
}

bool FileReplacement::Commit() {
  // Every new file on the disk, with the permissions of the file it replaces, before any
  // name changes.
  for (const Entry& entry : entries_) {
    if (error_) break;
    struct stat earlier;
    if (stat(entry.target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode))
      chmod(entry.temporary.c_str(), earlier.st_mode & 07777);
    if (!FlushToDisk(entry.temporary, O_RDONLY)) Fail();
  }
  // Where a later rename can fail after an earlier one took effect, each earlier file is
  // kept to be put back.
  for (Entry& entry : entries_) {
    if (error_ || entries_.size() < 2) break;
    struct stat earlier;
    // Named after the entry's own temporary, whose name no other file shares.
    if (lstat(entry.target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode)) {
      if (KeepAs(entry.target, entry.temporary + "-kept"))
        entry.kept = entry.temporary + "-kept";
      else
        Fail();
    }
  }
  size_t placed = 0;
  while (!error_ && placed < entries_.size()) {
    Entry& entry = entries_[placed];
    if (rename(entry.temporary.c_str(), entry.target.c_str()) != 0) {
      Fail();
      break;
    }
    entry.temporary.clear();
    ++placed;
  }
  // A failure puts back, in one step each, what the renames before it replaced.
  for (size_t i = error_ ? placed : 0; i-- > 0;) {
    Entry& entry = entries_[i];
    if (entry.kept.empty()) {
      unlink(entry.target.c_str());
    } else {
      // Where even that fails, the earlier file stays beside its name rather than lost.
      rename(entry.kept.c_str(), entry.target.c_str());
      entry.kept.clear();
    }
  }
  std::vector<std::string> folders;
  for (const Entry& entry : entries_) {
    std::string folder = FolderOf(entry.target);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  if (placed) {
    for (const std::string& folder : folders) FlushToDisk(folder, O_RDONLY | O_DIRECTORY);
  }
  RemoveTemporaries();
  return !error_;
}

}  // namespace platform
