#include <gtest/gtest.h>

#include "engine/scene/game_node.h"
#include "platform/headless/headless_host.h"

namespace quor {
namespace {

class FramePacing : public ::testing::Test {
 protected:
  void SetUp() override { platform::InstallHost(&host); }
  void TearDown() override { platform::InstallHost(nullptr); }

  // Runs one frame whose work takes `work` milliseconds; returns its whole length.
  uint32_t Frame(GameNode& scene, uint32_t work, bool* waited = nullptr) {
    uint32_t start = host.clock;
    scene.BeginFrame();
    host.clock += work - host.clockStep;  // reading the clock moves it one step too
    scene.EndFrame();
    bool w = scene.WaitFrame();
    if (waited) *waited = w;
    return host.clock - start;
  }

  platform::HeadlessHost host;
};

TEST_F(FramePacing, FastFramesLastOneBudgetAndMeasureTheTarget) {
  GameNode scene;
  bool waited = false;
  EXPECT_EQ(Frame(scene, 3, &waited), 16u);
  EXPECT_TRUE(waited);
  EXPECT_EQ(scene.measuredRate, 60u);
}

TEST_F(FramePacing, EveryFrameOfARunKeepsTheBudgetWhateverItsWork) {
  GameNode scene;
  for (uint32_t work : {1u, 15u, 7u, 2u, 12u}) EXPECT_EQ(Frame(scene, work), 16u) << work;
  scene.SetFPS(30);
  for (uint32_t work : {1u, 20u, 32u}) EXPECT_EQ(Frame(scene, work), 33u) << work;
}

TEST_F(FramePacing, AFrameThatSpentItsBudgetDoesNotWait) {
  GameNode scene;
  bool waited = true;
  EXPECT_EQ(Frame(scene, 16, &waited), 17u);  // the one step of the last clock reading
  EXPECT_FALSE(waited);
  EXPECT_EQ(scene.measuredRate, 62u);
}

TEST_F(FramePacing, SlowFramesDoNotWaitAndMeasureWhatTheyTook) {
  GameNode scene;
  bool waited = true;
  Frame(scene, 40, &waited);
  EXPECT_FALSE(waited);
  EXPECT_EQ(scene.measuredRate, 25u);
  Frame(scene, 1500, &waited);
  EXPECT_EQ(scene.measuredRate, 0u);
}

TEST_F(FramePacing, TheClockWrappingStillGivesTheRightElapsedTime) {
  GameNode scene;
  host.clock = 0xFFFFFFF0u;
  Frame(scene, 40);
  EXPECT_EQ(scene.elapsed, 40u);
  EXPECT_EQ(scene.measuredRate, 1000u / scene.elapsed);
  host.clock = 0xFFFFFFF8u;
  EXPECT_EQ(Frame(scene, 4), 16u) << "the deadline lies past the wrap";
}

TEST_F(FramePacing, RatesWithoutAWholeMillisecondBudgetAreRefused) {
  GameNode scene;
  scene.SetFPS(30);
  EXPECT_EQ(scene.frameBudget, 33u);
  scene.SetFPS(0);
  scene.SetFPS(1001);
  EXPECT_EQ(scene.targetRate, 30u);
  EXPECT_EQ(scene.frameBudget, 33u);
  scene.SetFPS(1000);
  EXPECT_EQ(scene.frameBudget, 1u);
}

}  // namespace
}  // namespace quor
