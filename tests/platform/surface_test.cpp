#include "platform/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/canvas.h"

namespace platform {
namespace {

const PixelFormat kFormats[] = {PixelFormat::Rgb565(), PixelFormat::Rgb555(), PixelFormat::Rgb24(),
                                PixelFormat::Xrgb32()};

// A picture with a keyed border and a distinct colour in each quadrant.
std::unique_ptr<Surface> Sprite(const PixelFormat& f) {
  auto s = Surface::Create(8, 6, f);
  s->SetColorKey(s->MatchColor(0x00FF00));
  s->Fill(nullptr, s->MatchColor(0x00FF00));
  for (int y = 1; y < 5; ++y)
    for (int x = 1; x < 7; ++x) s->PutPixel(x, y, s->MatchColor(x < 4 ? 0x0000FF : 0xFF0000));
  return s;
}

TEST(Surface, ColorKeysMatchTheirPixelsAtEveryDepth) {
  EXPECT_EQ(ColorToPixel(PixelFormat::Rgb565(), nullptr, 0x00FF00), 0x07E0u);
  EXPECT_EQ(ColorToPixel(PixelFormat::Rgb555(), nullptr, 0x00FF00), 0x03E0u);
  EXPECT_EQ(ColorToPixel(PixelFormat::Xrgb32(), nullptr, 0x00FF00), 0x0000FF00u);
  EXPECT_EQ(ColorToPixel(PixelFormat::Rgb24(), nullptr, 0x0000FF), 0xFF0000u);
  for (const PixelFormat& f : kFormats) {
    auto s = Surface::Create(4, 4, f);
    Image img;
    img.width = img.height = 2;
    img.colors = {0x123456, 0x00FF00, 0xFFFFFF, 0x808080};
    ASSERT_EQ(s->WriteImage(img), SurfaceResult::Ok);
    EXPECT_EQ(s->GetPixel(2, 0), s->MatchColor(0x00FF00)) << f.bitsPerPixel;
    EXPECT_EQ(s->GetPixel(0, 3), s->MatchColor(0xFFFFFF));
    // A picture that claims more rows than its colours hold is refused, the surface kept.
    img.height = 64;
    EXPECT_EQ(s->WriteImage(img), SurfaceResult::InvalidArgument);
    EXPECT_EQ(s->GetPixel(0, 3), s->MatchColor(0xFFFFFF));
  }
  PaletteEntry pal[256] = {};
  pal[7] = {0, 255, 0, 0};
  pal[9] = {250, 0, 0, 0};
  auto s8 = Surface::Create(2, 2, PixelFormat::Indexed8());
  s8->SetPalette(pal);
  EXPECT_EQ(s8->MatchColor(0x00FF00), 7u);
  EXPECT_EQ(s8->MatchColor(0x0000FF), 9u);
}

TEST(Surface, KeyedBlitLeavesNoKeyColouredPixel) {
  for (const PixelFormat& f : kFormats) {
    auto dst = Surface::Create(20, 20, f);
    dst->Fill(nullptr, dst->MatchColor(0x404040));
    auto src = Sprite(f);
    PixelRect at{5, 5, 13, 11};
    ASSERT_EQ(dst->Blit(&at, *src, nullptr, BlitKeySource), SurfaceResult::Ok);
    uint32_t key = dst->MatchColor(0x00FF00);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) EXPECT_NE(dst->GetPixel(x, y), key) << x << "," << y;
    EXPECT_EQ(dst->GetPixel(5, 5), dst->MatchColor(0x404040));
    EXPECT_EQ(dst->GetPixel(6, 6), dst->MatchColor(0x0000FF));
    // Without the key the border is copied.
    dst->Blit(&at, *src, nullptr, BlitPlain);
    EXPECT_EQ(dst->GetPixel(5, 5), key);
  }
}

TEST(Surface, MirroredBlitsTurnThePicture) {
  for (const PixelFormat& f : kFormats) {
    auto src = Surface::Create(3, 2, f);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) src->PutPixel(x, y, src->MatchColor(ColorRef(uint8_t(x * 80), uint8_t(y * 200), 8)));
    auto dst = Surface::Create(3, 2, f);
    dst->Blit(nullptr, *src, nullptr, BlitMirrorLeftRight);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(dst->GetPixel(x, y), src->GetPixel(2 - x, y));
    dst->Blit(nullptr, *src, nullptr, BlitMirrorUpDown);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(dst->GetPixel(x, y), src->GetPixel(x, 1 - y));
    dst->Blit(nullptr, *src, nullptr, BlitMirrorLeftRight | BlitMirrorUpDown);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(dst->GetPixel(x, y), src->GetPixel(2 - x, 1 - y));
  }
}

