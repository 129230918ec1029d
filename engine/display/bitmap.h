// Pictures from bitmaps: a bitmap built into the program, else a file under the bitmap
// directory, turned into an off-screen surface with its source colour key; the palette
// of an 8-bit bitmap file; and the boxes that report a failed drawing call.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/surface.h"

namespace platform {
class VideoOutput;
}

namespace quor {

// A 256-entry palette read from a bitmap file.
struct BitmapPalette {
  platform::PaletteEntry entries[256];
};

// A new surface holding the picture named, from the built-in bitmaps first, else from the
// file BitmapDirectory + name, stretched to the size asked for (0 = the picture's own width
// or height) and keyed on the colour; null when the picture cannot be had. The caller owns
// the surface.
std::unique_ptr<platform::Surface> LoadBitmapSurface(platform::VideoOutput* device, const char* name,
                                                     int32_t width, int32_t height, uint32_t colorKey);
// A new surface of the size, format and picture of the one given, keyed on the colour: a
// second load of the same bitmap without reading its file again. Null when no surface can
// be made.
std::unique_ptr<platform::Surface> CopyBitmapSurface(const platform::Surface& picture,
                                                     uint32_t colorKey);
// Copies the picture's rectangle at (x, y) of the size given (0 = the picture's full width
// or height) onto the whole surface, stretching as needed. Returns a result code.
uint32_t CopyBitmapToSurface(platform::Surface* surface, const platform::Image* bitmap, int32_t x,
                             int32_t y, int32_t width, int32_t height);
// The surface's pixel value for a colour 0x00BBGGRR, masked to its depth; 0xFFFFFFFF for
// no surface.
uint32_t MatchSurfaceColor(platform::Surface* surface, uint32_t color);
// Sets the surface's source colour key to the colour; returns a result code.
uint32_t SetSurfaceColorKey(platform::Surface* surface, uint32_t color);
// The palette of the bitmap file BitmapDirectory + name (never a built-in bitmap), or null
// when the file does not open.
std::unique_ptr<BitmapPalette> LoadBitmapPalette(platform::VideoOutput* device, const char* name);
// Shows the boxes of a failed drawing call: nothing for 0; else "Blt Error ! Location : "
// with the location, then the code's own text when it is one of the known codes.
void ReportDrawError(uint32_t result, const char* location);
// The text shown for a result code, or null for a code without one.
const char* DrawErrorText(uint32_t result);

// The bitmaps built into the program ("TEXTSCURSOR", "ICON", "CURSOR"), found by name
// regardless of case; null for any other name.
const platform::Image* FindBitmapResource(const char* name);

}  // namespace quor
