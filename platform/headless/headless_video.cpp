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
  lastFrame.Keep(frame, gamma_);
  if (keepEveryFrame) frames.push_back(lastFrame.Colors());
}

void PresentedFrame::Keep(const Surface& frame, const GammaTable& ramp) {
  if (!pixels_ || pixels_->Width() != frame.Width() || pixels_->Height() != frame.Height() ||
      pixels_->Format() != frame.Format())
    pixels_ = Surface::Create(frame.Width(), frame.Height(), frame.Format());
  width = frame.Width();
  height = frame.Height();
  pixels_->CopyPixels(frame);
  rampIsIdentity_ = ramp.IsIdentity();
  if (!rampIsIdentity_) ramp_ = ramp;
  converted_ = false;
}

const Image& PresentedFrame::Colors() const {
  if (converted_ || !pixels_) return colors_;
  // Our own widening of the channels, so a frame reads as ReadImage and PixelToColor do.
  colors_ = pixels_->ReadImage();
  if (!rampIsIdentity_) {
    for (uint32_t& c : colors_.colors)
      c = ColorRef(GammaTable::Level(ramp_.red[RedOf(c)]),
                   GammaTable::Level(ramp_.green[GreenOf(c)]),
                   GammaTable::Level(ramp_.blue[BlueOf(c)]));
  }
  converted_ = true;
  return colors_;
}

bool HeadlessVideo::SaveLastFrame(const std::string& path) const {
  if (lastFrame.width < 1) return false;
  return WritePng(path, lastFrame.Colors());
}

}  // namespace platform
