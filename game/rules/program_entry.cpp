// The game's program entry: the player's host, then the engine's run function.
#include "engine/app/run_application.h"
#include "platform/sdl/sdl_host.h"

int main() {
  platform::SdlHost host;
  platform::InstallHost(&host);
  int result = quor::RunApplication();
  platform::InstallHost(nullptr);
  return result;
}
