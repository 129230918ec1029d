#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// A lock passed to the children a game started: where a game was killed while a box it had
// forked was open, the box kept both locks, and the next start was refused until it closed.
TEST(InstanceLock, AKilledGameLeavesNoLockWithItsChildren) {
  testing_support::TempDir dir;
  RuntimeFolder runtime(dir.Path());
  int told[2];
  ASSERT_EQ(pipe(told), 0);
  const pid_t game = fork();
  if (game == 0) {
    InstanceLock lock;
    if (lock.Acquire("QUOR") != InstanceLock::Result::Held ||
        lock.AcquireFolder(dir.Path()) != InstanceLock::Result::Held)
      _exit(1);
    pid_t box = fork();
    if (box == 0) {
      pause();
      _exit(0);
    }
    if (write(told[1], &box, sizeof box) != sizeof box) _exit(1);
    pause();
    _exit(0);
  }
  pid_t box = 0;
  ASSERT_EQ(read(told[0], &box, sizeof box), ssize_t(sizeof box));
  kill(game, SIGKILL);
  waitpid(game, nullptr, 0);
  InstanceLock next;
  EXPECT_EQ(next.Acquire("QUOR"), InstanceLock::Result::Held);
  EXPECT_EQ(next.AcquireFolder(dir.Path()), InstanceLock::Result::Held);
  kill(box, SIGKILL);
  close(told[0]);
  close(told[1]);
}

}  // namespace
}  // namespace platform
