#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "engine/scene/animation.h"
#include "platform/headless/headless_host.h"

namespace quor {
namespace {

class AnimationSurfacesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallHost(&host);
    savedWindowed = Windowed;
    Windowed = 0;
    ASSERT_TRUE(InitGraphics());
    // Entry 3: an action of two cursor frames (one stretched), an empty action; entry 4 has
    // no actions at all; entry 5 names a bitmap that does not exist.
    ASSERT_TRUE(AnimationTable[3].SetActionCount(2));
    ASSERT_TRUE(AnimationTable[3].actions[0].SetFrameCount(2));
    Frame(3, 0, 0, "TEXTSCURSOR", 10, 19);
    Frame(3, 0, 1, "textscursor", 20, 38);
    ASSERT_TRUE(AnimationTable[5].SetActionCount(1));
    ASSERT_TRUE(AnimationTable[5].actions[0].SetFrameCount(1));
    Frame(5, 0, 0, "NoSuchBitmap.bmp", 8, 8);
  }
  void TearDown() override {
    ReleaseAnimationSurfaces();
    EmptyAnimationTable();
    ReleaseGraphics();
    Windowed = savedWindowed;
    platform::InstallHost(nullptr);
  }
  void Frame(int set, int action, int frame, const char* name, int w, int h) {
    SpriteFrame& f = AnimationTable[set].actions[action].frames[frame];
    std::strcpy(f.bitmapName, name);
    f.width = w;
    f.height = h;
    f.colorKey = 0xFFFFFF;
  }
  SpriteFrame& At(int set, int action, int frame) { return AnimationTable[set].actions[action].frames[frame]; }

  platform::HeadlessHost host;
  uint8_t savedWindowed = 0;
};

TEST_F(AnimationSurfacesTest, LoadsEachFrameOnceAtItsSize) {
  LoadAnimationSurfaces();
  ASSERT_NE(At(3, 0, 0).surface, nullptr);
  ASSERT_NE(At(3, 0, 1).surface, nullptr);
  EXPECT_EQ(At(3, 0, 1).surface->Width(), 20);
  EXPECT_EQ(At(3, 0, 1).surface->Height(), 38);
  uint32_t key;
  ASSERT_EQ(At(3, 0, 0).surface->GetColorKey(key), platform::SurfaceResult::Ok);
  EXPECT_EQ(key, At(3, 0, 0).surface->MatchColor(0xFFFFFF));
  EXPECT_EQ(At(5, 0, 0).surface, nullptr);  // missing bitmap: no surface, no box
  EXPECT_TRUE(host.messageBoxes.empty());
  platform::Surface* first = At(3, 0, 0).surface;
  LoadAnimationSurfaces();
  EXPECT_EQ(At(3, 0, 0).surface, first);
  ReleaseAnimationSurfaces();
  EXPECT_EQ(At(3, 0, 0).surface, nullptr);
  EXPECT_EQ(At(3, 0, 1).surface, nullptr);
}

TEST_F(AnimationSurfacesTest, RestoreReloadsOnlyLostFrames) {
  LoadAnimationSurfaces();
  At(3, 0, 1).surface->MarkLost();
  platform::Surface* kept = At(3, 0, 0).surface;
  RestoreGraphics();
  EXPECT_EQ(At(3, 0, 0).surface, kept);
  ASSERT_NE(At(3, 0, 1).surface, nullptr);
  EXPECT_FALSE(At(3, 0, 1).surface->IsLost());
  EXPECT_EQ(At(3, 0, 1).surface->Width(), 20);
}

TEST_F(AnimationSurfacesTest, LostFramesAreBackAfterAPresentation) {
  LoadAnimationSurfaces();
  host.video.LoseSurfaces();
  PresentFrame();
  EXPECT_EQ(host.video.presentedFrames, 1);
  ASSERT_NE(At(3, 0, 0).surface, nullptr);
  EXPECT_FALSE(At(3, 0, 0).surface->IsLost());
}

TEST_F(AnimationSurfacesTest, ToggleTwiceKeepsEveryFrame) {
  LoadAnimationSurfaces();
  ToggleFullScreen();
  EXPECT_EQ(At(3, 0, 0).surface->Format().bitsPerPixel, 32);  // the desktop's depth
  ToggleFullScreen();
  ASSERT_NE(At(3, 0, 0).surface, nullptr);
  ASSERT_NE(At(3, 0, 1).surface, nullptr);
  EXPECT_EQ(At(3, 0, 0).surface->Format(), BackBuffer->Format());
  EXPECT_EQ(Windowed, 0);
}

}  // namespace
}  // namespace quor
