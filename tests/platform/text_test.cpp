#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace platform {
namespace {

TEST(Text, DrawsOneColourOverWhatWasThere) {
  auto surface = Surface::Create(120, 40, PixelFormat::Rgb565());
  ASSERT_TRUE(surface);
  const uint32_t background = ColorRef(0, 0, 255);
  surface->Fill(nullptr, surface->MatchColor(background));
  FontRequest request;
  request.height = -21;
  auto font = Font::Create(request);
  ASSERT_TRUE(font);

  const uint32_t red = ColorRef(255, 0, 0);
  ASSERT_EQ(DrawText(*surface, *font, 10, 5, "Hello", 5, red), SurfaceResult::Ok);
  const uint32_t drawn = PixelToColor(surface->Format(), nullptr, surface->MatchColor(red));
  Image image = surface->ReadImage();
  int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN, inked = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      uint32_t c = image.At(x, y);
      if (c == background) continue;
      // No antialiasing: every pixel is the text colour or the untouched background.
      ASSERT_EQ(c, drawn);
      ++inked;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  ASSERT_GT(inked, 20);
  EXPECT_GE(left, 10);
  EXPECT_LT(right, 10 + font->Measure("Hello", 5).width);
  EXPECT_GE(top, 5);
  EXPECT_LT(bottom, 5 + font->Height());
}

TEST(Text, ClipsAndRefusesLostSurfaces) {
  auto surface = Surface::Create(8, 8, PixelFormat::Xrgb32());
  ASSERT_TRUE(surface);
  FontRequest request;
  request.height = -40;
  auto font = Font::Create(request);
  ASSERT_TRUE(font);
  // Mostly outside: clipped, no fault.
  EXPECT_EQ(DrawText(*surface, *font, -10, -10, "WW", 2, ColorRef(255, 255, 255)),
            SurfaceResult::Ok);
  surface->MarkLost();
  EXPECT_EQ(DrawText(*surface, *font, 0, 0, "W", 1, 0xFFFFFF), SurfaceResult::SurfaceLost);
}

}  // namespace
}  // namespace platform
