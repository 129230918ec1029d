// The window's picture: the logical frame scaled to the window by whole multiples where
// it fits and shrunk to fit otherwise, centred with black borders; "full screen" is
// desktop full screen at the same logical size; the gamma ramp is applied to what is shown.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/video_output.h"
#include "platform/window_frame.h"

namespace platform {

class SdlVideo : public VideoOutput {
 public:
  SdlVideo() : gamma_(GammaTable::Identity()) {}
  ~SdlVideo() override;

  bool Open() override;
  bool SetMode(int width, int height, int bitsPerPixel, bool fullScreen) override;
  int DesktopBitsPerPixel() const override;
  void Present(const Surface& frame) override;
  void SetGammaRamp(const GammaTable& ramp) override { gamma_ = ramp; }
  GammaTable GetGammaRamp() const override { return gamma_; }

  // Shows the last presented frame again (after the window was resized or exposed).
  void Redraw();
  // Frees what belongs to the window; called before the window is destroyed.
  void ReleaseWindow();

  SDL_Window* window = nullptr;

 private:
  bool EnsureRenderer(int width, int height);

  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  WindowFrame converted_;  // the frame in the texture's format
  int textureWidth_ = 0, textureHeight_ = 0;
  GammaTable gamma_;
  bool haveFrame_ = false;
};

}  // namespace platform
