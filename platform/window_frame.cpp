#include "platform/window_frame.h"

#include <SDL.h>

#include "platform/surface.h"

namespace platform {

WindowFrame::~WindowFrame() {
  if (pixels_) SDL_FreeSurface(pixels_);
}

uint32_t WindowFrame::PixelFormat() { return SDL_PIXELFORMAT_XBGR8888; }

const void* WindowFrame::Pixels() const { return pixels_ ? pixels_->pixels : nullptr; }
int WindowFrame::Pitch() const { return pixels_ ? pixels_->pitch : 0; }
int WindowFrame::Width() const { return pixels_ ? pixels_->w : 0; }
int WindowFrame::Height() const { return pixels_ ? pixels_->h : 0; }

bool WindowFrame::Convert(const Surface& frame, const GammaTable& ramp) {
  if (!pixels_ || pixels_->w != frame.Width() || pixels_->h != frame.Height()) {
    if (pixels_) SDL_FreeSurface(pixels_);
    pixels_ = SDL_CreateRGBSurfaceWithFormat(0, frame.Width(), frame.Height(), 32, PixelFormat());
    if (!pixels_) return false;
  }
  if (!frame.CopyTo(pixels_)) return false;
  if (ramp.IsIdentity()) return true;
  uint8_t red[256], green[256], blue[256];
  for (int i = 0; i < 256; ++i) {
    red[i] = GammaTable::Level(ramp.red[i]);
    green[i] = GammaTable::Level(ramp.green[i]);
    blue[i] = GammaTable::Level(ramp.blue[i]);
  }
  const SDL_PixelFormat& f = *pixels_->format;
  for (int y = 0; y < pixels_->h; ++y) {
    uint32_t* row =
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels_->pixels) + y * pixels_->pitch);
    for (int x = 0; x < pixels_->w; ++x) {
      uint32_t p = row[x];
      row[x] = (uint32_t(red[(p >> f.Rshift) & 0xFF]) << f.Rshift) |
               (uint32_t(green[(p >> f.Gshift) & 0xFF]) << f.Gshift) |
               (uint32_t(blue[(p >> f.Bshift) & 0xFF]) << f.Bshift);
    }
  }
  return true;
}

}  // namespace platform
