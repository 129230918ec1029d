#include "platform/files.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
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

bool FileExists(const std::string& name) { return Exists(MapPath(name)); }

bool CopyFile(const std::string& source, const std::string& target) {
  std::ifstream in(MapPath(source), std::ios::binary);
  if (!in) return false;
  std::ofstream out(MapPath(target), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << in.rdbuf();
  out.flush();
  return static_cast<bool>(out);
}

bool DeleteFile(const std::string& name) { return std::remove(MapPath(name).c_str()) == 0; }

bool RenameFile(const std::string& source, const std::string& target) {
  return std::rename(MapPath(source).c_str(), MapPath(target).c_str()) == 0;
}

}  // namespace platform
