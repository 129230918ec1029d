#include "engine/display/display.h"

#include <gtest/gtest.h>

#include "engine/core/engine_globals.h"
#include "engine/display/bitmap.h"
#include "engine/display/pixel_writer.h"
#include "platform/headless/headless_host.h"

namespace quor {
namespace {

// Installs a headless host and restores the display and engine globals afterwards.
class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallHost(&host);
    savedWindowed = Windowed;
    savedQuit = QuitRequested;
    savedPaused = Paused;
    Paused = 0;
  }
  void TearDown() override {
    ReleaseGraphics();
    host.video.LoseSurfacesAtNextBlits(0);
    SetScreenMode(640, 480, 16);
    Windowed = savedWindowed;
    QuitRequested = savedQuit;
    Paused = savedPaused;
    platform::InstallHost(nullptr);
  }
  platform::HeadlessHost host;
  uint8_t savedWindowed = 0, savedQuit = 0, savedPaused = 0;
};

TEST_F(DisplayTest, FullScreenFlipsAndPresentsTheBackBuffer) {
  Windowed = 0;
  ASSERT_TRUE(InitGraphics());
  ASSERT_NE(BackBuffer, nullptr);
  EXPECT_EQ(BackBuffer->Format(), platform::PixelFormat::Rgb565());
  EXPECT_EQ(GammaControl, DirectDrawObject);
  EXPECT_NE(ScreenPixelWriter, nullptr);
  EXPECT_TRUE(host.video.fullScreen);
  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0x0000FF));
  PresentFrame();
  EXPECT_EQ(host.video.presentedFrames, 1);
  ASSERT_EQ(host.video.lastFrame.width, 640);
  EXPECT_EQ(host.video.lastFrame.At(100, 100), 0x0000FFu);
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_NE(std::string(BitmapDirectory).find("\\BITMAPS\\"), std::string::npos);
}

TEST_F(DisplayTest, WindowHasDesktopDepthAndNoGamma) {
  Windowed = 1;
  host.video.desktopBitsPerPixel = 32;
  ASSERT_TRUE(InitGraphics());
  EXPECT_EQ(BackBuffer->Format().bitsPerPixel, 32);
  EXPECT_EQ(GammaControl, nullptr);
  EXPECT_FALSE(host.video.fullScreen);
  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0x336699));
  PresentFrame();
  EXPECT_EQ(host.video.lastFrame.At(639, 479), 0x336699u);
}

TEST_F(DisplayTest, NothingIsPresentedWhilePaused) {
  ASSERT_TRUE(InitGraphics());
  Paused = 1;
  host.video.LoseSurfaces();
  PresentFrame();
  EXPECT_EQ(host.video.presentedFrames, 0);
  EXPECT_TRUE(host.messageBoxes.empty());
  host.video.LoseSurfacesAtNextBlits(0);
  RestoreGraphics();
  Windowed = 1;
  RepaintWindow();  // the window's repaint shows the frame even while paused
  EXPECT_EQ(host.video.presentedFrames, 1);
}

TEST_F(DisplayTest, NoDeviceFailsInitGraphics) {
  host.video.failOpen = true;
  EXPECT_FALSE(InitGraphics());
  EXPECT_EQ(DirectDrawObject, nullptr);
}

TEST_F(DisplayTest, RefusedModeShowsItsBoxAndFallsBack) {
  Windowed = 0;
  host.video.refusedModes.push_back({800, 600, 24});
  SetScreenMode(800, 600, 24);
  ASSERT_TRUE(InitGraphics());
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].text, "The mode 800 X 600 X 24 is not supported!");
  EXPECT_EQ(host.messageBoxes[0].caption, "Quor Error.");
  EXPECT_EQ(host.messageBoxes[0].icon, platform::MessageBoxIcon::Exclamation);
  EXPECT_EQ(host.video.width, 640);
  EXPECT_EQ(host.video.bitsPerPixel, 16);
  EXPECT_EQ(QuitRequested, 1);
  // The globals keep the mode asked for, and the surfaces follow them.
  EXPECT_EQ(DisplayWidth, 800u);
  EXPECT_EQ(BackBuffer->Width(), 800);
}

TEST_F(DisplayTest, LostSurfaceIsRestoredAndTheFrameRetriedOnce) {
  Windowed = 0;
  ASSERT_TRUE(InitGraphics());
  host.video.LoseSurfaces();
  PresentFrame();
  EXPECT_EQ(host.video.presentedFrames, 1);
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_FALSE(BackBuffer->IsLost());
}

TEST_F(DisplayTest, SecondLossIsReportedWithBothBoxes) {
  Windowed = 1;
  ASSERT_TRUE(InitGraphics());
  host.video.LoseSurfacesAtNextBlits(2);
  PresentFrame();
  EXPECT_EQ(host.video.presentedFrames, 0);
  ASSERT_EQ(host.messageBoxes.size(), 2u);
  EXPECT_EQ(host.messageBoxes[0].text, "Blt Error ! Location : Brelloc");
  EXPECT_EQ(host.messageBoxes[1].text, DrawErrorText(0x887601C2));
  host.messageBoxes.clear();
  PresentFrame();  // the next frame tries again
  EXPECT_EQ(host.video.presentedFrames, 1);
  EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(DisplayTest, ToggleSwitchesBetweenWindowAndFullScreen) {
  Windowed = 0;
  ASSERT_TRUE(InitGraphics());
  ToggleFullScreen();
  EXPECT_EQ(Windowed, 1);
  EXPECT_FALSE(host.video.fullScreen);
  EXPECT_TRUE(host.cursorVisible);
  EXPECT_EQ(GammaControl, nullptr);
  ToggleFullScreen();
  EXPECT_EQ(Windowed, 0);
  EXPECT_TRUE(host.video.fullScreen);
  EXPECT_FALSE(host.cursorVisible);
  EXPECT_EQ(BackBuffer->Format().bitsPerPixel, 16);
}

TEST_F(DisplayTest, GammaControlDarkensFullScreenOnly) {
  Windowed = 0;
  ASSERT_TRUE(InitGraphics());
  ASSERT_NE(GammaControl, nullptr);
  platform::GammaTable dark = platform::GammaTable::Identity();
  for (int i = 0; i < 256; ++i) dark.red[i] = dark.green[i] = dark.blue[i] = 0;
  GammaControl->SetGammaRamp(dark);
  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0xFFFFFF));
  PresentFrame();
  EXPECT_EQ(host.video.lastFrame.At(5, 5), 0u);
  ToggleFullScreen();  // a window shows the desktop's ramp
  EXPECT_EQ(GammaControl, nullptr);
  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0xFFFFFF));
  PresentFrame();
  EXPECT_EQ(host.video.lastFrame.At(5, 5), 0xFFFFFFu);
}

TEST_F(DisplayTest, PixelWriterWritesTheLockedSurfacesLayout) {
  for (uint32_t bits : {16u, 24u, 32u}) {
    Windowed = 0;
    SetScreenMode(16, 8, bits);
    ASSERT_TRUE(InitGraphics());
    ASSERT_TRUE(ScreenPixelWriter->Lock());
    ScreenPixelWriter->FillRect(14, 6, 5, 5, 0x0000FF);  // runs off the surface: clipped
    ScreenPixelWriter->Unlock();
    EXPECT_EQ(BackBuffer->GetPixel(15, 7), BackBuffer->MatchColor(0x0000FF)) << bits;
    EXPECT_EQ(BackBuffer->GetPixel(13, 7), 0u);
    ReleaseGraphics();
  }
}

}  // namespace
}  // namespace quor
