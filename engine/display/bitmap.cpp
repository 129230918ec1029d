#include "engine/display/bitmap.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/display/display.h"
#include "platform/bitmap_file.h"
#include "platform/files.h"
#include "platform/host.h"

namespace quor {

namespace {

using platform::Code;
using platform::SurfaceResult;

std::string BitmapPath(const char* name) { return platform::MapPath(std::string(BitmapDirectory) + name); }

}  // namespace

std::unique_ptr<platform::Surface> LoadBitmapSurface(platform::VideoOutput* device, const char* name,
                                                     int32_t width, int32_t height, uint32_t colorKey) {
  if (!device || !name) return nullptr;
  platform::Image file;
  const platform::Image* image = FindBitmapResource(name);
  if (!image) {
    if (!platform::LoadBmpFile(BitmapPath(name), file)) return nullptr;
    image = &file;
  }
  std::unique_ptr<platform::Surface> surface =
      CreateOffscreenSurface(width > 0 ? width : image->width, height > 0 ? height : image->height);
  if (!surface) return nullptr;
  // The key is set before the picture arrives, through the same conversion as its pixels;
  // the picture is stretched to the surface's size as it is written.
  SetSurfaceColorKey(surface.get(), colorKey);
  if (CopyBitmapToSurface(surface.get(), image, 0, 0, 0, 0) != 0) return nullptr;
  return surface;
}

std::unique_ptr<platform::Surface> CopyBitmapSurface(const platform::Surface& picture,
                                                     uint32_t colorKey) {
  std::unique_ptr<platform::Surface> surface =
      platform::Surface::Create(picture.Width(), picture.Height(), picture.Format());
  if (!surface || !surface->CopyPixels(picture)) return nullptr;
  SetSurfaceColorKey(surface.get(), colorKey);
  return surface;
}

uint32_t CopyBitmapToSurface(platform::Surface* surface, const platform::Image* bitmap, int32_t x,
                             int32_t y, int32_t width, int32_t height) {
  if (!surface || !bitmap || bitmap->width < 1 || bitmap->height < 1) return Code(SurfaceResult::Failed);
  surface->Restore();
  if (width == 0) width = bitmap->width;
  if (height == 0) height = bitmap->height;
  // Only the part of the rectangle that lies on the picture is copied.
  int left = std::max(0, x), top = std::max(0, y);
  int right = std::min(bitmap->width, x + width), bottom = std::min(bitmap->height, y + height);
  if (right <= left || bottom <= top) return Code(SurfaceResult::InvalidRect);
  if (left == 0 && top == 0 && right == bitmap->width && bottom == bitmap->height)
    return Code(surface->WriteImage(*bitmap));
  platform::Image part;
  part.width = right - left;
  part.height = bottom - top;
  part.colors.reserve(size_t(part.width) * part.height);
  for (int row = top; row < bottom; ++row)
    for (int col = left; col < right; ++col) part.colors.push_back(bitmap->At(col, row));
  return Code(surface->WriteImage(part));
}

uint32_t MatchSurfaceColor(platform::Surface* surface, uint32_t color) {
  if (!surface || surface->IsLost()) return 0xFFFFFFFF;
  uint32_t value = surface->MatchColor(color);
  int bits = surface->Format().bitsPerPixel;
  if (bits < 32) value &= (1u << bits) - 1;
  return value;
}

uint32_t SetSurfaceColorKey(platform::Surface* surface, uint32_t color) {
  if (!surface) return Code(SurfaceResult::InvalidObject);
  surface->SetColorKey(MatchSurfaceColor(surface, color));
  return 0;
}

std::unique_ptr<BitmapPalette> LoadBitmapPalette(platform::VideoOutput* device, const char* name) {
  if (!device || !name) return nullptr;
  std::FILE* f = platform::OpenFileForReading(BitmapPath(name));
  if (!f) return nullptr;
  uint8_t fileHeader[14] = {}, info[40] = {}, table[1024] = {};
  // A short file leaves the rest of each block zero.
  size_t gotHeader = std::fread(fileHeader, 1, sizeof fileHeader, f);
  size_t gotInfo = gotHeader == sizeof fileHeader ? std::fread(info, 1, sizeof info, f) : 0;
  if (gotInfo == sizeof info) (void)std::fread(table, 1, sizeof table, f);
  std::fclose(f);
  uint32_t infoSize = info[0] | (info[1] << 8) | (info[2] << 16) | (uint32_t(info[3]) << 24);
  uint32_t bitCount = info[14] | (info[15] << 8);
  uint32_t used = info[32] | (info[33] << 8) | (info[34] << 16) | (uint32_t(info[35]) << 24);
  uint32_t count = 0;
  if (infoSize == 40 && bitCount <= 8) count = used ? used : (1u << bitCount);
  count = std::min<uint32_t>(count, 256);
  auto palette = std::make_unique<BitmapPalette>();
  for (uint32_t i = 0; i < 256; ++i) {
    const uint8_t* q = table + 4 * i;
    platform::PaletteEntry& e = palette->entries[i];
    if (i < count) {
      e = {q[2], q[1], q[0], 4};  // blue-green-red becomes red-green-blue, never collapsed
    } else {
      e = {q[0], q[1], q[2], q[3]};  // the bytes as read
    }
  }
  return palette;
}

const char* DrawErrorText(uint32_t result) {
  switch (result) {
    case 0x80004005: return "There is an undefined error condition.";
    case 0x80004001: return " The operation is not supported.";
    case 0x80070057: return "One or more of the parameters passed to the method are incorrect.";
    case 0x8876006E: return "DirectDraw does not support the provided clip list.";
    case 0x88760082: return "DirectDraw received a pointer that was an invalid DirectDraw object.";
    case 0x88760096: return "The provided rectangle was invalid.";
    case 0x887600B4:
      return "No alpha acceleration hardware is present or available, causing the failure of the "
             "requested operation.";
    case 0x887600CD: return "No clip list is available.";
    case 0x887600FA:
      return "The operation cannot be carried out because no mirroring hardware is present or "
             "available.";
    case 0x88760118:
      return "The operation cannot be carried out because no appropriate raster operation hardware is "
             "present or available.";
    case 0x88760122:
      return "The operation cannot be carried out because no rotation hardware is present or "
             "available.";
    case 0x88760136:
      return "The operation cannot be carried out because there is no hardware support for "
             "stretching.";
    case 0x88760154:
      return "The operation to create a z-buffer in display memory or to perform a blit using a "
             "z-buffer cannot be carried out because there is no hardware support for z-buffers.";
    case 0x887601AE:
      return "Access to the surface is refused because the surface is locked by another thread.";
    case 0x887601C2:
      return "Access to the surface is refused because the surface memory is gone. The "
             "DirectDrawSurface object representing this surface should have the "
             "IDirectDrawSurface3::Restore method called on it.";
    case 0x8876021C:
      return "The previous blit operation that is transferring information to or from this surface "
             "is incomplete.";
    case 0x8876023F: return "No blitter hardware is present.";
    case 0x88760240: return "No DirectDraw raster operation (ROP) hardware is available.";
    default: return nullptr;
  }
}

void ReportDrawError(uint32_t result, const char* location) {
  if (result == 0 || !platform::HasHost()) return;
  // The text holds 48 characters, so the location is cut to 24 rather than overrun.
  std::string where = location ? std::string(location).substr(0, 24) : std::string();
  platform::Host& host = platform::CurrentHost();
  host.ShowMessageBox("Blt Error ! Location : " + where, "Error", platform::MessageBoxIcon::None);
  if (const char* text = DrawErrorText(result))
    host.ShowMessageBox(text, "Error", platform::MessageBoxIcon::None);
}

}  // namespace quor
