#include "platform/canvas_regions.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {

struct Region::Shape {
  enum Kind { Box, Oval, Minus } kind;
  // Normalised box of Box and Oval, and the bounds of every kind.
  int64_t left = 0, top = 0, right = 0, bottom = 0;
  std::shared_ptr<const Shape> a, b;  // Minus: a less b

  void Spans(int64_t y, std::vector<Span>& out) const;
};

namespace {

// out = a less b; both ascending and apart.
void Subtract(const std::vector<Span>& a, const std::vector<Span>& b, std::vector<Span>& out) {
  out.clear();
  size_t j = 0;
  for (Span s : a) {
    while (j < b.size() && b[j].end <= s.begin) ++j;
    int64_t from = s.begin;
    for (size_t k = j; k < b.size() && b[k].begin < s.end; ++k) {
      if (b[k].begin > from) out.push_back({from, b[k].begin});
      from = std::max(from, b[k].end);
    }
    if (from < s.end) out.push_back({from, s.end});
  }
}

}  // namespace

void Region::Shape::Spans(int64_t y, std::vector<Span>& out) const {
  out.clear();
  if (y < top || y >= bottom) return;
  switch (kind) {
    case Box:
      out.push_back({left, right});
      return;
    case Oval: {
      double cx = (double(left) + double(right)) / 2, rx = (double(right) - double(left)) / 2;
      double cy = (double(top) + double(bottom)) / 2, ry = (double(bottom) - double(top)) / 2;
      double dy = (double(y) + 0.5 - cy) / ry;
      double half = rx * std::sqrt(std::max(0.0, 1 - dy * dy));
      // Pixel x is inside when its centre x + 0.5 lies within half of the centre.
      int64_t from = std::max<int64_t>(left, int64_t(std::ceil(cx - half - 0.5)));
      int64_t to = std::min<int64_t>(right, int64_t(std::floor(cx + half - 0.5)) + 1);
      if (from < to) out.push_back({from, to});
      return;
    }
    case Minus: {
      std::vector<Span> sa, sb;
      a->Spans(y, sa);
      if (sa.empty()) return;
      b->Spans(y, sb);
      Subtract(sa, sb, out);
      return;
    }
  }
}

Region Region::Rectangle(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return Region();
  auto shape = std::make_shared<Shape>();
  shape->kind = Shape::Box;
  shape->left = left, shape->top = top, shape->right = right, shape->bottom = bottom;
  return Region(shape);
}

Region Region::Ellipse(int left, int top, int right, int bottom) {
  Region box = Rectangle(left, top, right, bottom);
  if (box.Empty()) return box;
  auto shape = std::make_shared<Shape>(*box.shape_);
  shape->kind = Shape::Oval;
  return Region(shape);
}

Region Region::Difference(const Region& a, const Region& b) {
  if (a.Empty() || b.Empty()) return a;
  auto shape = std::make_shared<Shape>();
  shape->kind = Shape::Minus;
  shape->left = a.shape_->left, shape->top = a.shape_->top;
  shape->right = a.shape_->right, shape->bottom = a.shape_->bottom;
  shape->a = a.shape_;
  shape->b = b.shape_;
  return Region(shape);
}

bool Region::Empty() const { return !shape_; }

bool Region::Contains(int x, int y) const {
  if (!shape_) return false;
  std::vector<Span> spans;
  shape_->Spans(y, spans);
  for (const Span& s : spans)
    if (x >= s.begin && x < s.end) return true;
  return false;
}

PixelRect Region::Bounds() const {
  if (!shape_) return {};
  return {int(shape_->left), int(shape_->top), int(shape_->right), int(shape_->bottom)};
}

void Region::RowSpans(int y, std::vector<Span>& out) const {
  if (shape_)
    shape_->Spans(y, out);
  else
    out.clear();
}

void FillRectangle(Canvas& canvas, int left, int top, int right, int bottom, uint32_t color) {
  FillRegion(canvas, Region::Rectangle(left, top, right, bottom), color);
}

void FillRegion(Canvas& canvas, const Region& region, uint32_t color) {
  if (!canvas.Ready() || region.Empty()) return;
  Surface& surface = canvas.Target();
  PixelRect bounds = region.Bounds();
  int top = std::max(bounds.top, 0), bottom = std::min(bounds.bottom, surface.Height());
  uint32_t pixel = surface.MatchColor(color);
  std::vector<Span> spans;
  for (int y = top; y < bottom; ++y) {
    region.RowSpans(y, spans);
    for (const Span& s : spans) {
      PixelRect row{int(std::max<int64_t>(s.begin, 0)), y,
                    int(std::min<int64_t>(s.end, surface.Width())), y + 1};
      if (!row.Empty()) surface.Fill(&row, pixel);
    }
  }
}

}  // namespace platform
