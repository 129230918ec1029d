#include "engine/display/translucent_blit.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/display/display.h"

namespace quor {

namespace {

using platform::Code;
using platform::SurfaceResult;

// The sum of the weighted channels times 0.01 as the single-precision constant, in double
// precision, so a whole result can come out one less (20 and 20 at 50 % give 19).
inline uint32_t Mix(uint32_t s, uint32_t d, int32_t sw, int32_t dw, uint32_t max) {
  int64_t sum = int64_t(s) * sw + int64_t(d) * dw;
  double v = double(sum) * double(0.01f);
  if (v > double(max)) return max;
  if (v < 0.0) return 0;  // a negative weight cannot give less than nothing
  return uint32_t(v);
}

struct Channel {
  uint32_t mask = 0, shift = 0, max = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1u)) ++shift;
    max = m >> shift;
  }
};

inline uint32_t Read(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  std::memcpy(&v, p, size_t(bytes));  // little-endian: the low bytes hold the pixel
  return v;
}

inline void Write(uint8_t* p, int bytes, uint32_t v) { std::memcpy(p, &v, size_t(bytes)); }

}  // namespace

uint32_t TranslucentBlit(platform::Surface* destination, int32_t x, int32_t y, int32_t destinationWeight,
                         platform::Surface* source, const Rect* sourceRect, int32_t sourceWeight,
                         bool useColorKey) {
  if (!destination || !source) return Code(SurfaceResult::InvalidObject);
  platform::LockedPixels dst, src;
  SurfaceResult r = destination->Lock(dst);
  if (r != SurfaceResult::Ok) return Code(r);
  r = source->Lock(src);
  if (r != SurfaceResult::Ok) {
    destination->Unlock();
    return Code(r);
  }
  auto done = [&](uint32_t code) {
    destination->Unlock();
    source->Unlock();
    return code;
  };

  // The area: the source rectangle cut to the source, then to the destination's size, then
  // to what lands on the destination when its corner stands at (x, y).
  int left = sourceRect ? sourceRect->left : 0, top = sourceRect ? sourceRect->top : 0;
  int right = sourceRect ? sourceRect->right : src.width, bottom = sourceRect ? sourceRect->bottom : src.height;
  left = std::max(left, 0), top = std::max(top, 0);
  right = std::min({right, src.width, dst.width}), bottom = std::min({bottom, src.height, dst.height});
  int dx = x, dy = y;
  if (dx < 0) left -= dx, dx = 0;
  if (dy < 0) top -= dy, dy = 0;
  right = std::min<int64_t>(right, int64_t(left) + (dst.width - dx)) ;
  bottom = std::min<int64_t>(bottom, int64_t(top) + (dst.height - dy));
  int width = right - left, height = bottom - top;

  const platform::PixelFormat& format = src.format;
  int bits = format.bitsPerPixel;
  if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) || dst.format != format)
    return done(Code(SurfaceResult::Failed));
  uint32_t key = 0;
  bool keyed = useColorKey && source->GetColorKey(key) == SurfaceResult::Ok;
  if (width <= 0 || height <= 0) return done(0);

  int bytes = format.BytesPerPixel();
  if (bits == 8) {
    // Palette indices mix by the colours they show, written back as the nearest entry.
    const platform::PaletteEntry* palette = PrimarySurface && PrimarySurface->Palette()
                                                ? PrimarySurface->Palette()
                                                : source->Palette();
    if (!palette) return done(Code(SurfaceResult::Failed));
    for (int row = 0; row < height; ++row) {
      const uint8_t* sp = src.pixels + size_t(top + row) * src.pitch + left;
      uint8_t* dp = dst.pixels + size_t(dy + row) * dst.pitch + dx;
      for (int col = 0; col < width; ++col) {
        if (keyed && sp[col] == key) continue;
        const platform::PaletteEntry &a = palette[sp[col]], &b = palette[dp[col]];
        int red = int(Mix(a.red, b.red, sourceWeight, destinationWeight, 255));
        int green = int(Mix(a.green, b.green, sourceWeight, destinationWeight, 255));
        int blue = int(Mix(a.blue, b.blue, sourceWeight, destinationWeight, 255));
        int best = 0, bestDistance = 1 << 30;
        for (int i = 0; i < 256; ++i) {
          int d = std::abs(palette[i].red - red) + std::abs(palette[i].green - green) +
                  std::abs(palette[i].blue - blue);
          if (d < bestDistance) bestDistance = d, best = i;
        }
        dp[col] = uint8_t(best);
      }
    }
    return done(0);
  }

  // Every depth mixes by the surface's own masks; bits outside them stay as in the destination.
  Channel red(format.redMask), green(format.greenMask), blue(format.blueMask);
  uint32_t keep = ~(format.redMask | format.greenMask | format.blueMask);
  if (bits < 32) keep &= (1u << bits) - 1;
  for (int row = 0; row < height; ++row) {
    const uint8_t* sp = src.pixels + size_t(top + row) * src.pitch + size_t(left) * bytes;
    uint8_t* dp = dst.pixels + size_t(dy + row) * dst.pitch + size_t(dx) * bytes;
    for (int col = 0; col < width; ++col, sp += bytes, dp += bytes) {
      uint32_t s = Read(sp, bytes);
      if (keyed && s == key) continue;
      uint32_t d = Read(dp, bytes);
      uint32_t out = d & keep;
      for (const Channel* c : {&red, &green, &blue}) {
        if (!c->mask) continue;
        out |= Mix((s & c->mask) >> c->shift, (d & c->mask) >> c->shift, sourceWeight, destinationWeight,
                   c->max)
               << c->shift;
      }
      Write(dp, bytes, out);
    }
  }
  return done(0);
}

}  // namespace quor
