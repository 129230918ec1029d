#include "platform/surface.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace platform {

namespace {

std::unordered_set<Surface*>& LiveSurfaces() {
  static std::unordered_set<Surface*> live;
  return live;
}

int pendingBlitLosses = 0;

int LowestBit(uint32_t mask) {
  if (mask == 0) return 0;
  int s = 0;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++s;
  }
  return s;
}

int BitCount(uint32_t mask) {
  int n = 0;
  for (; mask; mask &= mask - 1) ++n;
  return n;
}

// Puts a 0x00BBGGRR colour's channels in place in a direct-colour format: a narrower
// channel keeps the level's high bits, a wider one gets the level in its high bits. Worked
// out once per format, so that a whole picture packs by shifts and masks alone.
class ChannelPacking {
 public:
  explicit ChannelPacking(const PixelFormat& format) {
    const uint32_t masks[3] = {format.redMask, format.greenMask, format.blueMask};
    for (int c = 0; c < 3; ++c) {
      if (masks[c] == 0) continue;
      const int bits = BitCount(masks[c]), byte = 8 * c;
      Channel& ch = channels_[c];
      ch.right = bits >= 8 ? byte : byte + 8 - bits;
      ch.mask = bits >= 8 ? 0xFF : (1u << bits) - 1;
      ch.left = LowestBit(masks[c]) + (bits >= 8 ? bits - 8 : 0);
    }
  }
  uint32_t operator()(uint32_t color) const {
    const Channel &r = channels_[0], &g = channels_[1], &b = channels_[2];
    return (((color >> r.right) & r.mask) << r.left) | (((color >> g.right) & g.mask) << g.left) |
           (((color >> b.right) & b.mask) << b.left);
  }

 private:
  struct Channel {
    int right = 0;
    uint32_t mask = 0;  // 0 for a channel the format lacks
    int left = 0;
  };
  Channel channels_[3];
};

uint8_t UnpackChannel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int bits = BitCount(mask), shift = LowestBit(mask);
  uint32_t v = (pixel & mask) >> shift;
  if (bits >= 8) return uint8_t(v >> (bits - 8));
  // The channel's bits repeated downwards, as SDL widens them, so both paths agree.
  uint32_t c = 0;
  for (int shift = 8 - bits; shift > -bits; shift -= bits) c |= shift >= 0 ? v << shift : v >> -shift;
  return uint8_t(c);
}

uint32_t NearestEntry(const PaletteEntry* palette, uint8_t r, uint8_t g, uint8_t b) {
  if (!palette) return 0;
  uint32_t best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    int dr = int(palette[i].red) - r, dg = int(palette[i].green) - g, db = int(palette[i].blue) - b;
    int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = uint32_t(i);
    }
  }
  return best;
}

bool ClipRect(PixelRect& r, const PixelRect& bounds) {
  r.left = std::max(r.left, bounds.left);
  r.top = std::max(r.top, bounds.top);
  r.right = std::min(r.right, bounds.right);
  r.bottom = std::min(r.bottom, bounds.bottom);
  return !r.Empty();
}

inline uint32_t ReadPixel(const uint8_t* p, int bytes) {
  switch (bytes) {
    case 1: return *p;
    case 2: { uint16_t v; std::memcpy(&v, p, 2); return v; }
    case 3: return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    default: { uint32_t v; std::memcpy(&v, p, 4); return v; }
  }
}

inline void WritePixel(uint8_t* p, int bytes, uint32_t v) {
  switch (bytes) {
    case 1: *p = uint8_t(v); break;
    case 2: { uint16_t w = uint16_t(v); std::memcpy(p, &w, 2); break; }
    case 3: p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); break;
    default: std::memcpy(p, &v, 4); break;
  }
}

}  // namespace

PixelFormat PixelFormat::ForDepth(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 8: return Indexed8();
    case 16: return Rgb565();
    case 24: return Rgb24();
    case 32: return Xrgb32();
    default: return {bitsPerPixel, 0, 0, 0};
  }
}

