// Software pixel buffers standing where display-card surfaces stood: 8-bit (palette),
// 16-bit (5-6-5 or 5-5-5), 24-bit and 32-bit, with pitch, a source colour key, a lost flag
// and Restore. Every write and blit is clipped to the surface it writes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct SDL_Surface;

namespace platform {

// Result codes of surface operations. The values are the ones the engine's error reports
// name, so they are kept as the engine knows them.
enum class SurfaceResult : uint32_t {
  Ok = 0,
  Failed = 0x80004005,
  NotSupported = 0x80004001,
  InvalidArgument = 0x80070057,
  InvalidClipList = 0x8876006E,
  InvalidObject = 0x88760082,
  InvalidRect = 0x88760096,
  NoAlphaHardware = 0x887600B4,
  NoClipList = 0x887600CD,
  NoMirrorHardware = 0x887600FA,
  NoRasterOpHardware = 0x88760118,
  NoRotationHardware = 0x88760122,
  NoStretchHardware = 0x88760136,
  NoZBufferHardware = 0x88760154,
  SurfaceBusy = 0x887601AE,
  SurfaceLost = 0x887601C2,
  StillDrawing = 0x8876021C,
  NoBlitHardware = 0x8876023F,
  NoRasterOps = 0x88760240,
  NoColorKey = 0x887600D7,
};

inline uint32_t Code(SurfaceResult r) { return static_cast<uint32_t>(r); }

// A rectangle in pixels; right and bottom are exclusive.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// One palette entry as the engine stores it: red, green, blue, flags.
struct PaletteEntry {
  uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

// How a pixel is laid out. Masks are zero for palette formats.
struct PixelFormat {
  int bitsPerPixel = 32;
  uint32_t redMask = 0x00FF0000, greenMask = 0x0000FF00, blueMask = 0x000000FF;

  static PixelFormat Indexed8() { return {8, 0, 0, 0}; }
  static PixelFormat Rgb565() { return {16, 0xF800, 0x07E0, 0x001F}; }
  static PixelFormat Rgb555() { return {16, 0x7C00, 0x03E0, 0x001F}; }
  static PixelFormat Rgb24() { return {24, 0xFF0000, 0x00FF00, 0x0000FF}; }
  static PixelFormat Xrgb32() { return {32, 0xFF0000, 0x00FF00, 0x0000FF}; }
  // The usual layout of a depth: 8 palette, 16 5-6-5, 24 and 32 bits as bytes B, G, R (, X).
  // Other depths give a format no surface accepts.
  static PixelFormat ForDepth(int bitsPerPixel);

  bool Indexed() const { return bitsPerPixel == 8; }
  int BytesPerPixel() const { return (bitsPerPixel + 7) / 8; }
  bool operator==(const PixelFormat& o) const {
    return bitsPerPixel == o.bitsPerPixel && redMask == o.redMask && greenMask == o.greenMask &&
           blueMask == o.blueMask;
  }
  bool operator!=(const PixelFormat& o) const { return !(*this == o); }
};

// A colour as the engine writes it: 0x00BBGGRR.
inline uint32_t ColorRef(uint8_t r, uint8_t g, uint8_t b) {
  return r | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
inline uint8_t RedOf(uint32_t c) { return c & 0xFF; }
inline uint8_t GreenOf(uint32_t c) { return (c >> 8) & 0xFF; }
inline uint8_t BlueOf(uint32_t c) { return (c >> 16) & 0xFF; }

// The pixel value of a colour in a format: the one conversion used for uploaded pictures
// and for colour keys alike, so a key always equals the pixels drawn in its colour.
// Palette formats take the nearest entry (lowest index on a tie).
uint32_t ColorToPixel(const PixelFormat& format, const PaletteEntry* palette, uint32_t color);
// The colour a pixel value shows.
uint32_t PixelToColor(const PixelFormat& format, const PaletteEntry* palette, uint32_t pixel);

// A decoded picture: colours 0x00BBGGRR, row after row.
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> colors;
  uint32_t At(int x, int y) const { return colors[size_t(y) * width + x]; }
};

// Mirroring and keying of a blit.
enum BlitFlags : uint32_t {
  BlitPlain = 0,
  BlitKeySource = 1,         // pixels equal to the source's colour key are left out
  BlitMirrorLeftRight = 2,   // the picture turned about its vertical axis
  BlitMirrorUpDown = 4,      // the picture turned about its horizontal axis
};

// Memory of a locked surface.
struct LockedPixels {
  uint8_t* pixels = nullptr;
  int pitch = 0;
  int width = 0, height = 0;
  PixelFormat format;
};

class Surface {
 public:
  // A surface of the size and format, cleared to pixel value 0; null for a size below 1 or a
  // depth other than 8, 16, 24 and 32.
  static std::unique_ptr<Surface> Create(int width, int height, const PixelFormat& format);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  const PixelFormat& Format() const { return format_; }
  int Pitch() const;
  PixelRect Bounds() const { return {0, 0, width_, height_}; }

