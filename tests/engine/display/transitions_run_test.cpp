// The transitions inside whole headless runs: stepped by the frame, holding a scene switch,
// shown on the presented frames, and carried by a saved game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/app/game_director.h"
#include "engine/core/random.h"
#include "engine/display/display.h"
#include "engine/display/transitions.h"
#include "engine/scene/game_node.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

using testing_support::HeadlessRun;

struct FrameSeen {
  int frame;
  bool pending;
  bool wipeActive;
  int presented;
};

TEST(TransitionRun, ASceneSwitchWaitsForTheWipeAndItsFramesAreShown) {
  testing_support::TempDir dir;
  HeadlessRun run;
  std::vector<FrameSeen> seen;
  uint32_t leftBar = 0, middle = 0;
  run.host.AtFrame(3, [](platform::HeadlessHost&) {
    OpenCloseEffect->Start(OpenClose::BarsCloseSides, 0x0000FF, 5);
    CurrentGameDirector->RequestGameNode(1);
  });
  run.host.AtFrame(6, [&](platform::HeadlessHost& h) {
    leftBar = h.video.lastFrame.At(10, 240);
    middle = h.video.lastFrame.At(320, 240);
  });
  run.host.EveryFrame([&](platform::HeadlessHost& h) {
    seen.push_back({h.Frame(), CurrentGameDirector->IsSwitchPending(), OpenCloseEffect->IsActive() != 0,
                    h.video.presentedFrames});
  });
  run.Run(14);
  ASSERT_GE(seen.size(), 14u);
  // Stepped in frames 3 to 9 (counter 1 to 6, and the reset at the seventh step).
  for (int f = 4; f <= 9; ++f) {
    EXPECT_TRUE(seen[f].pending) << f;
    EXPECT_TRUE(seen[f].wipeActive) << f;
    EXPECT_EQ(seen[f].presented, seen[f - 1].presented + 1) << f;  // shown while it plays
  }
  EXPECT_FALSE(seen[10].wipeActive);
  EXPECT_FALSE(seen[10].pending);  // switched at the top of frame 10
  EXPECT_EQ(seen[10].presented, seen[9].presented);  // the last frame of the old scene is kept
  EXPECT_EQ(leftBar, 0x0000FFu);  // after three steps of 64 pixels: bars 192 wide
  EXPECT_NE(middle, 0x0000FFu);
  EXPECT_TRUE(run.host.messageBoxes.empty());
}

TEST(TransitionRun, AFadeOutDarkensThePresentedFramesAndMayStayDark) {
  testing_support::TempDir dir;
  HeadlessRun run;
  std::vector<uint32_t> shown;
  run.host.EveryFrame([&](platform::HeadlessHost& h) {
    if (h.Frame() > 0) shown.push_back(h.video.lastFrame.At(320, 240));
    BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0xFFFFFF));  // the scene draws nothing over it
  });
  run.host.AtFrame(2, [](platform::HeadlessHost&) { GammaRampEffect->Start(GammaRamp::FadeOut, 4, 1, 0); });
  run.Run(10);
  ASSERT_GE(shown.size(), 9u);  // shown[f]: frame f as presented
  EXPECT_EQ(shown[1], 0xFFFFFFu);
  // Ramps for counters 3, 2, 1 (255 * k * 255 / 4 at full input), then held at the darkest.
  const uint8_t levels[] = {191, 127, 64};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(shown[2 + i], platform::ColorRef(levels[i], levels[i], levels[i])) << i;
  for (int f = 5; f < 9; ++f) EXPECT_EQ(shown[f], 0x404040u) << f;
  EXPECT_FALSE(GammaRampEffect);  // deleted at shutdown
}

TEST(TransitionRun, AGameSavedMidDissolveContinuesWhereItWas) {
  testing_support::TempDir dir;
  HeadlessRun run;
  const std::string path = dir.File("mid.sav");
  std::vector<uint8_t> savedGrid;
  int32_t savedCounter = -1, loadedCounter = -1;
  std::vector<uint8_t> loadedGrid;
  run.host.AtFrame(3, [](platform::HeadlessHost&) {
    RandomDissolveEffect->Start(RandomDissolve::FixedColor, 0xFFFFFF, 100, 20, 0);
  });
  run.host.AtFrame(5, [&](platform::HeadlessHost&) {
    // Saved at the top of this frame's engine work, before the step.
    CurrentGameDirector->RequestSave(path.c_str());
    savedGrid = RandomDissolveEffect->grid;
    savedCounter = RandomDissolveEffect->counter;
  });
  run.host.AtFrame(9, [&](platform::HeadlessHost&) { CurrentGameDirector->RequestLoad(path.c_str()); });
  run.host.AtFrame(10, [&](platform::HeadlessHost&) {
    loadedCounter = RandomDissolveEffect->counter;
    loadedGrid = RandomDissolveEffect->grid;
  });
  run.Run(12);
  ASSERT_EQ(savedCounter, 2);
  EXPECT_EQ(loadedCounter, savedCounter + 1);  // loaded, then stepped once in frame 9
  int covered = 0, kept = 0;
  for (size_t i = 0; i < savedGrid.size(); ++i) {
    covered += savedGrid[i];
    kept += savedGrid[i] && loadedGrid[i];
  }
  EXPECT_EQ(covered, 200);
  EXPECT_EQ(kept, covered);
  int after = 0;
  for (uint8_t c : loadedGrid) after += c;
  // Loading re-seeds the shared generator (its text boxes are made anew), so the step after
  // it may meet covered cells and give a few up.
  EXPECT_GT(after, 200 + 90);
  EXPECT_LE(after, 200 + 100);
  EXPECT_TRUE(run.host.messageBoxes.empty());
}

}  // namespace
}  // namespace quor
