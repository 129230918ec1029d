#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace platform {

std::string CurrentDirectory() {
  char* cwd = getcwd(nullptr, 0);
  std::string dir = cwd ? cwd : ".";
  std::free(cwd);
  if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

bool SetCurrentDirectory(const std::string& path) { return chdir(MapPath(path).c_str()) == 0; }

namespace {

// 0 for a plain file; else why it is none: EISDIR for a folder, ELOOP for a link, EINVAL.
int NotPlain(mode_t mode) {
  return S_ISREG(mode) ? 0 : S_ISDIR(mode) ? EISDIR : S_ISLNK(mode) ? ELOOP : EINVAL;
}

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
  std::string clean = name;
  std::replace(clean.begin(), clean.end(), '\\', '/');
  // Collapse doubled separators that joining "dir" + "\name" can leave.
  const auto doubled = [](char a, char b) { return a == '/' && b == '/'; };
  clean.erase(std::unique(clean.begin(), clean.end(), doubled), clean.end());
  if (clean.empty() || Exists(clean)) return clean;

  std::string result = clean[0] == '/' ? "/" : "";
  for (size_t at = result.size(), next; at <= clean.size(); at = next + 1) {
    next = std::min(clean.find('/', at), clean.size());
    const std::string part = clean.substr(at, next - at);
    if (!part.empty())
      result += (Exists(result + part) ? part : FindInFolder(result, part)) +
                (next < clean.size() ? "/" : "");
  }
  return result;
}

int OpenPlainFile(const std::string& path, int flags, struct stat* opened) {
  struct stat st;
  const int look = flags & O_NOFOLLOW ? lstat(path.c_str(), &st) : stat(path.c_str(), &st);
  int error = look != 0 ? errno : NotPlain(st.st_mode);
  const int fd =
      error ? -1 : open(path.c_str(), (flags & ~O_CREAT) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  // A plain file put at the name since the look is read, as it is whole.
  if (!error) error = fd < 0 || fstat(fd, &st) != 0 ? errno : NotPlain(st.st_mode);
  if (error && fd >= 0) close(fd);
  if (!error && opened) *opened = st;
  errno = error;
  return error ? -1 : fd;
}

std::FILE* OpenFileForReading(const std::string& name, uint64_t maxBytes, struct stat* opened) {
  struct stat st;
  const int fd = OpenPlainFile(MapPath(name), O_RDONLY, &st);
  const int refused = fd < 0 ? errno : uint64_t(st.st_size) > maxBytes ? EFBIG : 0;
  std::FILE* file = refused ? nullptr : fdopen(fd, "rb");
  if (fd >= 0 && !file) close(fd);
  if (file && opened) *opened = st;
  if (!file) errno = refused ? refused : EIO;
  return file;
}

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                   struct stat* opened) {
  struct stat st;
  std::FILE* f = OpenFileForReading(name, maxBytes, &st);
  if (!f) return false;
  if (opened) *opened = st;
  bool ok = false;
  try {
    // The size the file had as it was opened, in one read; one that grows meanwhile is read
    // on as long as it stays within its bounds.
    bytes.resize(size_t(st.st_size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && bytes.size() + n <= maxBytes)
      bytes.insert(bytes.end(), buffer, buffer + n);
    ok = n == 0 && !std::ferror(f);
    if (n > 0) errno = EFBIG;
  } catch (const std::bad_alloc&) {
    std::vector<uint8_t>().swap(bytes);
    errno = ENOMEM;
  }
  std::fclose(f);
  return ok;
}

bool FileExists(const std::string& name) {
  std::FILE* f = OpenFileForReading(name);
  return f && std::fclose(f) == 0;
}

bool FolderExists(const std::string& name) {
  struct stat st;
  return stat(MapPath(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& name) { return std::remove(MapPath(name).c_str()) == 0; }

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

}  // namespace platform
