// The game's program entry: the player's host and the game's hooks, then the engine.
#include "engine/app/game_hooks.h"
#include "engine/app/run_application.h"
#include "game/rules/game_functions.h"
#include "platform/sdl/sdl_host.h"

int main() {
  platform::SdlHost host;
  platform::InstallHost(&host);
  quor::InstallGameHooks(game::TheGameHooks());
  int result = quor::RunApplication();
  platform::InstallHost(nullptr);
  return result;
}