  // --- palette (8-bit surfaces; others ignore it) ---
  void SetPalette(const PaletteEntry entries[256]);
  const PaletteEntry* Palette() const { return format_.Indexed() ? palette_ : nullptr; }

  // --- colour key ---
  void SetColorKey(uint32_t pixel);
  void ClearColorKey();
  bool HasColorKey() const { return hasKey_; }
  // The key's pixel value; NoColorKey when the surface has none.
  SurfaceResult GetColorKey(uint32_t& pixel) const;
  // The pixel value of a colour on this surface (ColorToPixel with its own palette).
  uint32_t MatchColor(uint32_t color) const;

  // --- lost memory ---
  bool IsLost() const { return lost_; }
  // Marks the memory gone, as when another program takes the display.
  void MarkLost() { lost_ = true; }
  // Gives the surface memory again; the old picture is gone (cleared to 0).
  SurfaceResult Restore();

  // --- direct access ---
  SurfaceResult Lock(LockedPixels& out);
  void Unlock();
  bool Locked() const { return locked_; }
  // One pixel's value, clipped: outside the surface reads 0 and writes nothing.
  uint32_t GetPixel(int x, int y) const;
  void PutPixel(int x, int y, uint32_t pixel);

  // --- drawing ---
  // Fills the rectangle (the whole surface for null) with a pixel value, clipped.
  SurfaceResult Fill(const PixelRect* rect, uint32_t pixel);
  // Copies source (its rectangle, or all of it) onto this surface's rectangle (or all of it),
  // stretching when the sizes differ, clipped to both surfaces. Fails with SurfaceLost when
  // either surface is lost and SurfaceBusy when either is locked.
  SurfaceResult Blit(const PixelRect* destRect, Surface& source, const PixelRect* sourceRect,
                     uint32_t flags = BlitPlain);
  // Exchanges the pictures of two surfaces of one size and format, as a display flip does.
  SurfaceResult Flip(Surface& back);

  // Takes the whole picture (and palette) of a surface of the same size and format, as one
  // copy of memory; false when the two differ.
  bool CopyPixels(const Surface& source);
  // Copies a picture onto the whole surface, stretched to fit, each colour converted by
  // ColorToPixel. A picture whose colours do not fill its width and height is refused
  // (InvalidArgument).
  SurfaceResult WriteImage(const Image& image);
  // The surface's picture as colours.
  Image ReadImage() const;
  // The picture converted into an SDL surface of any format, the same size (the hosts'
  // presentation path); false on a size mismatch or a failed conversion.
  bool CopyTo(SDL_Surface* target) const;
  // The picture's memory for reading, rows Pitch() bytes apart.
  const uint8_t* Pixels() const;

 private:
  Surface() = default;
  SurfaceResult RowBlit(const PixelRect& dest, Surface& source, const PixelRect& src,
                         uint32_t flags);

  SDL_Surface* sdl_ = nullptr;
  int width_ = 0, height_ = 0;
  PixelFormat format_;
  PaletteEntry palette_[256] = {};
  bool hasKey_ = false;
  uint32_t key_ = 0;
  bool lost_ = false;
  bool locked_ = false;
};

// Marks every surface that exists lost, as a display switch by another program does.
void LoseAllSurfaces();
// For tests: the next n blits find every existing surface lost before they start.
void LoseSurfacesBeforeBlits(int n);

}  // namespace platform
