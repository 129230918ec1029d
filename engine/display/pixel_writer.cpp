#include "engine/display/pixel_writer.h"

#include <cstring>

#include "engine/display/display.h"

namespace quor {

namespace {

void MaskShape(uint32_t mask, uint32_t& shift, uint32_t& bits) {
  shift = bits = 0;
  if (!mask) return;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++shift;
  }
  while (mask & 1u) {
    mask >>= 1;
    ++bits;
  }
}

}  // namespace

PixelWriter::PixelWriter() {
  if (BackBuffer) {
    ReadFormat(BackBuffer->Format());
    if (BackBuffer->Palette()) std::memcpy(palette_, BackBuffer->Palette(), sizeof palette_);
  }
  SetColor(0);
}

void PixelWriter::ReadFormat(const platform::PixelFormat& format) {
  bitsPerPixel_ = uint32_t(format.bitsPerPixel);
  MaskShape(format.redMask, redShift_, redBits_);
  MaskShape(format.greenMask, greenShift_, greenBits_);
  MaskShape(format.blueMask, blueShift_, blueBits_);
}

bool PixelWriter::Lock() {
  if (locked_ || !BackBuffer) return false;
  if (BackBuffer->Lock(memory_) != platform::SurfaceResult::Ok) return false;
  locked_ = BackBuffer;
  // The surface locked decides the layout, whatever depth the display was asked for.
  ReadFormat(memory_.format);
  return true;
}

void PixelWriter::Unlock() {
  if (locked_) locked_->Unlock();
  locked_ = nullptr;
  memory_ = {};
}

void PixelWriter::SetColor(uint32_t color) {
  color_ = color;
  if (bitsPerPixel_ <= 8) paletteIndex_ = platform::ColorToPixel(platform::PixelFormat::Indexed8(), palette_, color);
}

void PixelWriter::PutPixel(int32_t x, int32_t y) {
  if (!locked_ || x < 0 || y < 0 || x >= memory_.width || y >= memory_.height) return;
  uint32_t r = color_ & 0xFF, g = (color_ >> 8) & 0xFF, b = (color_ >> 16) & 0xFF;
  uint8_t* row = memory_.pixels + size_t(y) * memory_.pitch;
  switch (bitsPerPixel_) {
    case 8:
      row[x] = uint8_t(paletteIndex_);
      break;
    case 16: {
      uint16_t v = uint16_t((((r << redBits_) >> 8) << redShift_) | (((g << greenBits_) >> 8) << greenShift_) |
                            (((b << blueBits_) >> 8) << blueShift_));
      std::memcpy(row + 2 * size_t(x), &v, 2);
      break;
    }
    case 24: {
      uint32_t v = (r << redShift_) | (g << greenShift_) | (b << blueShift_);
      uint8_t* p = row + 3 * size_t(x);
      p[0] = uint8_t(v);
      p[1] = uint8_t(v >> 8);
      p[2] = uint8_t(v >> 16);
      break;
    }
    case 32: {
      uint32_t v = (r << redShift_) | (g << greenShift_) | (b << blueShift_);
      std::memcpy(row + 4 * size_t(x), &v, 4);
      break;
    }
    default:
      break;
  }
}

void PixelWriter::FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t color) {
  SetColor(color);
  for (int32_t i = x; i < x + width; ++i)
    for (int32_t j = y; j < y + height; ++j) PutPixel(i, j);
}

}  // namespace quor
