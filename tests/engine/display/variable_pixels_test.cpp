#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "engine/core/engine_globals.h"
#include "engine/core/random.h"
#include "engine/display/display.h"
#include "engine/display/variable.h"
#include "platform/font.h"
#include "platform/headless/headless_host.h"

namespace quor {
namespace {

// Boxes drawn on a real back buffer with the real fonts.
class VariablePixelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedRandom_ = RandomState();
    savedQuit_ = QuitRequested;
    savedBackBuffer_ = BackBuffer;
    platform::InstallHost(&host);
    surface_ = platform::Surface::Create(640, 480, platform::PixelFormat::Xrgb32());
    BackBuffer = surface_.get();
  }
  void TearDown() override {
    BackBuffer = savedBackBuffer_;
    platform::InstallHost(nullptr);
    SeedRandom(savedRandom_);
    QuitRequested = savedQuit_;
  }

  struct Ink {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN, count = 0;
  };
  Ink InkOf(uint32_t color) {
    platform::Image image = surface_->ReadImage();
    Ink ink;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if (image.At(x, y) == color) {
          ink.left = std::min(ink.left, x);
          ink.right = std::max(ink.right, x);
          ink.top = std::min(ink.top, y);
          ink.bottom = std::max(ink.bottom, y);
          ++ink.count;
        }
    return ink;
  }

  platform::HeadlessHost host;
  std::unique_ptr<platform::Surface> surface_;
  platform::Surface* savedBackBuffer_ = nullptr;
  uint32_t savedRandom_ = 1;
  uint8_t savedQuit_ = 0;
};

TEST_F(VariablePixelsTest, TextIsDrawnInsideItsBoxInItsColour) {
  Variable box;
  box.SetTextColor(0x0000FF);  // red
  box.SetFontFace("Lucida Bright");
  box.SetFontWidth(0);
  box.SetFontSize(15);
  box.SetFontWeight(600);
  box.SetRect(100, 50, 400, 200);
  box.SetMarginX(5);
  box.SetText("Hello\\nWorld");
  box.Draw();
  Ink ink = InkOf(0x0000FF);
  ASSERT_GT(ink.count, 50);
  EXPECT_GE(ink.left, 105);
  EXPECT_LT(ink.right, 400);
  EXPECT_GE(ink.top, 50);
  const platform::Font* font = box.GetFont();
  ASSERT_NE(font, nullptr);
  // Two lines: ink reaches into the second row of cells, not the third.
  EXPECT_GE(ink.bottom, 50 + font->Height());
  EXPECT_LT(ink.bottom, 50 + 2 * font->Height());
  EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(VariablePixelsTest, FrameAndArrows) {
  Variable box;
  box.SetDrawMode(2);
  box.SetShowFrame(1);
  box.SetRect(100, 100, 200, 160);
  box.SetText("A line far too wide for this little box");
  box.Draw();
  Ink magenta = InkOf(0xFF00FF);
  EXPECT_EQ(magenta.left, 100);
  EXPECT_EQ(magenta.top, 100);
  EXPECT_LE(magenta.right, 200);
  EXPECT_LE(magenta.bottom, 160);
  // The right arrow's tip stands at the right edge less the inset, half the arrow up.
  EXPECT_EQ(surface_->ReadImage().At(199 - 4, 159 - 8), 0xFF00FFu);
  EXPECT_EQ(box.rightArrowArea, (Rect{199 - 4, 159 - 12, 199, 159 - 4}));
}

TEST_F(VariablePixelsTest, ABackBufferThatCannotBeDrawnOnIsReported) {
  Variable box;
  box.SetRect(0, 0, 200, 100);
  box.SetText("Hi");
  surface_->MarkLost();
  box.Draw();
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].text, "Error getting DC.");
  EXPECT_EQ(host.messageBoxes[0].caption, "Error...");
  EXPECT_EQ(host.messageBoxes[0].icon, platform::MessageBoxIcon::Stop);
  EXPECT_EQ(QuitRequested, 1);
}

TEST_F(VariablePixelsTest, TheFrameRateBoxDraws) {
  Variable box;
  box.SetTextColor(0x00F500);  // green 245
  box.SetFontFace("Impact");
  box.SetName("FPS");
  box.SetText("FPS = 60");
  box.SetFontWeight(0);
  box.SetFontWidth(6);
  box.SetFontSize(10);
  box.SetRect(270, 0, 370, 40);
  box.SetLetterSpacing(2);
  box.Draw();
  Ink ink = InkOf(0x00F500);
  EXPECT_GT(ink.count, 20);
  EXPECT_GE(ink.left, 270);
  EXPECT_LT(ink.right, 370);
}

}  // namespace
}  // namespace quor
