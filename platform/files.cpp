#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
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

std::FILE* OpenFileForReading(const std::string& name) {
  std::string path = MapPath(name);
  // Looked at before it is opened, since opening a device can itself do something.
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  // A pipe put in its place meanwhile must not hold the open until a writer comes.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return nullptr;
  int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes) {
  std::FILE* f = OpenFileForReading(name);
  if (!f) return false;
  // The size the file has now, in one read; a file that grows meanwhile is read to its end.
  struct stat st;
  size_t size = fstat(fileno(f), &st) == 0 && st.st_size > 0 ? size_t(st.st_size) : 0;
  bytes.resize(size);
  bytes.resize(size ? std::fread(bytes.data(), 1, size, f) : 0);
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  bool ok = !std::ferror(f);
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

bool CopyFile(const std::string& source, const std::string& target) {
  std::FILE* in = OpenFileForReading(source);
  if (!in) return false;
  std::FILE* out = std::fopen(MapPath(target).c_str(), "wb");
  bool good = out != nullptr;
  char buffer[65536];
  size_t n;
  while (good && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
    good = std::fwrite(buffer, 1, n, out) == n;
  good = good && !std::ferror(in);
  std::fclose(in);
  if (out && std::fclose(out) != 0) good = false;
  return good;
}

bool DeleteFile(const std::string& name) { return std::remove(MapPath(name).c_str()) == 0; }

bool RenameFile(const std::string& source, const std::string& target) {
  return std::rename(MapPath(source).c_str(), MapPath(target).c_str()) == 0;
}

}  // namespace platform
