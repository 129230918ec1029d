#include "platform/headless/headless_video.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

#include "platform/png_writer.h"
#include "../../support/temp_dir.h"

namespace platform {
namespace {

TEST(HeadlessVideo, KeepsPresentedFramesAsColours) {
  HeadlessVideo video;
  video.keepEveryFrame = true;
  for (PixelFormat f : {PixelFormat::Rgb565(), PixelFormat::Rgb24(), PixelFormat::Xrgb32()}) {
    auto frame = Surface::Create(8, 4, f);
    frame->Fill(nullptr, frame->MatchColor(0xFF00FF));
    frame->PutPixel(7, 3, frame->MatchColor(0x00FF00));
    video.Present(*frame);
    EXPECT_EQ(video.lastFrame.At(0, 0), 0xFF00FFu) << f.bitsPerPixel;
    EXPECT_EQ(video.lastFrame.At(7, 3), 0x00FF00u);
  }
  PaletteEntry pal[256] = {};
  pal[5] = {10, 20, 30, 0};
  auto indexed = Surface::Create(2, 2, PixelFormat::Indexed8());
  indexed->SetPalette(pal);
  indexed->Fill(nullptr, 5);
  video.Present(*indexed);
  EXPECT_EQ(video.lastFrame.At(1, 1), ColorRef(10, 20, 30));
  EXPECT_EQ(video.presentedFrames, 4);
  EXPECT_EQ(video.frames.size(), 4u);
}

TEST(HeadlessVideo, GammaRampDarkensWhatIsShown) {
  HeadlessVideo video;
  EXPECT_TRUE(video.GetGammaRamp().IsIdentity());
  GammaTable half = GammaTable::Identity();
  for (int i = 0; i < 256; ++i) half.red[i] = uint16_t(i * 255 / 2);
  video.SetGammaRamp(half);
  auto frame = Surface::Create(2, 2, PixelFormat::Xrgb32());
  frame->Fill(nullptr, frame->MatchColor(0xFFFFFF));
  video.Present(*frame);
  EXPECT_EQ(video.lastFrame.At(0, 0), ColorRef(127, 255, 255));  // 32512 shows as 127
}

TEST(HeadlessVideo, AFrameShowsWhatWasPresentedThoughReadLater) {
  HeadlessVideo video;
  GammaTable half = GammaTable::Identity();
  for (int i = 0; i < 256; ++i) half.blue[i] = uint16_t(i * 255 / 2);
  video.SetGammaRamp(half);
  auto frame = Surface::Create(4, 4, PixelFormat::Rgb565());
  frame->Fill(nullptr, frame->MatchColor(0xFFFFFF));
  video.Present(*frame);
  // Drawing on and a new ramp after the presentation change nothing already shown.
  frame->Fill(nullptr, 0);
  video.SetGammaRamp(GammaTable::Identity());
  EXPECT_EQ(video.lastFrame.At(3, 3), ColorRef(255, 255, 127));
  video.Present(*frame);
  EXPECT_EQ(video.lastFrame.At(3, 3), 0u);
  auto bigger = Surface::Create(6, 5, PixelFormat::Xrgb32());
  bigger->Fill(nullptr, bigger->MatchColor(0x123456));
  video.Present(*bigger);
  EXPECT_EQ(video.lastFrame.width, 6);
  EXPECT_EQ(video.lastFrame.At(5, 4), 0x123456u);
}

TEST(HeadlessVideo, RefusedModesAndPng) {
  HeadlessVideo video;
  video.refusedModes.push_back({800, 600, 24});
  EXPECT_FALSE(video.SetMode(800, 600, 24, true));
  EXPECT_TRUE(video.SetMode(800, 600, 24, false));  // a window takes any size
  EXPECT_TRUE(video.SetMode(640, 480, 16, true));
  EXPECT_FALSE(video.SaveLastFrame("/tmp/never.png"));

  testing_support::TempDir dir;
  auto frame = Surface::Create(3, 2, PixelFormat::Rgb565());
  frame->PutPixel(2, 1, frame->MatchColor(0x0000FF));
  video.Present(*frame);
  ASSERT_TRUE(video.SaveLastFrame(dir.File("f.png")));
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&png, dir.File("f.png").c_str()));
  png.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
  ASSERT_TRUE(png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr));
  EXPECT_EQ(png.width, 3u);
  EXPECT_EQ(png.height, 2u);
  EXPECT_EQ(rgb[15], 255);  // red of the last pixel
  EXPECT_EQ(rgb[16], 0);
  EXPECT_EQ(rgb[0], 0);
  EXPECT_FALSE(WritePng(dir.File("no/such/dir.png"), video.lastFrame));
}

}  // namespace
}  // namespace platform
