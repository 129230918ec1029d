// Drawing on a surface the way the engine's debug and effect drawing expects: single
// pixels, one-pixel lines that leave out their end pixel, and hollow ellipses inside a
// bounding box whose right and bottom edges are exclusive. Colours are 0x00BBGGRR.
// Everything is clipped to the surface.
#pragma once

#include <cstdint>

#include "platform/surface.h"

namespace platform {

class Canvas {
 public:
  // A canvas is usable only while its surface is neither lost nor locked.
  explicit Canvas(Surface& surface);
  bool Ready() const { return ready_; }
  // Why the canvas is not ready (Ok when it is).
  SurfaceResult Status() const { return status_; }
  Surface& Target() { return surface_; }

  // The pen: the colour of lines and outlines; black at first.
  void SetPen(uint32_t color) { pen_ = color; }
  uint32_t Pen() const { return pen_; }

  void SetPixel(int x, int y, uint32_t color);
  // The colour at (x, y); 0xFFFFFFFF outside the surface.
  uint32_t GetPixel(int x, int y) const;

  // The pen position, and a line from it to (x, y) without the end pixel; the end becomes
  // the new position.
  void MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
  }
  void LineTo(int x, int y);
  void Line(int x1, int y1, int x2, int y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
  }
  // The outline of the ellipse that fits in (left, top) - (right, bottom), exclusive.
  void Ellipse(int left, int top, int right, int bottom);

 private:
  void Plot(int x, int y);

  Surface& surface_;
  bool ready_ = false;
  SurfaceResult status_ = SurfaceResult::Ok;
  uint32_t pen_ = 0;
  uint32_t penPixel_ = 0;
  uint32_t penPixelFor_ = 0xFFFFFFFF;
  int penX_ = 0, penY_ = 0;
};

}  // namespace platform
