// Solid shapes on a canvas, as the screen wipes need them: filled rectangles, and regions
// built from rectangles and ellipses whose difference can be filled in one colour.
// Right and bottom edges are exclusive; a box given with its corners swapped is the same
// box. Coordinates may lie far outside the surface: only rows and spans that meet it are
// ever computed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/canvas.h"

namespace platform {

// A half-open run of pixels [begin, end) in one row.
struct Span {
  int64_t begin = 0, end = 0;
};

// A set of pixels: a rectangle, an ellipse, or the pixels of one region not in another.
// Copies share their shapes, which never change.
class Region {
 public:
  // The empty region.
  Region() = default;
  static Region Rectangle(int left, int top, int right, int bottom);
  // The pixels whose centres lie inside the ellipse that fits the box.
  static Region Ellipse(int left, int top, int right, int bottom);
  // The pixels of a that are not in b.
  static Region Difference(const Region& a, const Region& b);

  bool Empty() const;
  bool Contains(int x, int y) const;
  // The box every pixel of the region lies in (empty for the empty region).
  PixelRect Bounds() const;
  // The runs of row y, ascending and apart, replacing the contents of out.
  void RowSpans(int y, std::vector<Span>& out) const;

 private:
  struct Shape;
  explicit Region(std::shared_ptr<const Shape> shape) : shape_(std::move(shape)) {}
  std::shared_ptr<const Shape> shape_;
};

// The rectangle filled in one colour, outline included, as a pen and a brush of the same
// colour draw it. Nothing when the canvas is not ready.
void FillRectangle(Canvas& canvas, int left, int top, int right, int bottom, uint32_t color);
// Every pixel of the region that lies on the surface, in one colour.
void FillRegion(Canvas& canvas, const Region& region, uint32_t color);

}  // namespace platform
