#include "engine/display/translucent_blit.h"

#include <gtest/gtest.h>

#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "engine/display/geometrics_drawn.h"
#include "engine/scene/game_node.h"
#include "platform/headless/headless_host.h"

namespace quor {
namespace {

using platform::PixelFormat;
using platform::Surface;

std::unique_ptr<Surface> Filled(const PixelFormat& f, int w, int h, uint32_t pixel) {
  auto s = Surface::Create(w, h, f);
  s->Fill(nullptr, pixel);
  return s;
}

TEST(TranslucentBlit, Mixes565AsWorked) {
  auto dst = Filled(PixelFormat::Rgb565(), 4, 4, 20u << 11);
  auto src = Filled(PixelFormat::Rgb565(), 4, 4, 20u << 11);
  EXPECT_EQ(TranslucentBlit(dst.get(), 0, 0, 100, src.get(), nullptr, 100, false), 0u);
  EXPECT_EQ(dst->GetPixel(1, 1) >> 11, 31u);  // 40 clamped
  dst->Fill(nullptr, 20u << 11);
  TranslucentBlit(dst.get(), 0, 0, 50, src.get(), nullptr, 50, false);
  EXPECT_EQ(dst->GetPixel(1, 1) >> 11, 19u);  // 0.01 in single precision rounds down
  // Green has six bits: 63 is its maximum.
  auto g = Filled(PixelFormat::Rgb565(), 2, 2, 50u << 5);
  auto g2 = Filled(PixelFormat::Rgb565(), 2, 2, 50u << 5);
  TranslucentBlit(g.get(), 0, 0, 100, g2.get(), nullptr, 100, false);
  EXPECT_EQ(g->GetPixel(0, 0), 63u << 5);
  EXPECT_FALSE(dst->Locked());
  EXPECT_FALSE(src->Locked());
}

TEST(TranslucentBlit, MixesByTheSurfacesOwnMasks) {
  // 5-5-5: red sits at bit 10; mixing must not smear it into green.
  PixelFormat f = PixelFormat::Rgb555();
  auto dst = Filled(f, 2, 2, 10u << 10);
  auto src = Filled(f, 2, 2, (10u << 10) | 31u);
  TranslucentBlit(dst.get(), 0, 0, 100, src.get(), nullptr, 100, false);
  EXPECT_EQ(dst->GetPixel(0, 0), (19u << 10) | 30u);  // each sum comes out one less
  // 24 and 32 bits: the three colour bytes; the fourth byte of 32 bits stays.
  auto d24 = Filled(PixelFormat::Rgb24(), 2, 2, 0x102030);
  auto s24 = Filled(PixelFormat::Rgb24(), 2, 2, 0x302010);
  TranslucentBlit(d24.get(), 0, 0, 100, s24.get(), nullptr, 100, false);
  EXPECT_EQ(d24->GetPixel(1, 1), 0x3F3F3Fu);
  auto d32 = Filled(PixelFormat::Xrgb32(), 2, 2, 0xAA0000F0);
  auto s32 = Filled(PixelFormat::Xrgb32(), 2, 2, 0x55000020);
  TranslucentBlit(d32.get(), 0, 0, 100, s32.get(), nullptr, 100, false);
  EXPECT_EQ(d32->GetPixel(1, 1), 0xAA0000FFu);
}

TEST(TranslucentBlit, KeyedPixelsLeaveTheDestination) {
  // Double weight on nothing shows pure colours as they are (full channels clamp).
  for (PixelFormat f : {PixelFormat::Rgb565(), PixelFormat::Rgb24(), PixelFormat::Xrgb32()}) {
    auto dst = Filled(f, 3, 1, 0);
    auto src = Surface::Create(3, 1, f);
    uint32_t key = src->MatchColor(0x00FF00);
    // Same green, other channels different: only the whole pixel counts as the key.
    src->PutPixel(0, 0, key);
    src->PutPixel(1, 0, src->MatchColor(0x00FFFF));
    src->PutPixel(2, 0, src->MatchColor(0xFF00FF));
    src->SetColorKey(key);
    TranslucentBlit(dst.get(), 0, 0, 0, src.get(), nullptr, 200, true);
    EXPECT_EQ(dst->GetPixel(0, 0), 0u) << f.bitsPerPixel;
    EXPECT_EQ(dst->GetPixel(1, 0), src->MatchColor(0x00FFFF));
    EXPECT_EQ(dst->GetPixel(2, 0), src->MatchColor(0xFF00FF));
    dst->Fill(nullptr, 0);
    TranslucentBlit(dst.get(), 0, 0, 0, src.get(), nullptr, 200, false);
    EXPECT_EQ(dst->GetPixel(0, 0), key);
  }
  // A source without a key is blitted whole.
  auto dst = Filled(PixelFormat::Rgb565(), 1, 1, 0);
  auto src = Filled(PixelFormat::Rgb565(), 1, 1, 0x07E0);
  TranslucentBlit(dst.get(), 0, 0, 0, src.get(), nullptr, 200, true);
  EXPECT_EQ(dst->GetPixel(0, 0), 0x07E0u);
}

TEST(TranslucentBlit, ClippedOnEverySide) {
  PixelFormat f = PixelFormat::Rgb565();
  struct Case {
    int x, y;
  };
  for (Case c : {Case{-2, 0}, Case{0, -2}, Case{3, 0}, Case{0, 3}, Case{-2, -2}, Case{4, 4}, Case{-100, 50}}) {
    auto dst = Filled(f, 5, 5, 0);
    auto src = Filled(f, 4, 4, 0xFFFF);
    EXPECT_EQ(TranslucentBlit(dst.get(), c.x, c.y, 100, src.get(), nullptr, 100, false), 0u);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) {
        bool inside = x >= c.x && x < c.x + 4 && y >= c.y && y < c.y + 4;
        EXPECT_EQ(dst->GetPixel(x, y) != 0, inside) << c.x << "," << c.y << " at " << x << "," << y;
      }
  }
  // A source rectangle partly outside the source is cut to it.
  auto dst = Filled(f, 8, 8, 0);
  auto src = Filled(f, 4, 4, 0xFFFF);
  Rect r{2, 2, 10, 10};
  TranslucentBlit(dst.get(), 0, 0, 100, src.get(), &r, 100, false);
  // Full weight on black keeps one step less than the source: 31 becomes 30.
  EXPECT_EQ(dst->GetPixel(1, 1), (30u << 11) | (62u << 5) | 30u);
  EXPECT_EQ(dst->GetPixel(2, 2), 0u);
}

TEST(TranslucentBlit, FailuresUnlockBothSurfaces) {
  auto a = Filled(PixelFormat::Rgb565(), 2, 2, 0);
  auto b = Filled(PixelFormat::Xrgb32(), 2, 2, 0);
  EXPECT_EQ(TranslucentBlit(a.get(), 0, 0, 100, b.get(), nullptr, 50, false), 0x80004005u);
  EXPECT_FALSE(a->Locked());
  EXPECT_FALSE(b->Locked());
  b->MarkLost();
  EXPECT_EQ(TranslucentBlit(a.get(), 0, 0, 100, b.get(), nullptr, 50, false), 0x887601C2u);
  EXPECT_FALSE(a->Locked());
  b->Restore();
}

TEST(TranslucentBlit, EightBitMixesThroughThePalette) {
  platform::PaletteEntry pal[256] = {};
  pal[1] = {200, 0, 0, 0};
  pal[2] = {0, 0, 200, 0};
  pal[3] = {100, 0, 100, 0};
  auto dst = Filled(PixelFormat::Indexed8(), 1, 1, 1);
  auto src = Filled(PixelFormat::Indexed8(), 1, 1, 2);
  src->SetPalette(pal);
  TranslucentBlit(dst.get(), 0, 0, 51, src.get(), nullptr, 51, false);
  EXPECT_EQ(dst->GetPixel(0, 0), 3u);
}

TEST(GeometricsDrawn, LinesAndCirclesInWorldCoordinates) {
  platform::HeadlessHost host;
  platform::InstallHost(&host);
  ASSERT_TRUE(InitGraphics());
  GameNode scene;
  GameNode* saved = CurrentGameNode;
  CurrentGameNode = &scene;
  scene.viewPort.SetLeft(30.5f);
  GeometricsDrawn g;
  g.DrawLine(100.7f, 50.2f, 200.0f, 50.9f, 0xFFFFFF);
  uint32_t white = BackBuffer->MatchColor(0xFFFFFF);
  EXPECT_EQ(BackBuffer->GetPixel(69, 50), white);
  EXPECT_EQ(BackBuffer->GetPixel(168, 50), white);
  EXPECT_EQ(BackBuffer->GetPixel(169, 50), 0u);  // the end pixel is left out
  EXPECT_EQ(BackBuffer->GetPixel(68, 50), 0u);
  scene.viewPort.SetLeft(0);
  g.DrawCircle(320, 240, 10, 0x0000FF);
  uint32_t red = BackBuffer->MatchColor(0x0000FF);
  EXPECT_EQ(BackBuffer->GetPixel(310, 240), red);
  EXPECT_EQ(BackBuffer->GetPixel(329, 240), red);
  EXPECT_EQ(BackBuffer->GetPixel(320, 240), 0u);
  BackBuffer->MarkLost();
  g.DrawLine(0, 0, 5, 5, 0);
  g.DrawCircle(0, 0, 5, 0);
  ASSERT_EQ(host.messageBoxes.size(), 2u);
  EXPECT_EQ(host.messageBoxes[0].text, "error");
  EXPECT_EQ(host.messageBoxes[0].caption, "error drawing line in GeometricsDrawn class");
  EXPECT_EQ(host.messageBoxes[1].caption, "error drawing circle in GeometricsDrawn class");
  CurrentGameNode = saved;
  ReleaseGraphics();
  platform::InstallHost(nullptr);
}

}  // namespace
}  // namespace quor
