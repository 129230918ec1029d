#include "platform/dialog_program.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace {

// Whether the process has ended: gone, or a zombie no one has reaped yet (a process whose
// parent ended is reaped by whoever adopts it, which a container may never do).
bool Ended(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const size_t name = line.rfind(')');
  return name == std::string::npos || line.compare(name + 2, 1, "Z") == 0;
}

// Polls until the process has ended; the bound only keeps a failing test from hanging.
bool EndsSoon(pid_t pid) {
  for (int i = 0; i < 600 && !Ended(pid); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return Ended(pid);
}

std::string RunToTheEnd(DialogProgram& program) {
  while (!program.Wait(50)) {
  }
  return program.Output();
}

TEST(DialogProgram, TellsWhatItPrintedAndHowItEnded) {
  DialogProgram program;
  ASSERT_TRUE(program.Start({"sh", "-c", "echo chosen.sav; echo not-this >&2; exit 3"}));
  EXPECT_EQ(RunToTheEnd(program), "chosen.sav\n");
  EXPECT_EQ(program.Status(), 3);
  DialogProgram missing;
  EXPECT_FALSE(missing.Start({"no-such-dialog-program-here"}));
  EXPECT_EQ(missing.Status(), -1);
}

// A box shown by a copy of the game kept the game's files open, its locks and its window's
// connection with them, after the game was gone: the next start was refused.
TEST(DialogProgram, HoldsNoneOfTheFilesOfTheProgramThatStartedIt) {
  const int kept = open("/dev/null", O_RDONLY);  // open across an exec, as a lock file may be
  ASSERT_GE(kept, 3);
  DialogProgram program;
  const std::string fd = "/proc/self/fd/" + std::to_string(kept);
  ASSERT_TRUE(program.Start({"sh", "-c", "if [ -e " + fd + " ]; then echo held; else echo none; fi"}));
  EXPECT_EQ(RunToTheEnd(program), "none\n");
  close(kept);
}

// A game killed with its box open left the box on the screen.
TEST(DialogProgram, EndsWhenTheProgramThatStartedItIsKilled) {
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t game = fork();
  ASSERT_GE(game, 0);
  if (game == 0) {
    DialogProgram box;
    const pid_t shown = box.Start({"sleep", "60"}) ? box.Process() : 0;
    if (write(report[1], &shown, sizeof shown) != sizeof shown) _exit(1);
    pause();
    _exit(0);
  }
  close(report[1]);
  pid_t box = 0;
  ASSERT_EQ(read(report[0], &box, sizeof box), ssize_t(sizeof box));
  close(report[0]);
  ASSERT_GT(box, 0);
  EXPECT_FALSE(Ended(box));
  kill(game, SIGKILL);
  waitpid(game, nullptr, 0);
  EXPECT_TRUE(EndsSoon(box));
}

// A dialog that the game ends (its window closed, a stop signal) takes what it started along.
TEST(DialogProgram, EndTakesWhatTheProgramStarted) {
  DialogProgram program;
  ASSERT_TRUE(program.Start({"sh", "-c", "sleep 60 & echo $!; wait"}));
  while (program.Output().find('\n') == std::string::npos) ASSERT_FALSE(program.Wait(50));
  const pid_t started = std::stoi(program.Output());
  program.End();
  EXPECT_TRUE(program.Wait(0));
  EXPECT_EQ(program.Status(), -1);
  EXPECT_TRUE(EndsSoon(started));
}

}  // namespace
}  // namespace platform
