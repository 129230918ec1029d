// A fresh folder for a test's files (in $TMPDIR, else /tmp), made current for the test's
// lifetime.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"

namespace testing_support {

// A new folder of mode 0700 in $TMPDIR (else /tmp), its name begun by prefix.
inline std::string NewTempFolder(const std::string& prefix) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + prefix + "-XXXXXX";
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
