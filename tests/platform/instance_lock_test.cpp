#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/support/temp_dir.h"

namespace platform {
namespace {

// Points the lock at a folder of the test's own for the test's lifetime.
class RuntimeFolder {
 public:
  explicit RuntimeFolder(const std::string& path) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    had_ = old != nullptr;
    if (old) old_ = old;
    setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
  }
  ~RuntimeFolder() {
    if (had_) setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
  }

 private:
  bool had_ = false;
  std::string old_;
};

TEST(InstanceLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
  testing_support::TempDir dir;
  RuntimeFolder runtime(dir.Path());
  InstanceLock first, second;
  EXPECT_EQ(first.Acquire("QUOR"), InstanceLock::Result::Held);
  EXPECT_EQ(second.Acquire("QUOR"), InstanceLock::Result::HeldElsewhere);
  EXPECT_TRUE(second.Problem().empty());
  EXPECT_EQ(second.Acquire("OTHER"), InstanceLock::Result::Held);
  first.Release();
  EXPECT_EQ(second.Acquire("QUOR"), InstanceLock::Result::Held);
}

TEST(InstanceLock, AFolderWithoutRoomForTheLockIsNotAnotherCopy) {
  testing_support::TempDir dir;
  RuntimeFolder runtime(dir.File("missing"));
  InstanceLock lock;
  EXPECT_EQ(lock.Acquire("QUOR"), InstanceLock::Result::Unavailable);
  EXPECT_FALSE(lock.Held());
  EXPECT_NE(lock.Problem().find(dir.File("missing")), std::string::npos);
  EXPECT_NE(lock.Problem().find("No such file"), std::string::npos);
}

}  // namespace
}  // namespace platform
