#include "platform/text.h"

#include <algorithm>

#include "platform/host.h"

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

std::vector<std::string> LinesThatFit(const Font& font, const std::string& text, int width) {
  for (size_t columns = kBoxColumns;; --columns) {
    std::vector<std::string> lines;
    const std::string broken = BreakIntoLines(text, columns);
    for (size_t at = 0, end; at <= broken.size(); at = end + 1) {
      end = std::min(broken.find('\n', at), broken.size());
      lines.push_back(broken.substr(at, end - at));
    }
    if (columns == 1 || std::all_of(lines.begin(), lines.end(), [&](const std::string& line) {
          return font.Measure(line.data(), line.size()).width <= width;
        }))
      return lines;
  }
}

}  // namespace platform
