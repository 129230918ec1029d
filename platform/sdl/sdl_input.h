// Keyboard and mouse events from SDL.
#pragma once

#include <SDL.h>

#include "platform/input_source.h"

namespace platform {

class SdlInput : public InputSource {
 public:
  // Takes one input event from the event pump.
  void OnEvent(const SDL_Event& event);
};

}  // namespace platform