uint32_t ColorToPixel(const PixelFormat& format, const PaletteEntry* palette, uint32_t color) {
  if (format.Indexed()) return NearestEntry(palette, RedOf(color), GreenOf(color), BlueOf(color));
  return ChannelPacking(format)(color);
}

uint32_t PixelToColor(const PixelFormat& format, const PaletteEntry* palette, uint32_t pixel) {
  if (format.Indexed()) {
    if (!palette) return 0;
    const PaletteEntry& e = palette[pixel & 0xFF];
    return ColorRef(e.red, e.green, e.blue);
  }
  return ColorRef(UnpackChannel(pixel, format.redMask), UnpackChannel(pixel, format.greenMask),
                  UnpackChannel(pixel, format.blueMask));
}

std::unique_ptr<Surface> Surface::Create(int width, int height, const PixelFormat& format) {
  if (width < 1 || height < 1) return nullptr;
  int bpp = format.bitsPerPixel;
  if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
  SDL_Surface* s = SDL_CreateRGBSurface(0, width, height, bpp, format.redMask, format.greenMask,
                                        format.blueMask, 0);
  if (!s) return nullptr;
  std::unique_ptr<Surface> surface(new Surface);
  surface->sdl_ = s;
  surface->width_ = width;
  surface->height_ = height;
  surface->format_ = format;
  // Blits are clipped by us and by SDL to the whole surface, never by a stale clip rectangle.
  SDL_SetClipRect(s, nullptr);
  SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
  if (format.Indexed()) surface->SetPalette(surface->palette_);
  LiveSurfaces().insert(surface.get());
  return surface;
}

Surface::~Surface() {
  LiveSurfaces().erase(this);
  if (sdl_) SDL_FreeSurface(sdl_);
}

int Surface::Pitch() const { return sdl_->pitch; }

void Surface::SetPalette(const PaletteEntry entries[256]) {
  if (!format_.Indexed()) return;
  if (entries != palette_) std::memcpy(palette_, entries, sizeof(palette_));
  SDL_Color colors[256];
  for (int i = 0; i < 256; ++i) colors[i] = {palette_[i].red, palette_[i].green, palette_[i].blue, 255};
  if (sdl_->format->palette) SDL_SetPaletteColors(sdl_->format->palette, colors, 0, 256);
}

void Surface::SetColorKey(uint32_t pixel) {
  hasKey_ = true;
  key_ = format_.bitsPerPixel == 32 ? pixel : pixel & ((1u << format_.bitsPerPixel) - 1);
  SDL_SetColorKey(sdl_, SDL_TRUE, key_);
}

void Surface::ClearColorKey() {
  hasKey_ = false;
  key_ = 0;
  SDL_SetColorKey(sdl_, SDL_FALSE, 0);
}

SurfaceResult Surface::GetColorKey(uint32_t& pixel) const {
  if (!hasKey_) return SurfaceResult::NoColorKey;
  pixel = key_;
  return SurfaceResult::Ok;
}

uint32_t Surface::MatchColor(uint32_t color) const { return ColorToPixel(format_, Palette(), color); }

SurfaceResult Surface::Restore() {
  if (lost_) {
    std::memset(sdl_->pixels, 0, size_t(sdl_->pitch) * height_);
    lost_ = false;
  }
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Lock(LockedPixels& out) {
  if (lost_) return SurfaceResult::SurfaceLost;
  if (locked_) return SurfaceResult::SurfaceBusy;
  locked_ = true;
  out.pixels = static_cast<uint8_t*>(sdl_->pixels);
  out.pitch = sdl_->pitch;
  out.width = width_;
  out.height = height_;
  out.format = format_;
  return SurfaceResult::Ok;
}

void Surface::Unlock() { locked_ = false; }

uint32_t Surface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  int bytes = format_.BytesPerPixel();
  return ReadPixel(static_cast<const uint8_t*>(sdl_->pixels) + size_t(y) * sdl_->pitch + size_t(x) * bytes,
                   bytes);
}

