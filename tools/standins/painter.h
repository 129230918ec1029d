// Drawing on a picture in memory, for the stand-in art: filled shapes, thick lines,
// polygons filled by the even-odd rule, and text in the project's own fonts. Colours are
// 0x00BBGGRR. A painter may be told the picture's colour key: every colour it puts down is
// then kept apart from the key as the game's 16-bit display sees it (5-6-5), so nothing
// drawn ever turns transparent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace standins {

constexpr uint32_t Rgb(int r, int g, int b) {
  return uint32_t(r & 0xFF) | uint32_t(g & 0xFF) << 8 | uint32_t(b & 0xFF) << 16;
}
// The colour as the 5-6-5 display stores it.
uint16_t To565(uint32_t color);
// The colour scaled toward black (f < 1) or toward white (f > 1).
uint32_t Shade(uint32_t color, float f);
// The colour, moved just enough that it no longer matches the key in 5-6-5.
uint32_t AwayFromKey(uint32_t color, uint32_t key);

struct Spot {
  float x;
  float y;
};

class Painter {
 public:
  // Paints on image; with a key, the colours are kept apart from it.
  explicit Painter(platform::Image& image) : image_(image) {}
  Painter(platform::Image& image, uint32_t key) : image_(image), hasKey_(true), key_(key) {}

  int Width() const { return image_.width; }
  int Height() const { return image_.height; }
  // The colour that will really be put down for the colour asked.
  uint32_t Ink(uint32_t color) const { return hasKey_ ? AwayFromKey(color, key_) : color; }

  void Clear(uint32_t color);  // the colour exactly, key or not
  // While set, only pixels that no longer hold the background colour are painted: the
  // details of a figure stay inside its body.
  void KeepInside(uint32_t background) {
    clip_ = true;
    background_ = background;
  }
  void DrawAnywhere() { clip_ = false; }
  void Pixel(int x, int y, uint32_t color);
  void Rect(int left, int top, int right, int bottom, uint32_t color);  // right, bottom exclusive
  void Frame(int left, int top, int right, int bottom, int thickness, uint32_t color);
  // The ellipse inside the box (right, bottom exclusive).
  void Ellipse(float left, float top, float right, float bottom, uint32_t color);
  void Circle(float cx, float cy, float radius, uint32_t color);
  void Line(float x1, float y1, float x2, float y2, float width, uint32_t color);
  void Polygon(const std::vector<Spot>& points, uint32_t color);
  // Pixels inside an odd number of the closed outlines.
  void EvenOdd(const std::vector<std::vector<Spot>>& outlines, uint32_t color);

  // Text in a face of the given cell height, left-aligned at (x, top); returns its width.
  // Nothing is drawn when no face can be had.
  int Text(const std::string& text, int x, int top, int height, uint32_t color,
           const char* face = "Arial", int weight = 700);
  int TextWidth(const std::string& text, int height, const char* face = "Arial", int weight = 700);
  // Text centred on x.
  void CentredText(const std::string& text, int x, int top, int height, uint32_t color,
                   const char* face = "Arial", int weight = 700);
  // The largest cell height (up to most) at which the text fits the width.
  int FittingHeight(const std::string& text, int width, int most, const char* face = "Arial",
                    int weight = 700);

 private:
  platform::Image& image_;
  bool hasKey_ = false;
  uint32_t key_ = 0;
  bool clip_ = false;
  uint32_t background_ = 0;
};

}  // namespace standins
