#include "platform/headless/headless_video.h"

namespace platform {

bool HeadlessVideo::SetMode(int w, int h, int bpp, bool full) {
  if (refuseMode) return false;
  width = w;
  height = h;
  bitsPerPixel = bpp;
  fullScreen = full;
  return true;
}

void HeadlessVideo::Present(const Surface&) { ++presentedFrames; }

}  // namespace platform
