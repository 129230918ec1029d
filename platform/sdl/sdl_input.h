// Keyboard and mouse events from SDL. The mouse is in relative mode while a mouse device
// is acquired, so it reports movement however far it travels and the pointer is hidden.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/input_source.h"

namespace platform {

class SdlInput : public InputSource {
 public:
  // Takes one input event from the event pump.
  void OnEvent(const SDL_Event& event);

 protected:
  void MouseAcquisitionChanged(bool anyAcquired) override;
};

// The engine's key code for an SDL scancode; KeyNone for keys the engine does not know.
uint8_t KeyCodeForScancode(SDL_Scancode scancode);

}  // namespace platform
