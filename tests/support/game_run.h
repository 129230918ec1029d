// Runs the real game on a headless host, from a new game's variables, in a folder of its
// own that holds the game's bitmaps and sounds.
#pragma once

#include "engine/app/game_hooks.h"
#include "game/rules/game_functions.h"
#include "game/rules/game_variables.h"
#include "tests/support/game_files.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

class GameRun : public HeadlessRun {
 public:
  GameRun() {
    ProvideGameFiles(folder_.Path());
    quor::InstallGameHooks(game::TheGameHooks());
    game::ResetGameVariables();
  }
  ~GameRun() { game::ResetGameVariables(); }

 private:
  TempDir folder_;  // the current directory while the run exists
};

}  // namespace testing_support
