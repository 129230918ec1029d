#include "tools/standins/painter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include "platform/font.h"

namespace standins {

namespace {

int Channel(float v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

// One font per face, size and weight for the whole run: finding a face is slow.
const platform::Font* FontFor(const char* face, int height, int weight) {
  static std::map<std::tuple<std::string, int, int>, std::unique_ptr<platform::Font>> fonts;
  auto key = std::make_tuple(std::string(face), height, weight);
  auto found = fonts.find(key);
  if (found == fonts.end()) {
    platform::FontRequest request;
    request.face = face;
    request.height = height;
    request.weight = weight;
    found = fonts.emplace(key, platform::Font::Create(request)).first;
  }
  return found->second.get();
}

}  // namespace

uint16_t To565(uint32_t color) {
  return static_cast<uint16_t>((platform::RedOf(color) >> 3) << 11 |
                               (platform::GreenOf(color) >> 2) << 5 | platform::BlueOf(color) >> 3);
}

uint32_t Shade(uint32_t color, float f) {
  auto scale = [f](int c) {
    return f <= 1.0f ? Channel(c * f) : Channel(c + (255 - c) * (f - 1.0f));
  };
  return Rgb(scale(platform::RedOf(color)), scale(platform::GreenOf(color)),
             scale(platform::BlueOf(color)));
}

uint32_t AwayFromKey(uint32_t color, uint32_t key) {
  if (To565(color) != To565(key)) return color;
  // Red moves by two of its 5-bit steps, away from whichever end is nearer.
  int r = platform::RedOf(color);
  r = r >= 128 ? r - 16 : r + 16;
  return Rgb(r, platform::GreenOf(color), platform::BlueOf(color));
}

void Painter::Clear(uint32_t color) {
  std::fill(image_.colors.begin(), image_.colors.end(), color);
}

void Painter::Pixel(int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return;
  uint32_t& pixel = image_.colors[size_t(y) * image_.width + x];
  if (clip_ && pixel == background_) return;
  pixel = Ink(color);
}

void Painter::Rect(int left, int top, int right, int bottom, uint32_t color) {
  for (int y = std::max(top, 0); y < std::min(bottom, image_.height); ++y)
    for (int x = std::max(left, 0); x < std::min(right, image_.width); ++x) Pixel(x, y, color);
}

void Painter::Frame(int left, int top, int right, int bottom, int thickness, uint32_t color) {
  Rect(left, top, right, top + thickness, color);
  Rect(left, bottom - thickness, right, bottom, color);
  Rect(left, top, left + thickness, bottom, color);
  Rect(right - thickness, top, right, bottom, color);
}

void Painter::Ellipse(float left, float top, float right, float bottom, uint32_t color) {
  const float cx = (left + right) / 2.0f, cy = (top + bottom) / 2.0f;
  const float rx = (right - left) / 2.0f, ry = (bottom - top) / 2.0f;
  if (rx <= 0.0f || ry <= 0.0f) return;
  for (int y = static_cast<int>(std::floor(top)); y < static_cast<int>(std::ceil(bottom)); ++y) {
    for (int x = static_cast<int>(std::floor(left)); x < static_cast<int>(std::ceil(right)); ++x) {
      const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
      if (dx * dx + dy * dy <= 1.0f) Pixel(x, y, color);
    }
  }
}

void Painter::Circle(float cx, float cy, float radius, uint32_t color) {
  Ellipse(cx - radius, cy - radius, cx + radius, cy + radius, color);
}

void Painter::Line(float x1, float y1, float x2, float y2, float width, uint32_t color) {
  const float half = width / 2.0f;
  const int left = static_cast<int>(std::floor(std::min(x1, x2) - half));
  const int right = static_cast<int>(std::ceil(std::max(x1, x2) + half));
  const int top = static_cast<int>(std::floor(std::min(y1, y2) - half));
  const int bottom = static_cast<int>(std::ceil(std::max(y1, y2) + half));
  const float dx = x2 - x1, dy = y2 - y1;
  const float length2 = dx * dx + dy * dy;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      float t = length2 > 0.0f ? ((px - x1) * dx + (py - y1) * dy) / length2 : 0.0f;
      t = std::clamp(t, 0.0f, 1.0f);
      const float ex = px - (x1 + t * dx), ey = py - (y1 + t * dy);
      if (ex * ex + ey * ey <= half * half) Pixel(x, y, color);
    }
  }
}

void Painter::Polygon(const std::vector<Spot>& points, uint32_t color) { EvenOdd({points}, color); }

void Painter::EvenOdd(const std::vector<std::vector<Spot>>& outlines, uint32_t color) {
  std::vector<float> crossings;
  for (int y = 0; y < image_.height; ++y) {
    const float py = y + 0.5f;
    crossings.clear();
    for (const auto& outline : outlines) {
      for (size_t i = 0; i < outline.size(); ++i) {
        const Spot& a = outline[i];
        const Spot& b = outline[(i + 1) % outline.size()];
        if ((a.y <= py) == (b.y <= py)) continue;
        crossings.push_back(a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int from = static_cast<int>(std::ceil(crossings[i] - 0.5f));
      const int to = static_cast<int>(std::ceil(crossings[i + 1] - 0.5f));
      for (int x = from; x < to; ++x) Pixel(x, y, color);
    }
  }
}

int Painter::Text(const std::string& text, int x, int top, int height, uint32_t color,
                  const char* face, int weight) {
  const platform::Font* font = FontFor(face, height, weight);
  if (!font) return 0;
  font->Rasterise(text.data(), text.size(),
                  [&](int px, int py) { Pixel(x + px, top + py, color); });
  return font->Measure(text.data(), text.size()).width;
}

int Painter::TextWidth(const std::string& text, int height, const char* face, int weight) {
  const platform::Font* font = FontFor(face, height, weight);
  return font ? font->Measure(text.data(), text.size()).width : 0;
}

void Painter::CentredText(const std::string& text, int x, int top, int height, uint32_t color,
                          const char* face, int weight) {
  Text(text, x - TextWidth(text, height, face, weight) / 2, top, height, color, face, weight);
}

int Painter::FittingHeight(const std::string& text, int width, int most, const char* face,
                           int weight) {
  int height = most;
  while (height > 6 && TextWidth(text, height, face, weight) > width) --height;
  return height;
}

}  // namespace standins
