// Where finished frames go: the window on the player's machine, memory in tests.
#pragma once

#include <cstdint>

namespace platform {

class Surface;

// A display gamma ramp: each channel maps an input level (0-255) to an output level
// (0-65535). The identity ramp, the one the engine writes back after a fade, has entry
// i = i * 255; an entry shows as level round(entry / 255), at most 255.
struct GammaTable {
  uint16_t red[256], green[256], blue[256];
  static GammaTable Identity();
  bool IsIdentity() const;
  // The shown level of an input level in each channel.
  static uint8_t Level(uint16_t entry) { return entry >= 65152 ? 255 : uint8_t((entry + 127) / 255); }
};

class VideoOutput {
 public:
  virtual ~VideoOutput() = default;
  // Starts the display device; false when there is none to start.
  virtual bool Open() { return true; }
  // Chooses the logical display size, depth and full screen; false when refused.
  virtual bool SetMode(int width, int height, int bitsPerPixel, bool fullScreen) = 0;
  // The depth of the desktop, which a windowed display draws in.
  virtual int DesktopBitsPerPixel() const { return 32; }
  // Shows a finished frame of the logical size.
  virtual void Present(const Surface& frame) = 0;
  // The ramp applied to every presented frame until changed.
  virtual void SetGammaRamp(const GammaTable& ramp) = 0;
  virtual GammaTable GetGammaRamp() const = 0;
};

}  // namespace platform
