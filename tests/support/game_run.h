// Runs the real game on a headless host, from a new game's variables, in a folder of its
// own that holds the game's bitmaps and sounds.
#pragma once

#include <cstdint>
#include <string>

#include "engine/app/game_director.h"
#include "engine/app/game_hooks.h"
#include "engine/core/engine_globals.h"
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

  // Sends the game straight to the scene at the start of the frame, as the hidden level
  // select does; a stage, when one is given, is set as the scene is asked for.
  void EnterAt(int frame, const std::string& scene, int32_t stage = 0) {
    host.AtFrame(frame, [scene, stage](platform::HeadlessHost&) {
      if (stage) game::Stage = stage;
      quor::CurrentGameDirector->GoToGameNode(scene.c_str());
    });
  }

 private:
  TempDir folder_;  // the current directory while the run exists
};

}  // namespace testing_support
