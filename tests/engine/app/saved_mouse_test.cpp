// Saving and loading carry the one mouse's state; they open no device of their own.
#include <gtest/gtest.h>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/sound_input/mouse.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

TEST(SavedMouse, SavesAndLoadsCarryTheMouseWithoutASecondDevice) {
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  int changesBefore = -1, changesAfter = -1;
  int32_t loadedX = -1;
  // Paused, the mouse is free: a second device acquired for a moment would grab it.
  run.host.AtFrame(2, [](platform::HeadlessHost& h) { h.Post(platform::WindowEvent::FocusLost); });
  run.host.AtFrame(4, [&](platform::HeadlessHost& h) {
    ASSERT_TRUE(Paused);
    changesBefore = h.input.mouseAcquisitionChanges;
    CurrentMouse->SetX(123);
    ASSERT_TRUE(SaveGameFile(dir.File("game.sav")));
    CurrentMouse->SetX(7);
    ASSERT_TRUE(LoadGameFile(dir.File("game.sav")));
    loadedX = CurrentMouse->GetX();
    changesAfter = h.input.mouseAcquisitionChanges;
  });
  run.Run(6);
  EXPECT_EQ(loadedX, 123);
  EXPECT_EQ(changesAfter, changesBefore);
}

}  // namespace
}  // namespace quor
