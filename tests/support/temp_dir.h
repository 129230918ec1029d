// A fresh folder for a test's files (in $TMPDIR, else /tmp), made current for the test's
// lifetime.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "platform/files.h"

namespace testing_support {

// Whether every user may pass through each folder on the way to folder, and so reach a file
// in it that they may read.
inline bool OthersReach(std::string folder) {
  if (folder[0] != '/') folder = platform::CurrentDirectory() + "/" + folder;
  for (struct stat st;; folder = platform::FolderOf(folder)) {
    if (stat(folder.c_str(), &st) != 0 || !(st.st_mode & S_IXOTH)) return false;
    if (folder == "/") return true;
  }
}

// A new folder of mode 0700, its name begun by prefix, in $TMPDIR (else /tmp); where other
// users may not reach into $TMPDIR (one of this user's alone), in /tmp, so that a test may
// open a folder of its own to a program it runs as another user.
inline std::string NewTempFolder(const std::string& prefix) {
  const char* set = std::getenv("TMPDIR");
  const std::string given = set && *set ? set : "/tmp";
  std::string pattern = (OthersReach(given) ? given : "/tmp") + "/" + prefix + "-XXXXXX";
  return mkdtemp(&pattern[0]);
}

class TempDir {
 public:
  TempDir() {
    path_ = NewTempFolder("quor-test");
    previous_ = platform::CurrentDirectory();
    platform::SetCurrentDirectory(path_);
  }
  ~TempDir() {
    platform::SetCurrentDirectory(previous_);
    std::string command = "rm -rf '" + path_ + "'";
    if (std::system(command.c_str()) != 0) {
    }
  }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // What the folder (or a folder in it) holds, sorted.
  std::vector<std::string> Names(const std::string& folder = "") const {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.empty() ? path_.c_str() : File(folder).c_str())) {
      while (dirent* e = readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
          names.push_back(e->d_name);
      closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string path_;
  std::string previous_;
};

}  // namespace testing_support
