// The headless runner as a player without a display uses it: the real game from a script
// file, its lines on the terminal and its exit status.
#include <sys/wait.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "tests/support/game_files.h"
#include "tests/support/temp_dir.h"

namespace {

struct Outcome {
  int status = -1;
  std::string output;  // standard output and error together
};

// Runs quor_headless with args in the current folder, which is given the game's files
// unless it is to be without them.
Outcome RunRunner(const std::string& args, bool withGameFiles = true) {
  if (withGameFiles) testing_support::ProvideGameFiles(platform::CurrentDirectory());
  std::string command = std::string("'") + QUOR_BINARY_DIR + "/quor_headless' " + args + " 2>&1";
  Outcome outcome;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return outcome;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, n);
  int raw = pclose(pipe);
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return outcome;
}

void WriteScript(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// Only the first frame is looked at: it is the same whatever content the scenes hold.
TEST(HeadlessRunner, AScriptWhoseExpectationsHoldEndsWithStatusZero) {
  testing_support::TempDir dir;
  WriteScript(dir.File("start.txt"),
              "# the game starts in its first scene\n"
              "frames 3\n"
              "0 expect scene Start\n"
              "0 expect DirUp 1\n");
  Outcome run = RunRunner("--script start.txt");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output.rfind("switch frame=0 scene=Start KeyCount=", 0), 0u) << run.output;
  EXPECT_NE(run.output.find(" expectations=2 failed=0 "), std::string::npos) << run.output;
}

// The example the README gives plays as it says.
TEST(HeadlessRunner, TheExampleScriptReachesTheFirstLevel) {
  testing_support::TempDir dir;
  Outcome run = RunRunner(std::string("--script '") + QUOR_SOURCE_DIR + "/tools/runner/walk.txt'");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("\nswitch frame=437 scene=Level1 "), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(" expectations=6 failed=0 "), std::string::npos) << run.output;
}

TEST(HeadlessRunner, AnExpectationThatFailsEndsWithStatusOne) {
  testing_support::TempDir dir;
  WriteScript(dir.File("wrong.txt"), "0 expect scene Win\n");
  Outcome run = RunRunner("--script wrong.txt --frames 2");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find("FAIL wrong.txt:1: frame 0: the scene is \"Start\", expected \"Win\"\n"),
            std::string::npos)
      << run.output;
}

TEST(HeadlessRunner, ABadScriptIsNamedAndEndsWithStatusTwo) {
  testing_support::TempDir dir;
  WriteScript(dir.File("bad.txt"), "10 tap Space\n20 tap Spcae\n");
  Outcome run = RunRunner("--script bad.txt");
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_NE(run.output.find("bad.txt:2: unknown key \"Spcae\""), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("switch"), std::string::npos) << "the game must not start";

  EXPECT_EQ(RunRunner("--dir no-such-folder").status, 2);
  EXPECT_EQ(RunRunner("--help").status, 0);
}

// Run where the game's files are not: after its box the game ends as a failed start and
// says where it looked and where ./play puts them.
TEST(HeadlessRunner, AGameStartedWithoutItsFilesSaysWhereItLookedAndFails) {
  testing_support::TempDir dir;
  Outcome run = RunRunner("--frames 5", false);
  EXPECT_EQ(run.status, 3) << run.output;
  EXPECT_NE(run.output.find("text=\"The bitmap file BlackScreen.bmp does not exist .\""), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("\n  " + dir.Path() + "\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("./play builds the game, writes\n  these files into build-play/game"),
            std::string::npos)
      << run.output;
}

}  // namespace
