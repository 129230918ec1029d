#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "engine/display/map.h"
#include "engine/scene/sprite.h"
#include "platform/surface.h"
#include "tests/engine/scene/sprite_test_support.h"

namespace quor {
namespace {

using testing_support::FillEntry;
using testing_support::SceneTest;

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kGrey = 0x808080;

// A 32-bit window display, a grey back buffer, and entry 1: one 3 x 2 frame
//   red   green blue
//   white black red
// keyed on green.
class SpriteDrawTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    savedWindowed_ = Windowed;
    savedPaused_ = Paused;
    Windowed = 1;
    Paused = 0;
    host.video.desktopBitsPerPixel = 32;
    ASSERT_TRUE(InitGraphics());
    BackBuffer->Fill(nullptr, BackBuffer->MatchColor(kGrey));
    FillEntry(1, {{{1}}}, 3, 2);
    frame = &AnimationTable[1].actions[0].frames[0];
    platform::Image picture;
    picture.width = 3;
    picture.height = 2;
    picture.colors = {kRed, kGreen, kBlue, kWhite, kBlack, kRed};
    frame->surface = CreateOffscreenSurface(3, 2).release();
    frame->surface->WriteImage(picture);
    frame->surface->SetColorKey(frame->surface->MatchColor(kGreen));
    frame->colorKey = kGreen;
    frame->colorKeyOn = 1;
    sprite.SetAnimation(1);
    sprite.SetX(10.0f);
    sprite.SetY(20.0f);
  }
  void TearDown() override {
    delete frame->surface;
    frame->surface = nullptr;
    ReleaseGraphics();
    Windowed = savedWindowed_;
    Paused = savedPaused_;
    SceneTest::TearDown();
  }
  uint32_t At(int x, int y) const { return BackBuffer->ReadImage().At(x, y); }
  // The three pixels of row `row` of the drawn frame.
  std::vector<uint32_t> Row(int row) const {
    platform::Image image = BackBuffer->ReadImage();
    return {image.At(10, 20 + row), image.At(11, 20 + row), image.At(12, 20 + row)};
  }

  SpriteFrame* frame = nullptr;
  Sprite sprite;

 private:
  uint8_t savedWindowed_ = 0, savedPaused_ = 0;
};

TEST_F(SpriteDrawTest, KeyedFrameLeavesTheKeyColourOut) {
  sprite.Draw();
  EXPECT_EQ(Row(0), (std::vector<uint32_t>{kRed, kGrey, kBlue}));
  EXPECT_EQ(Row(1), (std::vector<uint32_t>{kWhite, kBlack, kRed}));
  EXPECT_EQ(At(9, 20), kGrey);
  EXPECT_EQ(At(13, 21), kGrey);
  EXPECT_EQ(At(10, 22), kGrey);
}

TEST_F(SpriteDrawTest, UnkeyedFrameCopiesEveryPixel) {
  frame->colorKeyOn = 0;
  sprite.Draw();
  EXPECT_EQ(Row(0), (std::vector<uint32_t>{kRed, kGreen, kBlue}));
}

TEST_F(SpriteDrawTest, MirroringNeedsTheFrameAndTheSpriteFlip) {
  sprite.flipX = 1;
  sprite.Draw();  // the frame does not allow x flips
  EXPECT_EQ(Row(0), (std::vector<uint32_t>{kRed, kGrey, kBlue}));

  frame->flipXAllowed = 1;
  sprite.Draw();
  EXPECT_EQ(Row(0), (std::vector<uint32_t>{kBlue, kGrey, kRed}));
  EXPECT_EQ(Row(1), (std::vector<uint32_t>{kRed, kBlack, kWhite}));

  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(kGrey));
  frame->flipYAllowed = 1;
  sprite.flipY = 1;
  sprite.Draw();  // both ways
  EXPECT_EQ(Row(0), (std::vector<uint32_t>{kRed, kBlack, kWhite}));
  EXPECT_EQ(Row(1), (std::vector<uint32_t>{kBlue, kGrey, kRed}));

  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(kGrey));
  sprite.flipX = 0;
  sprite.Draw();  // up-down only
  EXPECT_EQ(Row(0), (std::vector<uint32_t>{kWhite, kBlack, kRed}));
  EXPECT_EQ(Row(1), (std::vector<uint32_t>{kRed, kGrey, kBlue}));
}

