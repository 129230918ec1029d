#include "platform/instance_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/save_names.h"
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
    if (had_)
      setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
  }

 private:
  bool had_ = false;
  std::string old_;
};

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// The guard is the player's alone: made so, and made so once held where an earlier version
// made it open to all.
TEST(InstanceLock, ASecondHolderIsRefusedUntilTheFirstLetsGo) {
  testing_support::TempDir dir;
  RuntimeFolder runtime(dir.Path());
  const std::string old = dir.File("quor-" + std::to_string(getuid()) + "-OTHER.lock");
  close(open(old.c_str(), O_RDWR | O_CREAT, 0666));
  ASSERT_EQ(chmod(old.c_str(), 0666), 0);
  InstanceLock first, second;
  EXPECT_EQ(first.Acquire("QUOR"), InstanceLock::Result::Held);
  EXPECT_EQ(ModeOf(dir.File("quor-" + std::to_string(getuid()) + "-QUOR.lock")), 0600u);
  EXPECT_EQ(second.Acquire("QUOR"), InstanceLock::Result::HeldElsewhere);
  EXPECT_TRUE(second.Problem().empty());
  EXPECT_EQ(second.Acquire("OTHER"), InstanceLock::Result::Held);
  EXPECT_EQ(ModeOf(old), 0600u);
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

// A note past the user numbers named a user all the same, its number wrapped to 32 bits.
TEST(InstanceLock, AHoldersNoteNamesTheUserItsNumberIs) {
  testing_support::TempDir dir;
  InstanceLock first, second;
  ASSERT_EQ(first.AcquireFolder(dir.Path()), InstanceLock::Result::Held);
  const std::string told = "Another game runs in the same game folder \"" + dir.Path() + "\"";
  for (const auto& [note, named] :
       std::vector<std::pair<std::string, std::string>>{{"0", told + ", root's."},
                                                        {"4294967295", told + "."},
                                                        {"4294967296", told + "."},
                                                        {"4294968297", told + "."},
                                                        {"9999999999", told + "."}}) {
    const int fd = open(dir.File(save_names::RunLockName()).c_str(), O_WRONLY | O_TRUNC);
    ASSERT_EQ(write(fd, note.data(), note.size()), ssize_t(note.size()));
    close(fd);
    EXPECT_EQ(second.AcquireFolder(dir.Path()), InstanceLock::Result::HeldElsewhere);
    EXPECT_EQ(second.FolderHolder(), named) << note;
  }
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
    // The box says it is open once it runs.
    if (fork() == 0) {
      const pid_t box = getpid();
      if (write(told[1], &box, sizeof box) != sizeof box) _exit(1);
      pause();
      _exit(0);
    }
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

// Where the guard lives in a shared folder (/tmp, without XDG_RUNTIME_DIR), another user could
// make its file and hold a lock on it: the player's game was refused as a second copy of
// itself for as long as they liked.
TEST(InstanceLock, AGuardAnotherUserCouldHoldIsNone) {
  testing_support::TempDir dir;
  ASSERT_EQ(chmod(dir.Path().c_str(), 01777), 0);
  RuntimeFolder runtime(dir.Path());
  const std::string guard = dir.File("quor-" + std::to_string(getuid()) + "-QUOR.lock");
  const int fd = open(guard.c_str(), O_RDWR | O_CREAT, 0666);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(fchmod(fd, 0666), 0);
  // Another user's where the test may make it so, else one that any user may write.
  if (geteuid() == 0) {
    ASSERT_EQ(fchown(fd, 65533, 65533), 0);
  }
  int held[2];
  ASSERT_EQ(pipe(held), 0);
  const pid_t other = fork();
  if (other == 0) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    if (fcntl(fd, F_SETLK, &lock) != 0 || write(held[1], "", 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  char told;
  ASSERT_EQ(read(held[0], &told, 1), 1);
  InstanceLock lock;
  EXPECT_EQ(lock.Acquire("QUOR"), InstanceLock::Result::Unavailable);
  EXPECT_NE(lock.Problem().find(guard), std::string::npos);
  kill(other, SIGKILL);
  waitpid(other, nullptr, 0);
  close(fd);
  close(held[0]);
  close(held[1]);

  // A hard link put at its name to the run lock file of the player's game folder, which an
  // earlier version left open to all: the player was refused once as a second copy, and that
  // file was made theirs alone.
  ASSERT_EQ(unlink(guard.c_str()), 0);
  const std::string run = dir.File(save_names::RunLockName());
  close(open(run.c_str(), O_RDWR | O_CREAT, 0666));
  ASSERT_EQ(chmod(run.c_str(), 0666), 0);
  ASSERT_EQ(link(run.c_str(), guard.c_str()), 0);
  InstanceLock linked;
  EXPECT_EQ(linked.Acquire("QUOR"), InstanceLock::Result::Unavailable);
  EXPECT_EQ(linked.AcquireFolder(dir.Path()), InstanceLock::Result::Held);
  EXPECT_EQ(ModeOf(run), 0666u);
}

}  // namespace
}  // namespace platform
