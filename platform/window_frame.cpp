#include "platform/window_frame.h"

#include <SDL.h>
#include <immintrin.h>

#include <algorithm>

namespace platform {

namespace {

// Where one channel of a 16-bit pixel sits: its shift and its largest value.
struct Channel {
  int shift = 0;
  uint32_t max = 0;
};

// A channel of at most `bits` contiguous bits, or false.
bool ChannelOf(uint32_t mask, int bits, Channel& out) {
  if (mask == 0 || mask > 0xFFFF) return false;
  int shift = 0;
  while (!(mask >> shift & 1u)) ++shift;
  const uint32_t max = mask >> shift;
  if ((max & (max + 1)) != 0 || max >= (1u << bits)) return false;
  out = {shift, max};
  return true;
}

// What the row loop reads: the three channels and each one's shown level by value. Red
// and blue have at most 32 values, green at most 64, as in every 16-bit format we draw.
struct Levels {
  Channel channel[3];
  alignas(32) uint8_t level[3][64];
};

bool LevelsFit(const PixelFormat& format, Levels& levels) {
  return format.bitsPerPixel == 16 && ChannelOf(format.redMask, 5, levels.channel[0]) &&
         ChannelOf(format.greenMask, 6, levels.channel[1]) &&
         ChannelOf(format.blueMask, 5, levels.channel[2]);
}

uint32_t WindowPixel(uint32_t p, const Levels& l) {
  const Channel* c = l.channel;
  return l.level[0][(p >> c[0].shift) & c[0].max] |
         uint32_t(l.level[1][(p >> c[1].shift) & c[1].max]) << 8 |
         uint32_t(l.level[2][(p >> c[2].shift) & c[2].max]) << 16 | 0xFF000000u;
}

// The 32-pixel steps of a row, with AVX2: each channel's values packed into bytes and
// looked up 16 table entries at a time (a byte shuffle reads an index's low four bits).
#define QUOR_AVX2 __attribute__((target("avx2")))

QUOR_AVX2 inline __m256i TableQuarter(const uint8_t* table) {
  return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table)));
}

// Entries of a 32-entry table at byte indices 0..31; index bit 4, moved to each byte's top
// bit, picks the half.
QUOR_AVX2 inline __m256i Look32(__m256i low, __m256i high, __m256i index) {
  return _mm256_blendv_epi8(_mm256_shuffle_epi8(low, index), _mm256_shuffle_epi8(high, index),
                            _mm256_slli_epi16(index, 3));
}

// The channel of 32 pixels (in a and b) as 32 bytes in pixel order.
QUOR_AVX2 inline __m256i ChannelBytes(__m256i a, __m256i b, __m128i shift, __m256i max) {
  const __m256i packed = _mm256_packus_epi16(_mm256_and_si256(_mm256_srl_epi16(a, shift), max),
                                             _mm256_and_si256(_mm256_srl_epi16(b, shift), max));
  return _mm256_permute4x64_epi64(packed, 0xD8);  // packing works per 128-bit half
}

QUOR_AVX2 int ConvertRowAvx2(const uint16_t* source, uint32_t* target, int n, const Levels& l) {
  __m256i red[2], green[4], blue[2];
  for (int q = 0; q < 2; ++q) red[q] = TableQuarter(l.level[0] + 16 * q);
  for (int q = 0; q < 4; ++q) green[q] = TableQuarter(l.level[1] + 16 * q);
  for (int q = 0; q < 2; ++q) blue[q] = TableQuarter(l.level[2] + 16 * q);
  __m128i shift[3];
  __m256i max[3];
  for (int c = 0; c < 3; ++c) {
    shift[c] = _mm_cvtsi32_si128(l.channel[c].shift);
    max[c] = _mm256_set1_epi16(int16_t(l.channel[c].max));
  }
  const __m256i opaque = _mm256_set1_epi8(-1);
  int i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i + 16));
    const __m256i r = Look32(red[0], red[1], ChannelBytes(a, b, shift[0], max[0]));
    const __m256i gi = ChannelBytes(a, b, shift[1], max[1]);
    // Index bit 5, moved to each byte's top bit, picks the half of the 64 entries.
    const __m256i g = _mm256_blendv_epi8(Look32(green[0], green[1], gi),
                                         Look32(green[2], green[3], gi), _mm256_slli_epi16(gi, 2));
    const __m256i bl = Look32(blue[0], blue[1], ChannelBytes(a, b, shift[2], max[2]));
    // Interleaving works per 128-bit half too: p0 holds pixels 0-3 and 16-19, p1 4-7 and
    // 20-23, p2 8-11 and 24-27, p3 12-15 and 28-31.
    const __m256i rg0 = _mm256_unpacklo_epi8(r, g), rg1 = _mm256_unpackhi_epi8(r, g);
    const __m256i bx0 = _mm256_unpacklo_epi8(bl, opaque), bx1 = _mm256_unpackhi_epi8(bl, opaque);
    const __m256i p0 = _mm256_unpacklo_epi16(rg0, bx0), p1 = _mm256_unpackhi_epi16(rg0, bx0);
    const __m256i p2 = _mm256_unpacklo_epi16(rg1, bx1), p3 = _mm256_unpackhi_epi16(rg1, bx1);
    __m256i* out = reinterpret_cast<__m256i*>(target + i);
    _mm256_storeu_si256(out, _mm256_permute2x128_si256(p0, p1, 0x20));
    _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(p2, p3, 0x20));
    _mm256_storeu_si256(out + 2, _mm256_permute2x128_si256(p0, p1, 0x31));
    _mm256_storeu_si256(out + 3, _mm256_permute2x128_si256(p2, p3, 0x31));
  }
  return i;
}

