// A finished frame as the player's window takes it: 32-bit pixels whose bytes run red,
// green, blue (the order GL stores, so the texture upload is a plain copy), with the gamma
// ramp applied. The player's host uploads these pixels; benchmarks convert the same way,
// so a measured frame pays what a player's frame pays.
#pragma once

#include <cstdint>

#include "platform/video_output.h"

struct SDL_Surface;

namespace platform {

class Surface;

class WindowFrame {
 public:
  WindowFrame() = default;
  ~WindowFrame();
  WindowFrame(const WindowFrame&) = delete;
  WindowFrame& operator=(const WindowFrame&) = delete;

  // Converts frame into the window's pixels; false when no buffer of its size can be made.
  bool Convert(const Surface& frame, const GammaTable& ramp);

  // The converted pixels, rows Pitch() bytes apart; null before the first conversion.
  const void* Pixels() const;
  int Pitch() const;
  int Width() const;
  int Height() const;

  // The SDL pixel format of the pixels, for the texture that takes them.
  static uint32_t PixelFormat();

 private:
  SDL_Surface* pixels_ = nullptr;
};

}  // namespace platform