TEST(Surface, MirroredKeyedBlitIsClippedAtEveryEdge) {
  auto dst = Surface::Create(10, 10, PixelFormat::Rgb565());
  auto src = Sprite(PixelFormat::Rgb565());
  uint32_t key = dst->MatchColor(0x00FF00);
  for (PixelRect r : {PixelRect{-4, -3, 4, 3}, PixelRect{6, 7, 14, 13}, PixelRect{-100, 0, -92, 6}}) {
    dst->Fill(nullptr, 0);
    EXPECT_EQ(dst->Blit(&r, *src, nullptr, BlitKeySource | BlitMirrorLeftRight), SurfaceResult::Ok);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) EXPECT_NE(dst->GetPixel(x, y), key);
  }
  dst->Fill(nullptr, 0);
  PixelRect r{-4, 0, 4, 6};
  dst->Blit(&r, *src, nullptr, BlitKeySource | BlitMirrorLeftRight);
  // Mirrored, the red right half lands on the left, off the surface; blue stays visible.
  EXPECT_EQ(dst->GetPixel(1, 2), dst->MatchColor(0x0000FF));
}

// What a blit means, pixel by pixel: each destination pixel of the rectangle (inside the
// surface) takes the source pixel its place scales to, turned by the mirroring; source
// places outside the source surface and keyed pixels leave the destination as it was.
void ReferenceBlit(Surface& dst, const PixelRect& d, const Surface& src, const PixelRect& s,
                   uint32_t flags, uint32_t key) {
  for (int y = std::max(d.top, 0); y < std::min(d.bottom, dst.Height()); ++y)
    for (int x = std::max(d.left, 0); x < std::min(d.right, dst.Width()); ++x) {
      int64_t ox = int64_t(x - d.left) * s.Width() / d.Width(),
              oy = int64_t(y - d.top) * s.Height() / d.Height();
      int sx = int(flags & BlitMirrorLeftRight ? s.right - 1 - ox : s.left + ox);
      int sy = int(flags & BlitMirrorUpDown ? s.bottom - 1 - oy : s.top + oy);
      if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
      uint32_t v = src.GetPixel(sx, sy);
      if ((flags & BlitKeySource) && v == key) continue;
      dst.PutPixel(x, y, v);
    }
}

