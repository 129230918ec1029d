#include "platform/bitmap_file.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace platform {

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

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
  if (width < 1 || height < 1 || width > 32768 || height > 32768) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (compression == 0 || compression == 3) {
    uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
    if (offBits + stride * uint64_t(height) > b.size()) return false;
  } else if (compression != 1 && compression != 2) {
    return false;
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool DecodeBmp(const std::vector<uint8_t>& bytes, Image& out) {
  if (!PlausibleHeader(bytes)) return false;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
  if (!rw) return false;
  SDL_Surface* loaded = SDL_LoadBMP_RW(rw, 1);
  if (!loaded) return false;
  // Colours 0x00BBGGRR are XBGR8888 in memory.
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XBGR8888, 0);
  SDL_FreeSurface(loaded);
  if (!rgb) return false;
  out.width = rgb->w;
  out.height = rgb->h;
  out.colors.resize(size_t(rgb->w) * rgb->h);
  for (int y = 0; y < rgb->h; ++y) {
    const uint32_t* row =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgb->pixels) + size_t(y) * rgb->pitch);
    for (int x = 0; x < rgb->w; ++x) out.colors[size_t(y) * rgb->w + x] = row[x] & 0x00FFFFFF;
  }
  SDL_FreeSurface(rgb);
  return true;
}

bool LoadBmpFile(const std::string& path, Image& out) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, bytes) && DecodeBmp(bytes, out);
}

}  // namespace platform
