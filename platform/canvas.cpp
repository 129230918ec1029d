#include "platform/canvas.h"

#include <cstdlib>
#include <utility>

namespace platform {

Canvas::Canvas(Surface& surface) : surface_(surface) {
  if (surface.IsLost())
    status_ = SurfaceResult::SurfaceLost;
  else if (surface.Locked())
    status_ = SurfaceResult::SurfaceBusy;
  ready_ = status_ == SurfaceResult::Ok;
}

void Canvas::SetPixel(int x, int y, uint32_t color) {
  if (!ready_) return;
  surface_.PutPixel(x, y, surface_.MatchColor(color));
}

uint32_t Canvas::GetPixel(int x, int y) const {
  if (!ready_ || x < 0 || y < 0 || x >= surface_.Width() || y >= surface_.Height()) return 0xFFFFFFFF;
  return PixelToColor(surface_.Format(), surface_.Palette(), surface_.GetPixel(x, y));
}

void Canvas::Plot(int x, int y) {
  if (penPixelFor_ != pen_) {
    penPixel_ = surface_.MatchColor(pen_);
    penPixelFor_ = pen_;
  }
  surface_.PutPixel(x, y, penPixel_);
}

void Canvas::LineTo(int x, int y) {
  int x0 = penX_, y0 = penY_;
  penX_ = x;
  penY_ = y;
  if (!ready_) return;
  int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
  int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  while (x0 != x || y0 != y) {
    Plot(x0, y0);
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
  if (!ready_) return;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  // Midpoint ellipse fitted to the pixel box, so even and odd sizes are symmetric.
  int64_t x0 = left, y0 = top, x1 = right - 1, y1 = bottom - 1;
  int64_t a = x1 - x0, b = y1 - y0, b1 = b & 1;
  int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
  int64_t err = dx + dy + b1 * a * a, e2;
  y0 += (b + 1) / 2;
  y1 = y0 - b1;
  a *= 8 * a;
  b1 = 8 * b * b;
  do {
    Plot(int(x1), int(y0));
    Plot(int(x0), int(y0));
    Plot(int(x0), int(y1));
    Plot(int(x1), int(y1));
    e2 = 2 * err;
    if (e2 <= dy) {
      y0++;
      y1--;
      err += dy += a;
    }
    if (e2 >= dx || 2 * err > dy) {
      x0++;
      x1--;
      err += dx += b1;
    }
  } while (x0 <= x1);
  while (y0 - y1 < b) {  // a box one pixel wide ends early: finish its tips
    Plot(int(x0 - 1), int(y0));
    Plot(int(x1 + 1), int(y0++));
    Plot(int(x0 - 1), int(y1));
    Plot(int(x1 + 1), int(y1--));
  }
}

}  // namespace platform