TEST(Surface, MirroredAndPaletteBlitsMatchThePixelByPixelMeaning) {
  uint32_t seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 8) % uint32_t(n));
  };
  std::vector<PixelFormat> formats(std::begin(kFormats), std::end(kFormats));
  formats.push_back(PixelFormat::Indexed8());
  for (const PixelFormat& f : formats) {
    auto src = Surface::Create(37, 29, f);
    for (int y = 0; y < 29; ++y)
      for (int x = 0; x < 37; ++x)
        src->PutPixel(x, y, uint32_t(next(7) == 0 ? 5 : next(1 << 16) + 6));
    src->SetColorKey(5);
    auto dst = Surface::Create(64, 48, f), expected = Surface::Create(64, 48, f);
    for (int round = 0; round < 300; ++round) {
      for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) dst->PutPixel(x, y, uint32_t(x * 3 + y * 101));
      expected->Blit(nullptr, *dst, nullptr);
      int sl = next(50) - 8, st = next(40) - 8;
      PixelRect s{sl, st, sl + 1 + next(40), st + 1 + next(32)};
      int dl = next(90) - 20, dt = next(70) - 16;
      bool stretch = round % 4 == 3;
      PixelRect d{dl, dt, dl + (stretch ? 1 + next(50) : s.Width()),
                  dt + (stretch ? 1 + next(40) : s.Height())};
      uint32_t flags = uint32_t(next(8));
      if (!f.Indexed() && !(flags & (BlitMirrorLeftRight | BlitMirrorUpDown)))
        flags |= BlitMirrorUpDown;
      ASSERT_EQ(dst->Blit(&d, *src, &s, flags), SurfaceResult::Ok);
      ReferenceBlit(*expected, d, *src, s, flags, 5);
      for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
          ASSERT_EQ(dst->GetPixel(x, y), expected->GetPixel(x, y))
              << f.bitsPerPixel << " bits, round " << round << " at " << x << "," << y;
    }
  }
}

// Unmirrored, unstretched 16-bit blits between two surfaces go through the same row loop,
// many pixels at a time: rows of up to 100 pixels, hanging over every edge of both surfaces.
TEST(Surface, UnstretchedSixteenBitBlitsMatchThePixelByPixelMeaning) {
  uint32_t seed = 777;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 8) % uint32_t(n));
  };
  for (const PixelFormat& f : {PixelFormat::Rgb565(), PixelFormat::Rgb555()}) {
    auto src = Surface::Create(90, 20, f);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 90; ++x) src->PutPixel(x, y, uint32_t(next(3) == 0 ? 5 : next(1 << 16)));
    src->SetColorKey(5);
    auto dst = Surface::Create(120, 30, f), expected = Surface::Create(120, 30, f);
    for (int round = 0; round < 200; ++round) {
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) dst->PutPixel(x, y, uint32_t(x * 7 + y * 301));
      expected->Blit(nullptr, *dst, nullptr);
      int sl = next(100) - 10, st = next(24) - 4;
      PixelRect s{sl, st, sl + 1 + next(100), st + 1 + next(20)};
      int dl = next(140) - 30, dt = next(40) - 10;
      PixelRect d{dl, dt, dl + s.Width(), dt + s.Height()};
      uint32_t flags = round % 2 ? BlitKeySource : BlitPlain;
      ASSERT_EQ(dst->Blit(&d, *src, &s, flags), SurfaceResult::Ok);
      ReferenceBlit(*expected, d, *src, s, flags, 5);
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
          ASSERT_EQ(dst->GetPixel(x, y), expected->GetPixel(x, y))
              << f.redMask << " red mask, round " << round << " at " << x << "," << y;
    }
  }
}

TEST(Surface, StretchToFrameSize) {
  for (const PixelFormat& f : kFormats) {
    auto src = Surface::Create(2, 2, f);
    src->PutPixel(0, 0, src->MatchColor(0xFFFFFF));
    src->PutPixel(1, 1, src->MatchColor(0x0000FF));
    auto dst = Surface::Create(640, 480, f);
    ASSERT_EQ(dst->Blit(nullptr, *src, nullptr), SurfaceResult::Ok);
    EXPECT_EQ(dst->GetPixel(0, 0), dst->MatchColor(0xFFFFFF));
    EXPECT_EQ(dst->GetPixel(300, 220), dst->MatchColor(0xFFFFFF));
    EXPECT_EQ(dst->GetPixel(340, 260), dst->MatchColor(0x0000FF));
    EXPECT_EQ(dst->GetPixel(639, 479), dst->MatchColor(0x0000FF));
    EXPECT_EQ(dst->GetPixel(639, 0), 0u);
  }
}

