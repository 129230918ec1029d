#include "platform/text.h"

namespace platform {

SurfaceResult DrawText(Surface& surface, const Font& font, int x, int y, const char* text,
                       size_t n, uint32_t color) {
  if (surface.IsLost()) return SurfaceResult::SurfaceLost;
  if (surface.Locked()) return SurfaceResult::SurfaceBusy;
  const uint32_t pixel = surface.MatchColor(color);
  font.Rasterise(text, n, [&](int px, int py) { surface.PutPixel(x + px, y + py, pixel); });
  return SurfaceResult::Ok;
}

std::unique_ptr<Font> HostFont() {
  FontRequest request;
  request.face = "Arial";
  request.height = -16;
  return Font::Create(request);
}

}  // namespace platform
