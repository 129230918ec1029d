#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace platform {

std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (buffer.size() > (1u << 20)) return ".";
    buffer.resize(buffer.size() * 2);
  }
  std::string dir(buffer.data());
  if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

bool SetCurrentDirectory(const std::string& path) { return chdir(MapPath(path).c_str()) == 0; }

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// The entry of dir whose name equals name ignoring case, or name itself.
std::string FindInFolder(const std::string& dir, const std::string& name) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return name;
  std::string found = name;
  while (dirent* e = readdir(d)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  closedir(d);
  return found;
}

}  // namespace

std::string MapPath(const std::string& name) {
  std::string path = name;
  for (char& c : path)
    if (c == '\\') c = '/';
  // Collapse doubled separators that joining "dir" + "\name" can leave.
  std::string clean;
  for (char c : path) {
    if (c == '/' && !clean.empty() && clean.back() == '/') continue;
    clean += c;
  }
  if (clean.empty() || Exists(clean)) return clean;

  std::string result;
  size_t pos = 0;
  if (clean[0] == '/') {
    result = "/";
    pos = 1;
  }
  while (pos <= clean.size()) {
    size_t next = clean.find('/', pos);
    if (next == std::string::npos) next = clean.size();
    std::string part = clean.substr(pos, next - pos);
    if (!part.empty()) {
      std::string candidate = result + part;
      if (!Exists(candidate)) candidate = result + FindInFolder(result, part);
      result = candidate;
      if (next < clean.size()) result += '/';
    }
    pos = next + 1;
  }
  return result;
}

std::FILE* OpenFileForReading(const std::string& name, uint64_t maxBytes) {
  std::string path = MapPath(name);
  // Looked at before it is opened, since opening a device can itself do something.
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return nullptr;
  if (!S_ISREG(st.st_mode)) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return nullptr;
  }
  // A pipe put in its place meanwhile must not hold the open until a writer comes.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return nullptr;
  int flags = fcntl(fd, F_GETFL);
  int refused = fstat(fd, &st) != 0 || flags < 0  ? EIO
                : !S_ISREG(st.st_mode)            ? EINVAL
                : uint64_t(st.st_size) > maxBytes ? EFBIG
                                                  : 0;
  if (refused || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    errno = refused ? refused : EIO;
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
  std::FILE* f = OpenFileForReading(name, maxBytes);
  if (!f) return false;
  bool ok = false;
  try {
    // The size the file has now, in one read; a file that grows meanwhile is read to its
    // end, as long as it stays within its bounds.
    struct stat st;
    size_t size = fstat(fileno(f), &st) == 0 && st.st_size > 0 ? size_t(st.st_size) : 0;
    bytes.resize(size);
    bytes.resize(size ? std::fread(bytes.data(), 1, size, f) : 0);
    uint8_t buffer[65536];
    size_t n;
    bool within = true;
    while (within && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
      within = bytes.size() + n <= maxBytes;
      if (within) bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ok = within && !std::ferror(f);
    if (!within) errno = EFBIG;
  } catch (const std::bad_alloc&) {
    std::vector<uint8_t>().swap(bytes);
    errno = ENOMEM;
  }
  std::fclose(f);
  return ok;
}

bool FileExists(const std::string& name) {
  std::FILE* f = OpenFileForReading(name);
  if (f) std::fclose(f);
  return f != nullptr;
}

bool FolderExists(const std::string& name) {
  struct stat st;
  return stat(MapPath(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CopyFile(const std::string& source, const std::string& target, uint64_t maxBytes) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(source, bytes, maxBytes)) return false;
  FileReplacement replacement;
  return replacement.Write(target, bytes) && replacement.Commit();
}

bool DeleteFile(const std::string& name) { return std::remove(MapPath(name).c_str()) == 0; }

bool RenameFile(const std::string& source, const std::string& target) {
  return std::rename(MapPath(source).c_str(), MapPath(target).c_str()) == 0;
}

namespace {

bool EndsWithExtension(const std::string& name, const std::string& extension) {
  const size_t n = name.size(), e = extension.size();
  return n > e && name[n - e - 1] == '.' &&
         strncasecmp(name.c_str() + n - e, extension.c_str(), e) == 0;
}

}  // namespace

std::string WithExtension(const std::string& name, const std::string& extension) {
  return EndsWithExtension(name, extension) ? name : name + "." + extension;
}

std::string CompanionFile(const std::string& name, const std::string& extension,
                          const std::string& companion) {
  std::string stem = EndsWithExtension(name, extension)
                         ? name.substr(0, name.size() - extension.size() - 1)
                         : name;
  return stem + "." + companion;
}

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