TEST(Surface, LostSurfacesRefuseWorkUntilRestored) {
  auto a = Surface::Create(4, 4, PixelFormat::Rgb565());
  auto b = Surface::Create(4, 4, PixelFormat::Rgb565());
  LoseAllSurfaces();
  EXPECT_EQ(a->Blit(nullptr, *b, nullptr), SurfaceResult::SurfaceLost);
  LockedPixels mem;
  EXPECT_EQ(a->Lock(mem), SurfaceResult::SurfaceLost);
  EXPECT_FALSE(Canvas(*a).Ready());
  a->Restore();
  b->Restore();
  EXPECT_EQ(a->Blit(nullptr, *b, nullptr), SurfaceResult::Ok);
  LoseSurfacesBeforeBlits(1);
  EXPECT_EQ(a->Blit(nullptr, *b, nullptr), SurfaceResult::SurfaceLost);
  a->Restore();
  b->Restore();
  EXPECT_EQ(a->Blit(nullptr, *b, nullptr), SurfaceResult::Ok);
  ASSERT_EQ(a->Lock(mem), SurfaceResult::Ok);
  EXPECT_EQ(a->Blit(nullptr, *b, nullptr), SurfaceResult::SurfaceBusy);
  a->Unlock();
}

TEST(Surface, FlipExchangesPictures) {
  auto a = Surface::Create(4, 4, PixelFormat::Rgb565());
  auto b = Surface::Create(4, 4, PixelFormat::Rgb565());
  b->Fill(nullptr, 0x1234);
  ASSERT_EQ(a->Flip(*b), SurfaceResult::Ok);
  EXPECT_EQ(a->GetPixel(3, 3), 0x1234u);
  EXPECT_EQ(b->GetPixel(3, 3), 0u);
}

TEST(Surface, PixelAccessIsClippedAndSizedByDepth) {
  auto s = Surface::Create(3, 2, PixelFormat::Rgb24());
  s->PutPixel(2, 1, 0xABCDEF);
  s->PutPixel(3, 1, 0x111111);
  s->PutPixel(-1, 0, 0x111111);
  EXPECT_EQ(s->GetPixel(2, 1), 0xABCDEFu);
  EXPECT_EQ(s->GetPixel(1, 1), 0u);
  EXPECT_EQ(s->GetPixel(5, 5), 0u);
  EXPECT_EQ(Surface::Create(0, 4, PixelFormat::Rgb565()), nullptr);
  EXPECT_EQ(Surface::Create(4, 4, PixelFormat{12, 0xF00, 0xF0, 0xF}), nullptr);
}

TEST(Canvas, LinesLeaveOutTheirEndPixel) {
  auto s = Surface::Create(10, 10, PixelFormat::Xrgb32());
  Canvas c(*s);
  c.SetPen(0xFFFFFF);
  c.Line(1, 1, 5, 1);
  for (int x = 1; x < 5; ++x) EXPECT_EQ(c.GetPixel(x, 1), 0xFFFFFFu);
  EXPECT_EQ(c.GetPixel(5, 1), 0u);
  c.Line(0, 0, 0, 0);  // nothing at all
  EXPECT_EQ(c.GetPixel(0, 0), 0u);
  c.Line(-5, 8, 20, 8);  // clipped, no fault
  EXPECT_EQ(c.GetPixel(9, 8), 0xFFFFFFu);
}

TEST(Canvas, HollowEllipseFitsItsBox) {
  auto s = Surface::Create(20, 20, PixelFormat::Rgb565());
  Canvas c(*s);
  c.SetPen(0xFFFFFF);
  c.Ellipse(2, 4, 12, 14);  // right and bottom exclusive
  int minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      if (c.GetPixel(x, y) == 0xFFFFFF) {
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  EXPECT_EQ(minX, 2);
  EXPECT_EQ(maxX, 11);
  EXPECT_EQ(minY, 4);
  EXPECT_EQ(maxY, 13);
  EXPECT_EQ(c.GetPixel(7, 9), 0u);  // hollow
  c.Ellipse(-30, -30, 50, 50);      // mostly off the surface
}

}  // namespace
}  // namespace platform
