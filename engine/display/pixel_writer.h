// Pixel-by-pixel drawing into the back buffer for the screen transitions: lock, set a
// colour, put pixels or fill rectangles, unlock. Pixels are written in the layout of the
// surface that was locked and only inside it.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace quor {

class PixelWriter {
 public:
  // Reads the back buffer's pixel format (and palette at 8 bits per pixel).
  PixelWriter();
  PixelWriter(const PixelWriter&) = delete;
  PixelWriter& operator=(const PixelWriter&) = delete;

  // Locks the whole back buffer; false when it cannot be locked (then pixels go nowhere).
  bool Lock();
  void Unlock();
  // The colour (0x00BBGGRR) of the next pixels.
  void SetColor(uint32_t color);
  // One pixel of the current colour; outside the locked surface nothing is written.
  void PutPixel(int32_t x, int32_t y);
  // SetColor, then every pixel of the rectangle, column by column.
  void FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color);

  uint32_t BitsPerPixel() const { return bitsPerPixel_; }
  uint32_t Color() const { return color_; }

 private:
  void ReadFormat(const platform::PixelFormat& format);

  platform::Surface* locked_ = nullptr;
  platform::LockedPixels memory_;
  uint32_t bitsPerPixel_ = 0;
  uint32_t redShift_ = 0, greenShift_ = 0, blueShift_ = 0;
  uint32_t redBits_ = 0, greenBits_ = 0, blueBits_ = 0;
  platform::PaletteEntry palette_[256] = {};
  uint32_t color_ = 0;
  uint32_t paletteIndex_ = 0;
};

}  // namespace quor
