// Runs the real game on a headless host, from a new game's variables, in a folder of its
// own that holds the game's bitmaps and sounds.
#pragma once

#include <unistd.h>

#include <string>

#include "engine/app/game_hooks.h"
#include "game/rules/game_functions.h"
#include "game/rules/game_variables.h"
#include "platform/files.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"
#include "tools/standins/standins.h"

namespace testing_support {

// Gives folder the game's files: links to the folders the build wrote, or, where the
// build wrote none, stand-ins made on the spot.
inline void ProvideGameFiles(const std::string& folder) {
  const std::string built = QUOR_STANDIN_FOLDER;
  if (!platform::FileExists(built + "/" + standins::kStandinList)) {
    standins::WriteStandins(folder);
    return;
  }
  bool linked = true;
  for (const std::string sub : {"BITMAPS", "Sounds"})
    linked = linked && symlink((built + "/" + sub).c_str(), (folder + "/" + sub).c_str()) == 0;
  if (linked) return;
  for (const std::string sub : {"BITMAPS", "Sounds"}) unlink((folder + "/" + sub).c_str());
  standins::WriteStandins(folder);
}

class GameRun : public HeadlessRun {
 public:
  GameRun() {
    ProvideGameFiles(folder_.Path());
    quor::InstallGameHooks(game::TheGameHooks());
    game::ResetGameVariables();
  }
  ~GameRun() { game::ResetGameVariables(); }

  // The folder the game runs in (the current directory while the run exists).
  const std::string& Folder() const { return folder_.Path(); }

 private:
  TempDir folder_;
};

}  // namespace testing_support
