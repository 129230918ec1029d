// Frames kept in memory instead of shown: every presented frame is readable as colours
// (with the gamma ramp applied, as a screen would show it) and can be written as PNG.
// Display modes can be refused and surfaces lost on request.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "platform/video_output.h"

namespace platform {

// A presented frame as a screen would show it. Presenting keeps one copy of the frame's own
// pixels; the colours are worked out when a test first reads them, so frames nobody reads
// cost no more than that copy.
class PresentedFrame {
 public:
  int width = 0, height = 0;  // 0 until a frame is presented

  // The frame's colours 0x00BBGGRR, gamma applied.
  const Image& Colors() const;
  uint32_t At(int x, int y) const { return Colors().At(x, y); }
  operator const Image&() const { return Colors(); }

  // Keeps a copy of the frame and the ramp it is shown through.
  void Keep(const Surface& frame, const GammaTable& ramp);

 private:
  std::unique_ptr<Surface> pixels_;
  GammaTable ramp_ = GammaTable::Identity();
  bool rampIsIdentity_ = true;
  mutable Image colors_;
  mutable bool converted_ = false;
};

class HeadlessVideo : public VideoOutput {
 public:
  HeadlessVideo() : gamma_(GammaTable::Identity()) {}

  bool Open() override { return !failOpen; }
  bool SetMode(int width, int height, int bitsPerPixel, bool fullScreen) override;
  int DesktopBitsPerPixel() const override { return desktopBitsPerPixel; }
  void Present(const Surface& frame) override;
  void SetGammaRamp(const GammaTable& ramp) override { gamma_ = ramp; }
  GammaTable GetGammaRamp() const override { return gamma_; }

  // Writes the last presented frame as a PNG file; false without a frame or on failure.
  bool SaveLastFrame(const std::string& path) const;
  // Marks every existing surface lost now, or at each of the next n blits.
  void LoseSurfaces() { LoseAllSurfaces(); }
  void LoseSurfacesAtNextBlits(int n) { LoseSurfacesBeforeBlits(n); }

  int presentedFrames = 0;
  bool failOpen = false;       // the display device cannot be started
  bool refuseMode = false;     // every SetMode call fails
  struct Mode {
    int width, height, bitsPerPixel;
  };
  std::vector<Mode> refusedModes;  // full-screen modes that fail
  int desktopBitsPerPixel = 32;
  int width = 0, height = 0, bitsPerPixel = 0;
  bool fullScreen = false;
  std::vector<Mode> modesSet;  // every mode accepted, in order

  PresentedFrame lastFrame;        // the last presented frame
  bool keepEveryFrame = false;     // also append each frame to frames
  std::vector<Image> frames;

 private:
  GammaTable gamma_;
};

}  // namespace platform