TEST_F(SpriteDrawTest, ATranslucentSpriteIsBlendedAndNeverMirrored) {
  frame->flipXAllowed = 1;
  sprite.flipX = 1;
  sprite.transparency = 0.5f;
  sprite.Draw();
  auto mix = [](uint32_t s, uint32_t d) {
    double v = (double(s) * 50 + double(d) * 100) * double(0.01f);
    return uint32_t(std::min(255.0, v));
  };
  uint32_t grey = mix(0, 0x80);
  EXPECT_EQ(At(10, 20), platform::ColorRef(uint8_t(mix(0xFF, 0x80)), uint8_t(grey), uint8_t(grey)));
  EXPECT_EQ(At(11, 20), kGrey);  // the key still holds
  EXPECT_EQ(At(12, 21), platform::ColorRef(uint8_t(mix(0xFF, 0x80)), uint8_t(grey), uint8_t(grey)));
}

TEST_F(SpriteDrawTest, NothingIsDrawnWhenHiddenOffScreenOrPaused) {
  sprite.SetVisible(0);
  sprite.Draw();
  EXPECT_EQ(At(10, 20), kGrey);
  sprite.SetVisible(1);

  Paused = 1;
  sprite.Draw();
  EXPECT_EQ(At(10, 20), kGrey);
  Paused = 0;

  sprite.SetX(-3.0f);
  EXPECT_TRUE(sprite.IsOnScreen());  // its right edge touches the view
  sprite.SetX(-4.0f);
  EXPECT_FALSE(sprite.IsOnScreen());
  sprite.SetX(640.0f);
  EXPECT_TRUE(sprite.IsOnScreen());
  sprite.SetX(641.0f);
  EXPECT_FALSE(sprite.IsOnScreen());

  // Drawn partly off the left edge: the visible part lands at the screen's border.
  sprite.SetX(-1.0f);
  sprite.Draw();
  EXPECT_EQ(At(0, 21), kBlack);
  EXPECT_EQ(At(1, 20), kBlue);
  EXPECT_EQ(At(2, 20), kGrey);
}

TEST_F(SpriteDrawTest, TheViewMovesTheFrame) {
  scene->viewPort.SetLeft(5.0f);
  sprite.SetX(10.0f);
  sprite.Draw();
  EXPECT_EQ(At(5, 20), kRed);
  EXPECT_EQ(At(10, 20), kGrey);
}

TEST_F(SpriteDrawTest, DebugOutlines) {
  frame->colorKeyOn = 0;
  SetRect(&frame->collisionRects[kFlipNone], 0, 0, 40, 30);
  sprite.SetShowCollisionRect(1);
  sprite.Draw();
  EXPECT_EQ(At(30, 20), kWhite);  // top side
  EXPECT_EQ(At(50, 35), kWhite);  // right side
  EXPECT_EQ(At(10, 35), kWhite);  // left side
  EXPECT_EQ(At(30, 35), kGrey);   // inside

  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(kGrey));
  sprite.SetShowCollisionRect(0);
  frame->AddCollisionSegment(CollisionSegment(0, 10, 20, 10, 0, 0));
  sprite.SetShowCollisionShapes(1);
  sprite.Draw();
  EXPECT_EQ(At(20, 30), kGreen);

  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(kGrey));
  Map map;
  sprite.map = &map;
  frame->anchorX = 1;
  frame->anchorY = 2;
  sprite.SetDirection(1.0f, 0.0f, 0);
  sprite.DrawDirection(kBlue);
  EXPECT_EQ(At(11, 22), kBlue);
  EXPECT_EQ(At(60, 22), kBlue);
  EXPECT_EQ(At(60, 23), kGrey);
  sprite.map = nullptr;
  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(kGrey));
  sprite.DrawDirection(kBlue);  // a sprite without a map has no place to draw from
  EXPECT_EQ(At(60, 22), kGrey);
}

TEST_F(SpriteDrawTest, TheTextsCursorIsDrawnAgainAfterLostSurfaces) {
  BuildTextsCursorAnimation();
  LoadAnimationSurfaces();
  SpriteFrame& cursorFrame = AnimationTable[kTextsCursorAnimation].actions[0].frames[0];
  ASSERT_NE(cursorFrame.surface, nullptr);
  Sprite cursor;
  cursor.SetAnimation(kTextsCursorAnimation);
  cursor.SetX(100.0f);
  cursor.SetY(100.0f);
  cursor.Draw();
  EXPECT_EQ(At(104, 105), kBlack);  // the beam
  EXPECT_EQ(At(100, 105), kGrey);   // white is its key

  host.video.LoseSurfacesAtNextBlits(1);
  cursor.Draw();  // restores the display and the frame's surface, then draws once more
  ASSERT_NE(cursorFrame.surface, nullptr);
  EXPECT_FALSE(cursorFrame.surface->IsLost());
  EXPECT_FALSE(BackBuffer->IsLost());
  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(kGrey));
  cursor.Draw();
  EXPECT_EQ(At(104, 105), kBlack);
  EXPECT_EQ(At(100, 105), kGrey);
  ReleaseAnimationSurfaces();
}

}  // namespace
}  // namespace quor
