#include "platform/headless/headless_video.h"

#include <SDL.h>

#include "platform/png_writer.h"

namespace platform {

bool HeadlessVideo::SetMode(int w, int h, int bpp, bool full) {
  if (refuseMode) return false;
  if (full)
    for (const Mode& m : refusedModes)
      if (m.width == w && m.height == h && m.bitsPerPixel == bpp) return false;
  width = w;
  height = h;
  bitsPerPixel = bpp;
  fullScreen = full;
  modesSet.push_back({w, h, bpp});
  return true;
}

void HeadlessVideo::Present(const Surface& frame) {
  ++presentedFrames;
  lastFrame.width = frame.Width();
  lastFrame.height = frame.Height();
  lastFrame.colors.assign(size_t(frame.Width()) * frame.Height(), 0);
  // Colours 0x00BBGGRR are SDL's XBGR8888 in memory.
  SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(lastFrame.colors.data(), frame.Width(),
                                                         frame.Height(), 32, frame.Width() * 4,
                                                         SDL_PIXELFORMAT_XBGR8888);
  if (view) {
    frame.CopyTo(view);
    SDL_FreeSurface(view);
  }
  if (!gamma_.IsIdentity()) {
    for (uint32_t& c : lastFrame.colors)
      c = ColorRef(GammaTable::Level(gamma_.red[RedOf(c)]), GammaTable::Level(gamma_.green[GreenOf(c)]),
                   GammaTable::Level(gamma_.blue[BlueOf(c)]));
  } else {
    for (uint32_t& c : lastFrame.colors) c &= 0x00FFFFFF;
  }
  if (keepEveryFrame) frames.push_back(lastFrame);
}

bool HeadlessVideo::SaveLastFrame(const std::string& path) const {
  if (lastFrame.width < 1) return false;
  return WritePng(path, lastFrame);
}

}  // namespace platform
