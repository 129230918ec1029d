// The window's picture.
#pragma once

#include <SDL.h>

#include "platform/video_output.h"

namespace platform {

class SdlVideo : public VideoOutput {
 public:
  bool SetMode(int width, int height, int bitsPerPixel, bool fullScreen) override;
  void Present(const Surface& frame) override;

  SDL_Window* window = nullptr;
};

}  // namespace platform
