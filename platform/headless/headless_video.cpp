#include "platform/headless/headless_video.h"

#include "platform/png_writer.h"

namespace platform {

bool HeadlessVideo::SetMode(int w, int h, int bpp, bool full) {
  if (refuseMode) return false;
  if (full)
    for (const Mode& m : refusedModes)
      if (m.width == w && m.height == h && m.bitsPerPixel == bpp) return false;
  // A window shows the desktop's own ramp, as the player's host does.
  if (!full) gamma_ = GammaTable::Identity();
  width = w;
  height = h;
  bitsPerPixel = bpp;
  fullScreen = full;
  modesSet.push_back({w, h, bpp});
  return true;
}

void HeadlessVideo::Present(const Surface& frame) {
  ++presentedFrames;
  // Our own widening of the channels, so a frame reads as ReadImage and PixelToColor do.
  lastFrame = frame.ReadImage();
  if (!gamma_.IsIdentity()) {
    for (uint32_t& c : lastFrame.colors)
      c = ColorRef(GammaTable::Level(gamma_.red[RedOf(c)]), GammaTable::Level(gamma_.green[GreenOf(c)]),
                   GammaTable::Level(gamma_.blue[BlueOf(c)]));
  }
  if (keepEveryFrame) frames.push_back(lastFrame);
}

bool HeadlessVideo::SaveLastFrame(const std::string& path) const {
  if (lastFrame.width < 1) return false;
  return WritePng(path, lastFrame);
}

}  // namespace platform
