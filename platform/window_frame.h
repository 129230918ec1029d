// A finished frame as the player's window takes it: 32-bit pixels whose bytes run red,
// green, blue (the order GL stores, so the texture upload is a plain copy), with the gamma
// ramp applied. The player's host uploads these pixels; benchmarks convert the same way,
// so a measured frame pays what a player's frame pays.
#pragma once

#include <cstdint>

#include "platform/surface.h"
#include "platform/video_output.h"

struct SDL_Surface;

namespace platform {

class WindowFrame {
 public:
  WindowFrame() = default;
  ~WindowFrame();
  WindowFrame(const WindowFrame&) = delete;
  WindowFrame& operator=(const WindowFrame&) = delete;

  // Converts frame into the window's pixels; false when no buffer of its size can be made.
  // Every frame shows as SDL converts its pixels, then through the ramp.
  bool Convert(const Surface& frame, const GammaTable& ramp);

  // The converted pixels, rows Pitch() bytes apart; null before the first conversion.
  const void* Pixels() const;
  int Pitch() const;
  int Width() const;
  int Height() const;

  // The SDL pixel format of the pixels, for the texture that takes them.
  static uint32_t PixelFormat();

 private:
  bool ConvertThroughLevels(const Surface& frame, const GammaTable& ramp);

  SDL_Surface* pixels_ = nullptr;
  // SDL's widening of each value of each channel (red, green, blue) of widenedFormat_.
  platform::PixelFormat widenedFormat_{0, 0, 0, 0};
  uint8_t widened_[3][64] = {};
};

}  // namespace platform
