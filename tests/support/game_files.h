// The game's bitmaps and sounds for a test that runs the real game in a folder of its own.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "tests/support/temp_dir.h"
#include "tools/standins/standins.h"

namespace testing_support {

// Gives folder the game's files: links to the folders in built (by default those the build
// wrote), or, where there are none, stand-ins made on the spot. A folder that has them
// already is left.
inline void ProvideGameFiles(const std::string& folder,
                             const std::string& built = QUOR_STANDIN_FOLDER) {
  if (platform::FolderExists(folder + "/BITMAPS") && platform::FolderExists(folder + "/Sounds")) return;
  if (platform::FileExists(built + "/" + standins::kStandinList)) {
    bool linked = true;
    for (const std::string sub : {"BITMAPS", "Sounds"})
      linked = linked && symlink((built + "/" + sub).c_str(), (folder + "/" + sub).c_str()) == 0;
    if (linked) return;
    for (const std::string sub : {"BITMAPS", "Sounds"}) unlink((folder + "/" + sub).c_str());
  }
  standins::WriteStandins(folder);
}

// A copy of a file or folder of the build that every user may reach, for a program run as
// another user: a build in a folder only its owner may enter (a home folder of mode 0700) is
// out of that user's reach. The copies are made once a process, in a folder of mode 0755
// that goes as the process ends.
inline std::string ReachableCopy(const std::string& path) {
  static const struct Copies {
    std::string folder = NewTempFolder("quor-build");
    Copies() { chmod(folder.c_str(), 0755); }
    ~Copies() {
      std::error_code error;
      std::filesystem::remove_all(folder, error);
    }
  } copies;
  const std::string copy = copies.folder + path.substr(path.rfind('/'));
  std::error_code error;
  if (!std::filesystem::exists(copy, error))
    std::filesystem::copy(path, copy, std::filesystem::copy_options::recursive, error);
  return copy;
}

}  // namespace testing_support
