#include "platform/canvas_regions.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

namespace platform {
namespace {

int CountFilled(const Surface& s, uint32_t pixel) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(x, y) == pixel;
  return n;
}

TEST(Region, RectanglesAreHalfOpenAndNormalised) {
  Region r = Region::Rectangle(10, 20, 4, 8);  // corners swapped
  EXPECT_EQ(r.Bounds().left, 4);
  EXPECT_EQ(r.Bounds().bottom, 20);
  EXPECT_TRUE(r.Contains(4, 8));
  EXPECT_TRUE(r.Contains(9, 19));
  EXPECT_FALSE(r.Contains(10, 19));
  EXPECT_FALSE(r.Contains(9, 20));
  EXPECT_TRUE(Region::Rectangle(5, 0, 5, 10).Empty());
  EXPECT_TRUE(Region().Empty());
  EXPECT_FALSE(Region().Contains(0, 0));
}

TEST(Region, EllipseFitsItsBoxSymmetrically) {
  Region e = Region::Ellipse(0, 0, 20, 10);
  EXPECT_TRUE(e.Contains(10, 5));
  EXPECT_TRUE(e.Contains(0, 4));  // ends of the long axis
  EXPECT_TRUE(e.Contains(19, 5));
  EXPECT_FALSE(e.Contains(0, 0));
  EXPECT_FALSE(e.Contains(19, 9));
  EXPECT_FALSE(e.Contains(20, 5));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      EXPECT_EQ(e.Contains(x, y), e.Contains(19 - x, y)) << x << "," << y;
      EXPECT_EQ(e.Contains(x, y), e.Contains(x, 9 - y)) << x << "," << y;
    }
  // A circle of radius 50 holds close to pi * 2500 pixels.
  Region c = Region::Ellipse(0, 0, 100, 100);
  int area = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) area += c.Contains(x, y);
  EXPECT_NEAR(area, 7854, 80);
}

TEST(Region, DifferenceLeavesTheHole) {
  Region frame = Region::Difference(Region::Rectangle(0, 0, 10, 10), Region::Rectangle(2, 3, 8, 7));
  std::vector<Span> spans;
  frame.RowSpans(0, spans);
  ASSERT_EQ(spans.size(), 1u);
  EXPECT_EQ(spans[0].begin, 0);
  EXPECT_EQ(spans[0].end, 10);
  frame.RowSpans(3, spans);
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_EQ(spans[0].end, 2);
  EXPECT_EQ(spans[1].begin, 8);
  frame.RowSpans(10, spans);
  EXPECT_TRUE(spans.empty());
  // Less a hole bigger than itself, nothing is left; less nothing, all of it.
  Region none = Region::Difference(Region::Rectangle(0, 0, 4, 4), Region::Rectangle(-9, -9, 9, 9));
  for (int y = 0; y < 4; ++y) {
    none.RowSpans(y, spans);
    EXPECT_TRUE(spans.empty());
  }
  EXPECT_TRUE(Region::Difference(Region::Rectangle(0, 0, 4, 4), Region()).Contains(3, 3));
  // A difference of differences.
  Region ring = Region::Difference(Region::Rectangle(0, 0, 9, 1), Region::Rectangle(2, 0, 7, 1));
  Region cut = Region::Difference(ring, Region::Difference(Region::Rectangle(0, 0, 9, 1), Region::Rectangle(1, 0, 8, 1)));
  EXPECT_FALSE(cut.Contains(0, 0));
  EXPECT_TRUE(cut.Contains(1, 0));
  EXPECT_FALSE(cut.Contains(4, 0));
  EXPECT_TRUE(cut.Contains(7, 0));
  EXPECT_FALSE(cut.Contains(8, 0));
}

TEST(CanvasRegions, FillsClipToTheSurface) {
  auto s = Surface::Create(40, 30, PixelFormat::Xrgb32());
  ASSERT_TRUE(s);
  Canvas canvas(*s);
  uint32_t red = s->MatchColor(0x0000FF);
  FillRectangle(canvas, 35, 25, INT_MAX, INT_MAX, 0x0000FF);
  EXPECT_EQ(CountFilled(*s, red), 5 * 5);
  EXPECT_EQ(s->GetPixel(35, 25), red);
  EXPECT_NE(s->GetPixel(34, 25), red);

  uint32_t green = s->MatchColor(0x00FF00);
  Region hole = Region::Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  FillRegion(canvas, Region::Difference(Region::Rectangle(0, 0, 40, 30), hole), 0x00FF00);
  EXPECT_EQ(CountFilled(*s, green), 0);  // the huge ellipse covers the whole surface
  FillRegion(canvas, Region::Difference(Region::Rectangle(-100, -100, 100, 100), Region::Rectangle(1, 1, 39, 29)),
             0x00FF00);
  EXPECT_EQ(CountFilled(*s, green), 40 * 30 - 38 * 28);
  EXPECT_EQ(s->GetPixel(20, 15), 0u);
}

TEST(CanvasRegions, NothingIsDrawnOnALockedSurface) {
  auto s = Surface::Create(8, 8, PixelFormat::Rgb565());
  LockedPixels memory;
  ASSERT_EQ(s->Lock(memory), SurfaceResult::Ok);
  Canvas canvas(*s);
  s->Unlock();
  FillRectangle(canvas, 0, 0, 8, 8, 0xFFFFFF);
  FillRegion(canvas, Region::Rectangle(0, 0, 8, 8), 0xFFFFFF);
  EXPECT_EQ(CountFilled(*s, 0), 64);
}

}  // namespace
}  // namespace platform
