#include "platform/bitmap_file.h"

#include <SDL.h>

#include <cstring>
#include <new>
#include <utility>

#include "platform/files.h"

namespace platform {

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

// The largest picture a file may describe: far beyond any map, and still a few hundred
// megabytes at most once decoded.
constexpr int64_t kLargestSide = 16384;
constexpr uint64_t kLargestPixelCount = uint64_t{1} << 25;
// A run-length file spends at least two bytes on every 255 pixels it fills.
constexpr uint64_t kMostPixelsPerRunByte = 128;
// The largest file read: twice the largest picture above at 32 bits a pixel, so a file
// that could hold no readable picture is refused before it is read.
constexpr uint64_t kLargestFile = kLargestPixelCount * 4 * 2;

// Checks what SDL would trust: the sizes in the headers against the file's length, so a
// damaged header can neither ask for an absurd picture nor read past the data.
bool PlausibleHeader(const std::vector<uint8_t>& b) {
  if (b.size() < 14 + 12 || b[0] != 'B' || b[1] != 'M') return false;
  uint32_t offBits = U32(b, 10);
  uint32_t infoSize = U32(b, 14);
  if (infoSize < 12 || 14 + uint64_t(infoSize) > b.size() || offBits > b.size()) return false;
  int64_t width, height;
  uint32_t bits, compression = 0;
  if (infoSize == 12) {
    width = U16(b, 18);
    height = int16_t(U16(b, 20));
    bits = U16(b, 24);
  } else {
    if (infoSize < 40) return false;
    width = int32_t(U32(b, 18));
    height = int32_t(U32(b, 22));
    bits = U16(b, 28);
    compression = U32(b, 30);
  }
  if (height < 0) height = -height;
  if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) return false;
  const uint64_t pixels = uint64_t(width) * uint64_t(height);
  if (pixels > kLargestPixelCount) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  switch (compression) {
    case 0: {
      uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
      return offBits + stride * uint64_t(height) <= b.size();
    }
    case 3: {
      uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
      return (bits == 16 || bits == 32) && offBits + stride * uint64_t(height) <= b.size();
    }
    case 1:
    case 2:
      // Runs of 8-bit or 4-bit indices; a picture larger than its runs could fill is a
      // damaged header, however few bytes follow it.
      if (bits != (compression == 1 ? 8u : 4u)) return false;
      return pixels <= (b.size() - offBits) * kMostPixelsPerRunByte;
    default:
      return false;
  }
}

}  // namespace

bool DecodeBmp(const std::vector<uint8_t>& bytes, Image& out) {
  if (!PlausibleHeader(bytes)) return false;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
  if (!rw) return false;
  SDL_Surface* loaded = SDL_LoadBMP_RW(rw, 1);
  if (!loaded) return false;
  // Colours 0x00BBGGRR are XBGR8888 in memory: SDL converts the picture straight into them,
  // copying (never blending) as its own format conversion does.
  Image image;
  image.width = loaded->w;
  image.height = loaded->h;
  try {
    image.colors.resize(size_t(loaded->w) * loaded->h);
  } catch (const std::bad_alloc&) {
    SDL_FreeSurface(loaded);
    return false;
  }
  SDL_Surface* colors = SDL_CreateRGBSurfaceWithFormatFrom(
      image.colors.data(), loaded->w, loaded->h, 32, loaded->w * 4, SDL_PIXELFORMAT_XBGR8888);
  bool ok = colors && SDL_SetColorKey(loaded, SDL_FALSE, 0) == 0 &&
            SDL_SetSurfaceBlendMode(loaded, SDL_BLENDMODE_NONE) == 0 &&
            SDL_BlitSurface(loaded, nullptr, colors, nullptr) == 0;
  if (colors) SDL_FreeSurface(colors);
  SDL_FreeSurface(loaded);
  if (!ok) return false;
  for (uint32_t& c : image.colors) c &= 0x00FFFFFF;
  out = std::move(image);
  return true;
}

bool LoadBmpFile(const std::string& name, Image& out) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(name, bytes, kLargestFile) && DecodeBmp(bytes, out);
}

}  // namespace platform
