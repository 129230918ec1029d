#include "platform/sdl/sdl_input.h"

namespace platform {

void SdlInput::OnEvent(const SDL_Event&) {}

}  // namespace platform