#undef QUOR_AVX2

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

}  // namespace

WindowFrame::~WindowFrame() {
  if (pixels_) SDL_FreeSurface(pixels_);
}

uint32_t WindowFrame::PixelFormat() { return SDL_PIXELFORMAT_XBGR8888; }

const void* WindowFrame::Pixels() const { return pixels_ ? pixels_->pixels : nullptr; }
int WindowFrame::Pitch() const { return pixels_ ? pixels_->pitch : 0; }
int WindowFrame::Width() const { return pixels_ ? pixels_->w : 0; }
int WindowFrame::Height() const { return pixels_ ? pixels_->h : 0; }

bool WindowFrame::Convert(const Surface& frame, const GammaTable& ramp) {
  if (!pixels_ || pixels_->w != frame.Width() || pixels_->h != frame.Height()) {
    if (pixels_) SDL_FreeSurface(pixels_);
    pixels_ = SDL_CreateRGBSurfaceWithFormat(0, frame.Width(), frame.Height(), 32, PixelFormat());
    if (!pixels_) return false;
  }
  if (ConvertThroughLevels(frame, ramp)) return true;
  if (!frame.CopyTo(pixels_)) return false;
  if (ramp.IsIdentity()) return true;
  uint8_t red[256], green[256], blue[256];
  for (int i = 0; i < 256; ++i) {
    red[i] = GammaTable::Level(ramp.red[i]);
    green[i] = GammaTable::Level(ramp.green[i]);
    blue[i] = GammaTable::Level(ramp.blue[i]);
  }
  const SDL_PixelFormat& f = *pixels_->format;
  for (int y = 0; y < pixels_->h; ++y) {
    uint32_t* row =
        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels_->pixels) + y * pixels_->pitch);
    for (int x = 0; x < pixels_->w; ++x) {
      uint32_t p = row[x];
      row[x] = (uint32_t(red[(p >> f.Rshift) & 0xFF]) << f.Rshift) |
               (uint32_t(green[(p >> f.Gshift) & 0xFF]) << f.Gshift) |
               (uint32_t(blue[(p >> f.Bshift) & 0xFF]) << f.Bshift);
    }
  }
  return true;
}

// A 16-bit frame's channels are widened independently, so SDL's conversion of each value of
// each channel, passed through the ramp, makes three small tables; a vector loop then looks
// up 32 pixels at a time. Without AVX2 the whole frame goes through SDL and the ramp.
bool WindowFrame::ConvertThroughLevels(const Surface& frame, const GammaTable& ramp) {
  Levels levels;
  if (!HasAvx2() || !LevelsFit(frame.Format(), levels)) return false;
  if (widenedFormat_ != frame.Format()) {
    // One row holding value i in every channel (at most its largest), converted as any
    // frame is.
    auto row = Surface::Create(64, 1, frame.Format());
    SDL_Surface* wide = SDL_CreateRGBSurfaceWithFormat(0, 64, 1, 32, PixelFormat());
    bool ok = row && wide;
    if (ok) {
      for (uint32_t i = 0; i < 64; ++i) {
        uint32_t p = 0;
        for (const Channel& c : levels.channel) p |= std::min(i, c.max) << c.shift;
        row->PutPixel(int(i), 0, p);
      }
      ok = row->CopyTo(wide);
    }
    if (ok) {
      const uint8_t* bytes = static_cast<const uint8_t*>(wide->pixels);
      for (int i = 0; i < 64; ++i)
        for (int c = 0; c < 3; ++c) widened_[c][i] = bytes[4 * i + c];
      widenedFormat_ = frame.Format();
    }
    if (wide) SDL_FreeSurface(wide);
    if (!ok) return false;
  }
  const uint16_t* ramps[3] = {ramp.red, ramp.green, ramp.blue};
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < 64; ++i) levels.level[c][i] = GammaTable::Level(ramps[c][widened_[c][i]]);

  const int width = frame.Width();
  for (int y = 0; y < frame.Height(); ++y) {
    const uint16_t* source =
        reinterpret_cast<const uint16_t*>(frame.Pixels() + size_t(y) * frame.Pitch());
    uint32_t* target = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels_->pixels) +
                                                   size_t(y) * pixels_->pitch);
    for (int x = ConvertRowAvx2(source, target, width, levels); x < width; ++x)
      target[x] = WindowPixel(source[x], levels);
  }
  return true;
}

}  // namespace platform
