// Small steps on files shared by the save path and the folder's lock.
#pragma once

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <string>

namespace platform {

// The folder a path names its file in, and the file's own name.
inline std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}
inline std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

inline std::string InFolder(const std::string& folder, const std::string& name) {
  return (folder == "/" ? "/" : folder + "/") + name;
}

// The user's name, or their number where the system has no name for them.
inline std::string UserName(uid_t user) {
  const passwd* entry = getpwuid(user);
  return entry ? entry->pw_name : "user " + std::to_string(user);
}

inline bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Writes all of data; false (errno saying why) where it could not.
inline bool WriteAll(int fd, const void* data, size_t size) {
  const char* at = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = write(fd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    at += n;
    size -= size_t(n);
  }
  return true;
}

// Reads into data until it holds size bytes or the file ends: how many it holds, or -1 (errno
// saying why) where a read failed.
inline ssize_t ReadFull(int fd, void* data, size_t size) {
  size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, static_cast<char*>(data) + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += size_t(n);
  }
  return ssize_t(got);
}

// Reads on into text until it holds limit bytes or the file ends, never further; false (errno
// saying why) where a read failed.
inline bool ReadUpTo(int fd, std::string& text, size_t limit) {
  const size_t had = text.size();
  text.resize(std::max(had, limit));
  const ssize_t n = ReadFull(fd, &text[had], text.size() - had);
  text.resize(had + size_t(std::max<ssize_t>(n, 0)));
  return n >= 0;
}

}  // namespace platform
