// A fresh folder for a test's files, made current for the test's lifetime.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"

namespace testing_support {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/quor-test-XXXXXX";
    path_ = mkdtemp(pattern);
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

 private:
  std::string path_;
  std::string previous_;
};

}  // namespace testing_support
