// The game's bitmaps and sounds for a test that runs the real game in a folder of its own.
#pragma once

#include <unistd.h>

#include <string>

#include "platform/files.h"
#include "tools/standins/standins.h"

namespace testing_support {

// Gives folder the game's files: links to the folders the build wrote, or, where the
// build wrote none, stand-ins made on the spot. A folder that has them already is left.
inline void ProvideGameFiles(const std::string& folder) {
  if (platform::FolderExists(folder + "/BITMAPS") && platform::FolderExists(folder + "/Sounds")) return;
  const std::string built = QUOR_STANDIN_FOLDER;
  if (platform::FileExists(built + "/" + standins::kStandinList)) {
    bool linked = true;
    for (const std::string sub : {"BITMAPS", "Sounds"})
      linked = linked && symlink((built + "/" + sub).c_str(), (folder + "/" + sub).c_str()) == 0;
    if (linked) return;
    for (const std::string sub : {"BITMAPS", "Sounds"}) unlink((folder + "/" + sub).c_str());
  }
  standins::WriteStandins(folder);
}

}  // namespace testing_support