void Surface::PutPixel(int x, int y, uint32_t pixel) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  int bytes = format_.BytesPerPixel();
  WritePixel(static_cast<uint8_t*>(sdl_->pixels) + size_t(y) * sdl_->pitch + size_t(x) * bytes, bytes,
             pixel);
}

SurfaceResult Surface::Fill(const PixelRect* rect, uint32_t pixel) {
  if (lost_) return SurfaceResult::SurfaceLost;
  if (locked_) return SurfaceResult::SurfaceBusy;
  PixelRect r = rect ? *rect : Bounds();
  if (!ClipRect(r, Bounds())) return SurfaceResult::Ok;
  SDL_Rect sr{r.left, r.top, r.Width(), r.Height()};
  SDL_FillRect(sdl_, &sr, pixel);
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Blit(const PixelRect* destRect, Surface& source, const PixelRect* sourceRect,
                            uint32_t flags) {
  if (pendingBlitLosses > 0) {
    --pendingBlitLosses;
    LoseAllSurfaces();
  }
  if (lost_ || source.lost_) return SurfaceResult::SurfaceLost;
  if (locked_ || source.locked_) return SurfaceResult::SurfaceBusy;
  PixelRect src = sourceRect ? *sourceRect : source.Bounds();
  PixelRect dst = destRect ? *destRect : Bounds();
  if (src.Empty() || dst.Empty()) return SurfaceResult::Ok;

  bool keyed = (flags & BlitKeySource) && source.hasKey_;
  bool mirrored = flags & (BlitMirrorLeftRight | BlitMirrorUpDown);
  // Palette surfaces copy their indices as they are, and SDL has no mirrored blit: both
  // go through our own loop, which needs one format on both sides. So does an unstretched
  // 16-bit copy between two surfaces, which SDL would do pixel by pixel when keyed (with
  // the same result) and our loop does many pixels at a time.
  bool rowCopy = format_ == source.format_ && format_.bitsPerPixel == 16 && &source != this &&
                 src.Width() == dst.Width() && src.Height() == dst.Height();
  if (mirrored || rowCopy || format_.Indexed() || source.format_.Indexed()) {
    if (format_ != source.format_) return SurfaceResult::NotSupported;
    return RowBlit(dst, source, src, flags);
  }

  // SDL keeps the key state of the last blit; it rebuilds its blit map only on a change.
  SDL_SetColorKey(source.sdl_, keyed ? SDL_TRUE : SDL_FALSE, source.key_);
  SDL_Rect s{src.left, src.top, src.Width(), src.Height()};
  SDL_Rect d{dst.left, dst.top, dst.Width(), dst.Height()};
  int rc;
  if (s.w == d.w && s.h == d.h) {
    // SDL wants the source inside its surface; cut it and move the destination alike.
    PixelRect cut = src;
    if (!ClipRect(cut, source.Bounds())) return SurfaceResult::Ok;
    d.x += cut.left - src.left;
    d.y += cut.top - src.top;
    s = {cut.left, cut.top, cut.Width(), cut.Height()};
    rc = SDL_BlitSurface(source.sdl_, &s, sdl_, &d);
  } else {
    rc = SDL_BlitScaled(source.sdl_, &s, sdl_, &d);
  }
  return rc == 0 ? SurfaceResult::Ok : SurfaceResult::Failed;
}

namespace {

// One row of a blit of equal sizes: n pixels read from s forwards, or backwards for a
// mirrored row, written to d. Each case is its own loop so the compiler can vectorise it;
// a keyed pixel keeps what d holds.
template <typename P>
void CopyRow(P* d, const P* s, int n, bool backwards, bool keyed, P key) {
  if (!backwards && !keyed) {
    std::memcpy(d, s, size_t(n) * sizeof(P));
  } else if (!backwards) {
    for (int i = 0; i < n; ++i) {
      P v = s[i];
      d[i] = v == key ? d[i] : v;
    }
  } else if (!keyed) {
    for (int i = 0; i < n; ++i) d[i] = s[-i];
  } else {
    for (int i = 0; i < n; ++i) {
      P v = s[-i];
      d[i] = v == key ? d[i] : v;
    }
  }
}

// The same for 3-byte pixels, which no integer type holds.
void CopyRow24(uint8_t* d, const uint8_t* s, int n, bool backwards, bool keyed, uint32_t key) {
  int step = backwards ? -3 : 3;
  for (int i = 0; i < n; ++i, d += 3, s += step) {
    uint32_t v = ReadPixel(s, 3);
    if (!keyed || v != key) WritePixel(d, 3, v);
  }
}

// The destination span [from, to) whose source position (origin + dir * x) lies in
// [0, size): where a source rectangle reaches outside its surface, nothing is drawn.
void KeepInsideSource(int& from, int& to, int origin, int dir, int size) {
  if (dir > 0) {
    from = std::max(from, -origin);
    to = std::min(to, size - origin);
  } else {
    from = std::max(from, origin - size + 1);
    to = std::min(to, origin + 1);
  }
}

}  // namespace

SurfaceResult Surface::RowBlit(const PixelRect& dest, Surface& source, const PixelRect& src,
                               uint32_t flags) {
  PixelRect clipped = dest;
  if (!ClipRect(clipped, Bounds())) return SurfaceResult::Ok;
  bool keyed = (flags & BlitKeySource) && source.hasKey_;
  bool flipX = flags & BlitMirrorLeftRight, flipY = flags & BlitMirrorUpDown;
  int bytes = format_.BytesPerPixel();
  const uint8_t* sp = static_cast<const uint8_t*>(source.sdl_->pixels);
  uint8_t* dp = static_cast<uint8_t*>(sdl_->pixels);
  int spitch = source.sdl_->pitch, dpitch = sdl_->pitch;

  if (src.Width() == dest.Width() && src.Height() == dest.Height()) {
    // Source position = origin + dir * destination position, on each axis.
    int dirX = flipX ? -1 : 1, dirY = flipY ? -1 : 1;
    int originX = flipX ? src.right - 1 + dest.left : src.left - dest.left;
    int originY = flipY ? src.bottom - 1 + dest.top : src.top - dest.top;
    int x0 = clipped.left, x1 = clipped.right, y0 = clipped.top, y1 = clipped.bottom;
    KeepInsideSource(x0, x1, originX, dirX, source.width_);
    KeepInsideSource(y0, y1, originY, dirY, source.height_);
    int n = x1 - x0;
    if (n <= 0) return SurfaceResult::Ok;
    for (int y = y0; y < y1; ++y) {
      const uint8_t* s =
          sp + size_t(originY + dirY * y) * spitch + size_t(originX + dirX * x0) * bytes;
      uint8_t* d = dp + size_t(y) * dpitch + size_t(x0) * bytes;
      switch (bytes) {
        case 1:
          CopyRow(d, s, n, flipX, keyed, uint8_t(source.key_));
          break;
        case 2:
          CopyRow(reinterpret_cast<uint16_t*>(d), reinterpret_cast<const uint16_t*>(s), n, flipX,
                  keyed, uint16_t(source.key_));
          break;
        case 3:
          CopyRow24(d, s, n, flipX, keyed, source.key_);
          break;
        default:
          CopyRow(reinterpret_cast<uint32_t*>(d), reinterpret_cast<const uint32_t*>(s), n, flipX,
                  keyed, source.key_);
          break;
      }
    }
    return SurfaceResult::Ok;
  }

  // Stretched: each destination pixel takes the source pixel its place scales to.
  int64_t dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();
  for (int y = clipped.top; y < clipped.bottom; ++y) {
    int64_t oy = (y - dest.top) * sh / dh;
    int sy = flipY ? int(src.bottom - 1 - oy) : int(src.top + oy);
    if (sy < 0 || sy >= source.height_) continue;
    const uint8_t* srow = sp + size_t(sy) * spitch;
    uint8_t* drow = dp + size_t(y) * dpitch;
    for (int x = clipped.left; x < clipped.right; ++x) {
      int64_t ox = (x - dest.left) * sw / dw;
      int sx = flipX ? int(src.right - 1 - ox) : int(src.left + ox);
      if (sx < 0 || sx >= source.width_) continue;
      uint32_t v = ReadPixel(srow + size_t(sx) * bytes, bytes);
      if (keyed && v == source.key_) continue;
      WritePixel(drow + size_t(x) * bytes, bytes, v);
    }
  }
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Flip(Surface& back) {
  if (lost_ || back.lost_) return SurfaceResult::SurfaceLost;
  if (locked_ || back.locked_) return SurfaceResult::SurfaceBusy;
  if (back.width_ != width_ || back.height_ != height_ || back.format_ != format_ ||
      back.sdl_->pitch != sdl_->pitch)
    return SurfaceResult::InvalidObject;
  std::swap(sdl_->pixels, back.sdl_->pixels);
  return SurfaceResult::Ok;
}

bool Surface::CopyPixels(const Surface& source) {
  if (source.width_ != width_ || source.height_ != height_ || source.format_ != format_ ||
      source.sdl_->pitch != sdl_->pitch)
    return false;
  std::memcpy(sdl_->pixels, source.sdl_->pixels, size_t(sdl_->pitch) * height_);
  if (format_.Indexed()) SetPalette(source.palette_);
  return true;
}

namespace {

// One row of a picture written as pixels: n colours, read in order, or through the source
// column of each destination pixel when the row is stretched.
template <typename P, typename Pack>
void PackRow(P* d, const uint32_t* s, const int* columns, int n, Pack pack) {
  if (!columns) {
    for (int i = 0; i < n; ++i) d[i] = P(pack(s[i]));
  } else {
    for (int i = 0; i < n; ++i) d[i] = P(pack(s[columns[i]]));
  }
}

template <typename Pack>
void PackRow24(uint8_t* d, const uint32_t* s, const int* columns, int n, Pack pack) {
  for (int i = 0; i < n; ++i, d += 3) WritePixel(d, 3, pack(s[columns ? columns[i] : i]));
}

}  // namespace

SurfaceResult Surface::WriteImage(const Image& image) {
  if (lost_) return SurfaceResult::SurfaceLost;
  if (locked_) return SurfaceResult::SurfaceBusy;
  if (image.width < 1 || image.height < 1 ||
      image.colors.size() != size_t(image.width) * size_t(image.height))
    return SurfaceResult::InvalidArgument;
  // Destination pixel (x, y) shows picture pixel (x * w / width, y * h / height): the
  // columns are worked out once for all rows, and a row that repeats the one above is copied.
  std::vector<int> columns;
  if (image.width != width_) {
    columns.resize(size_t(width_));
    for (int x = 0; x < width_; ++x) columns[x] = int(int64_t(x) * image.width / width_);
  }
  const int* cols = columns.empty() ? nullptr : columns.data();
  const ChannelPacking pack(format_);
  std::unordered_map<uint32_t, uint32_t> seen;  // palette lookups are slow; pictures repeat colours
  auto packIndexed = [this, &seen](uint32_t c) {
    auto it = seen.find(c);
    if (it == seen.end()) it = seen.emplace(c, MatchColor(c)).first;
    return it->second;
  };
  const int bytes = format_.BytesPerPixel();
  const size_t rowBytes = size_t(width_) * bytes;
  uint8_t* pixels = static_cast<uint8_t*>(sdl_->pixels);
  const int pitch = sdl_->pitch;
  int previous = -1;
  for (int y = 0; y < height_; ++y) {
    const int iy = int(int64_t(y) * image.height / height_);
    uint8_t* d = pixels + size_t(y) * pitch;
    if (iy == previous) {
      std::memcpy(d, d - pitch, rowBytes);
      continue;
    }
    previous = iy;
    const uint32_t* s = image.colors.data() + size_t(iy) * image.width;
    switch (bytes) {
      case 1:
        PackRow(d, s, cols, width_, packIndexed);
        break;
      case 2:
        PackRow(reinterpret_cast<uint16_t*>(d), s, cols, width_, pack);
        break;
      case 3:
        PackRow24(d, s, cols, width_, pack);
        break;
      default:
        PackRow(reinterpret_cast<uint32_t*>(d), s, cols, width_, pack);
        break;
    }
  }
  return SurfaceResult::Ok;
}

Image Surface::ReadImage() const {
  Image image;
  image.width = width_;
  image.height = height_;
  image.colors.resize(size_t(width_) * height_);
  // Each channel's values widened once into a table, as PixelToColor widens them.
  struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    std::vector<uint8_t> table;
  } channels[3];
  uint32_t masks[3] = {format_.redMask, format_.greenMask, format_.blueMask};
  for (int c = 0; c < 3 && !format_.Indexed(); ++c) {
    channels[c].mask = masks[c];
    channels[c].shift = LowestBit(masks[c]);
    uint32_t count = masks[c] ? (masks[c] >> channels[c].shift) + 1 : 1;
    channels[c].table.resize(count);
    for (uint32_t v = 0; v < count; ++v) channels[c].table[v] = UnpackChannel(v << channels[c].shift, masks[c]);
  }
  int bytes = format_.BytesPerPixel();
  auto colorOf = [&](uint32_t p) {
    uint8_t rgb[3];
    for (int c = 0; c < 3; ++c)
      rgb[c] = channels[c].mask ? channels[c].table[(p & channels[c].mask) >> channels[c].shift] : 0;
    return ColorRef(rgb[0], rgb[1], rgb[2]);
  };
  // Frames are read every presentation in tests: 16-bit pixels go through one table.
  thread_local PixelFormat lutFormat{0, 0, 0, 0};
  thread_local std::vector<uint32_t> lut;
  if (bytes == 2 && (lut.empty() || lutFormat != format_)) {
    lut.resize(65536);
    for (uint32_t p = 0; p < 65536; ++p) lut[p] = colorOf(p);
    lutFormat = format_;
  }
  bool byteChannels = (bytes == 3 || bytes == 4) && BitCount(format_.redMask) == 8 &&
                      BitCount(format_.greenMask) == 8 && BitCount(format_.blueMask) == 8;
  int rs = channels[0].shift, gs = channels[1].shift, bs = channels[2].shift;
  for (int y = 0; y < height_; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(sdl_->pixels) + size_t(y) * sdl_->pitch;
    uint32_t* out = image.colors.data() + size_t(y) * width_;
    if (format_.Indexed()) {
      for (int x = 0; x < width_; ++x) out[x] = PixelToColor(format_, palette_, row[x]);
    } else if (bytes == 2) {
      const uint16_t* p16 = reinterpret_cast<const uint16_t*>(row);
      for (int x = 0; x < width_; ++x) out[x] = lut[p16[x]];
    } else if (byteChannels) {
      for (int x = 0; x < width_; ++x) {
        uint32_t p = ReadPixel(row + size_t(x) * bytes, bytes);
        out[x] = ((p >> rs) & 0xFF) | (((p >> gs) & 0xFF) << 8) | (((p >> bs) & 0xFF) << 16);
      }
    } else {
      for (int x = 0; x < width_; ++x) out[x] = colorOf(ReadPixel(row + size_t(x) * bytes, bytes));
    }
  }
  return image;
}

const uint8_t* Surface::Pixels() const { return static_cast<const uint8_t*>(sdl_->pixels); }

bool Surface::CopyTo(SDL_Surface* target) const {
  if (!target || target->w != width_ || target->h != height_) return false;
  SDL_SetColorKey(sdl_, SDL_FALSE, 0);
  bool ok = SDL_BlitSurface(sdl_, nullptr, target, nullptr) == 0;
  return ok;
}

void LoseAllSurfaces() {
  for (Surface* s : LiveSurfaces()) s->MarkLost();
}

void LoseSurfacesBeforeBlits(int n) { pendingBlitLosses = n; }

}  // namespace platform
