#include "engine/display/view_port.h"

#include <gtest/gtest.h>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/display/display.h"
#include "platform/headless/headless_host.h"
#include "../../support/temp_dir.h"

namespace quor {
namespace {

TEST(ViewPort, DefaultIsTheWholeScreen) {
  ViewPort v;
  EXPECT_EQ(v.GetViewWidth(), 640.0f);
  EXPECT_EQ(v.GetViewHeight(), 480.0f);
  EXPECT_EQ(v.maxLeft, 0.0f);
  EXPECT_EQ(v.GetScrollBoxRight(), 640.0f);
  EXPECT_EQ(v.GetScrollBoxBottom(), 480.0f);
  EXPECT_EQ(v.GetClassRecord().name, std::string("ViewPort"));
}

TEST(ViewPort, ScrollStopsAtEachEdgeOfTheWorld) {
  ViewPort v(1280, 960, 600, 0, 640, 480);
  ScrollAmount m = v.ScrollBy(100, 0);
  EXPECT_EQ(m.x, 40.0f);
  EXPECT_EQ(m.y, 0.0f);
  EXPECT_EQ(v.GetLeft(), 640.0f);
  EXPECT_EQ(v.GetLastMove().x, 40.0f);
  EXPECT_EQ(v.viewRect.right, 1280.0f);
  v.SetLeft(5);
  EXPECT_EQ(v.ScrollBy(-10, 0).x, -5.0f);
  EXPECT_EQ(v.GetLeft(), 0.0f);
  EXPECT_EQ(v.ScrollBy(0, -3).y, 0.0f);  // top edge
  EXPECT_EQ(v.ScrollBy(0, 1000).y, 480.0f);  // bottom edge
  EXPECT_EQ(v.GetTop(), 480.0f);
  EXPECT_EQ(v.viewRect.bottom, 960.0f);
  // Placed beyond its bound, the view comes back at the next scroll.
  v.SetLeft(900);
  EXPECT_EQ(v.ScrollBy(1, 0).x, -260.0f);
  EXPECT_EQ(v.GetLeft(), 640.0f);
}

TEST(ViewPort, NarrowWorldPinsTheViewAtMaxLeft) {
  ViewPort v(500, 480, 0, 0, 640, 480);
  EXPECT_EQ(v.ScrollBy(3, 0).x, -140.0f);
  EXPECT_EQ(v.GetLeft(), -140.0f);
  EXPECT_EQ(v.ScrollBy(-1, 0).x, 140.0f);  // below 0 is tested first
}

TEST(ViewPort, PushesStayWithinTheirLimits) {
  ViewPort v;
  v.SetScrollBox(100, 50, 200, 100);
  EXPECT_EQ(v.GetScrollBoxTop(), 50.0f);
  EXPECT_EQ(v.GetScrollBoxLeft(), 100.0f);
  EXPECT_EQ(v.GetScrollBoxBottom(), 150.0f);
  EXPECT_EQ(v.GetScrollBoxRight(), 300.0f);
  v.SetRightPushLimit(30);
  EXPECT_EQ(v.PushRightEdge(20), 20.0f);
  EXPECT_EQ(v.PushRightEdge(25), 10.0f);
  EXPECT_EQ(v.GetScrollBoxRight(), 330.0f);
  EXPECT_EQ(v.PushRightEdge(-60), -60.0f);
  EXPECT_EQ(v.GetScrollBoxRight(), 270.0f);
  v.SetLeftPushLimit(10);
  EXPECT_EQ(v.PushLeftEdge(15), 10.0f);
  EXPECT_EQ(v.GetScrollBoxLeft(), 90.0f);
  v.SetTopPushLimit(5);
  EXPECT_EQ(v.PushTopEdge(8), 5.0f);
  EXPECT_EQ(v.GetScrollBoxTop(), 45.0f);
  EXPECT_EQ(v.PushBottomEdge(8), 0.0f);  // no limit set
  EXPECT_EQ(v.GetInitialScrollBox().left, 100.0f);
  v.ScrollBy(0, 0);
  EXPECT_EQ(v.GetScrollBoxInWorld().left, 90.0f);
  v.SetScrollBox(100, 50, 200, 100);
  EXPECT_EQ(v.rightPush, 0.0f);
  EXPECT_EQ(v.leftPush, 0.0f);
  EXPECT_EQ(v.rightPushLimit, 30.0f);
}

TEST(ViewPort, ViewRectInWholePixels) {
  ViewPort v(2000, 2000, 10.7f, 3.2f, 640, 480);
  Rect r = v.GetViewRect();
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 3);
  EXPECT_EQ(r.right, 650);
  EXPECT_EQ(r.bottom, 483);
  v.SetViewWidth(320);
  EXPECT_EQ(v.maxLeft, 1680.0f);
  EXPECT_EQ(v.viewRect.right, 10.7f + 320.0f);
  v.SetWorldHeight(1000);
  EXPECT_EQ(v.maxTop, 520.0f);
}

TEST(ViewPort, SavedAndLoadedFieldForField) {
  testing_support::TempDir dir;
  ViewPort v(1280, 960, 12.5f, 7.25f, 640, 480);
  v.SetScrollBox(100, 50, 200, 100);
  v.SetRightPushLimit(30);
  v.PushRightEdge(12);
  v.ScrollBy(3, 4);
  {
    ObjectStream out(dir.File("v.sav"), true);
    v.Save(out);
    EXPECT_EQ(out.Tell(), 4 * 4 + 3 * 16 + 2 * 4 + 16 + 8 * 4);
  }
  ViewPort w;
  ObjectStream in(dir.File("v.sav"), false);
  w.Load(in);
  ASSERT_TRUE(in.Good());
  EXPECT_EQ(std::memcmp(&w.worldWidth, &v.worldWidth, sizeof(float) * 30), 0);
}

TEST(ViewPort, ScrollBoxOutlineOnTheBackBuffer) {
  platform::HeadlessHost host;
  platform::InstallHost(&host);
  ASSERT_TRUE(InitGraphics());
  BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0xFFFFFF));
  ViewPort v(2000, 2000, 300, 300, 640, 480);
  v.SetScrollBox(10.9f, 20, 30, 40);
  v.DrawScrollBox();
  uint32_t black = BackBuffer->MatchColor(0);
  EXPECT_EQ(BackBuffer->GetPixel(10, 20), black);   // screen pixels, not world
  EXPECT_EQ(BackBuffer->GetPixel(40, 20), black);
  EXPECT_EQ(BackBuffer->GetPixel(40, 60), black);
  EXPECT_EQ(BackBuffer->GetPixel(10, 60), black);
  EXPECT_EQ(BackBuffer->GetPixel(25, 40), BackBuffer->MatchColor(0xFFFFFF));
  ReleaseGraphics();
  v.DrawScrollBox();  // no back buffer: nothing
  platform::InstallHost(nullptr);
}

}  // namespace
}  // namespace quor
