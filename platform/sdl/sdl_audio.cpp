#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

namespace platform {

bool SdlAudio::DeviceAvailable() {
  if (SDL_WasInit(SDL_INIT_AUDIO)) return true;
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace platform
