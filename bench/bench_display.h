// What the display benchmarks share: a full-screen display of a chosen depth on the tests'
// host, a host that presents as the player's does, and the report of a frame's cost as a
// share of the 16 ms frame budget.
#pragma once

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "platform/headless/headless_host.h"
#include "platform/window_frame.h"

namespace bench {

// The player's present without a window: each frame converted as the player's host
// converts it, then copied into a streaming texture (of SDL's software renderer, which
// needs no display) as the upload into the window's texture. The tests' host keeps a copy
// of each frame for tests to read, work that no player pays.
class WindowTextureVideo : public platform::HeadlessVideo {
 public:
  ~WindowTextureVideo() override {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (target_) SDL_FreeSurface(target_);
  }
  void Present(const platform::Surface& frame) override {
    ++presentedFrames;
    if (!converted_.Convert(frame, GetGammaRamp())) return;
    if (!texture_ && !MakeTexture(frame.Width(), frame.Height())) return;
    SDL_UpdateTexture(texture_, nullptr, converted_.Pixels(), converted_.Pitch());
  }

 private:
  bool MakeTexture(int w, int h) {
    target_ = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, platform::WindowFrame::PixelFormat());
    renderer_ = target_ ? SDL_CreateSoftwareRenderer(target_) : nullptr;
    texture_ = renderer_ ? SDL_CreateTexture(renderer_, platform::WindowFrame::PixelFormat(),
                                             SDL_TEXTUREACCESS_STREAMING, w, h)
                         : nullptr;
    return texture_ != nullptr;
  }

  platform::WindowFrame converted_;
  SDL_Surface* target_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
};

// The tests' host, scriptable as ever, presenting as the player's host does.
class PlayerPresentHost : public platform::HeadlessHost {
 public:
  platform::VideoOutput& Video() override { return window; }
  WindowTextureVideo window;
};

struct FullScreenDisplay {
  explicit FullScreenDisplay(uint32_t bits) {
    platform::InstallHost(&host);
    savedWindowed = quor::Windowed;
    quor::Windowed = 0;
    quor::SetScreenMode(640, 480, bits);
    quor::InitGraphics();
  }
  ~FullScreenDisplay() {
    quor::ReleaseGraphics();
    quor::SetScreenMode(640, 480, 16);
    quor::Windowed = savedWindowed;
    platform::InstallHost(nullptr);
  }
  platform::HeadlessHost host;
  uint8_t savedWindowed = 0;
};

// Seconds per iteration over the 16 ms budget: "budget" = 1 is the whole budget.
inline void ReportBudgetShare(benchmark::State& state) {
  state.counters["budget"] =
      benchmark::Counter(double(state.iterations()) * 0.016,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace bench
