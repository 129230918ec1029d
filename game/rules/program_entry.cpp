// The game's program entry: the player's host and the game's hooks, then the engine.
#include <cstdio>

#include "engine/app/game_hooks.h"
#include "engine/app/run_application.h"
#include "game/rules/failed_start.h"
#include "game/rules/game_functions.h"
#include "platform/files.h"
#include "platform/program_folder.h"
#include "platform/sdl/sdl_host.h"

int main() {
  platform::SdlHost host;
  platform::InstallHost(&host);
  quor::InstallGameHooks(game::TheGameHooks());
  int result = quor::RunApplication();
  platform::InstallHost(nullptr);
  if (result == quor::kFirstSceneFailed)
    std::fputs(game::FailedStartAdvice("quor", platform::CurrentDirectory(),
                                       platform::ProgramFolder() + "/game").c_str(),
               stderr);
  return result;
}
