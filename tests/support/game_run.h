// Runs the real game on a headless host, from a new game's variables.
#pragma once

#include "engine/app/game_hooks.h"
#include "game/rules/game_functions.h"
#include "game/rules/game_variables.h"
#include "tests/support/headless_run.h"

namespace testing_support {

class GameRun : public HeadlessRun {
 public:
  GameRun() {
    quor::InstallGameHooks(game::TheGameHooks());
    game::ResetGameVariables();
  }
  ~GameRun() { game::ResetGameVariables(); }
};

}  // namespace testing_support
