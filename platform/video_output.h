// Where finished frames go: the window on the player's machine, memory in tests.
#pragma once

#include <cstdint>

namespace platform {

class Surface;

class VideoOutput {
 public:
  virtual ~VideoOutput() = default;
  // Chooses the logical display size, depth and full screen; false when refused.
  virtual bool SetMode(int width, int height, int bitsPerPixel, bool fullScreen) = 0;
  // Shows a finished frame of the logical size.
  virtual void Present(const Surface& frame) = 0;
};

}  // namespace platform
