#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/faults.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

// The open held the file to the limit, but the whole read took the size again and read that
// much: a file that grew in between was read whole, past its limit.
TEST(Files, AFileThatGrowsAsItIsOpenedIsHeldToItsLimit) {
  if (!std::getenv("QUOR_FAULTS")) {
    // This test again, in a child where the file grows once it is open.
    testing_support::FaultedRun child(
        {"/proc/self/exe", "--gtest_filter=Files.AFileThatGrowsAsItIsOpenedIsHeldToItsLimit"},
        "grow:growing.sav:300000");
    EXPECT_EQ(child.Wait(), 0) << child.Output();
    return;
  }
  testing_support::TempDir dir;
  testing_support::WriteBytes(dir.File("growing.sav"), std::vector<uint8_t>(1000, 7));
  std::vector<uint8_t> bytes;
  errno = 0;
  EXPECT_FALSE(platform::ReadWholeFile(dir.File("growing.sav"), bytes, 200000));
  EXPECT_EQ(errno, EFBIG);
  EXPECT_LE(bytes.size(), 200000u);
  struct stat st;
  ASSERT_EQ(stat(dir.File("growing.sav").c_str(), &st), 0);
  EXPECT_EQ(st.st_size, 300000) << "the file did not grow as it was opened";
}

// Only a plain file is opened: a folder, a pipe (whose open would wait for a writer) or a link
// where none is followed is refused, and says why.
TEST(Files, OnlyPlainFilesOpen) {
  testing_support::TempDir dir;
  testing_support::WriteBytes(dir.File("plain.sav"), {1});
  ASSERT_EQ(mkfifo(dir.File("pipe.sav").c_str(), 0600), 0);
  ASSERT_EQ(symlink("plain.sav", dir.File("link.sav").c_str()), 0);
  const std::vector<std::tuple<std::string, int, int>> opens{
      {"plain.sav", O_RDONLY, 0},
      {"link.sav", O_RDONLY, 0},
      {"link.sav", O_RDONLY | O_NOFOLLOW, ELOOP},
      {".", O_RDONLY, EISDIR},
      {"pipe.sav", O_RDONLY, EINVAL},
      {"missing.sav", O_RDONLY, ENOENT}};
  for (const auto& [name, flags, error] : opens) {
    errno = 0;
    const int fd = platform::OpenPlainFile(dir.File(name), flags);
    EXPECT_EQ(fd < 0 ? errno : 0, error) << name;
    if (fd >= 0) close(fd);
  }
}

}  // namespace
