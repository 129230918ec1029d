// The whole program on the headless host, driving a real scene: a room with a wall, a
// hero walked by the arrow key, saved and loaded games, and a recorded replay.
#include <SDL.h>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/app/game_director.h"
#include "platform/files.h"
#include "engine/app/run_application.h"
#include "engine/display/map.h"
#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "tests/support/file_bytes.h"
#include "tests/support/headless_run.h"
#include "tests/support/room_scene.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

constexpr uint32_t kHeroColour = 0x000000FF;  // red, as 0x00BBGGRR
constexpr int kWallX = testing_support::kRoomWallX;
using testing_support::UseRoom;
using testing_support::WalkRightInRoom;

// The leftmost and rightmost column holding the hero's colour on the middle row of it.
std::pair<int, int> HeroColumns(const platform::Image& frame) {
  int first = -1, last = -1;
  for (int x = 0; x < frame.width; ++x) {
    if (frame.At(x, 215) == kHeroColour) {
      if (first < 0) first = x;
      last = x;
    }
  }
  return {first, last};
}

class SceneRun : public ::testing::Test {
 protected:
  void SetUp() override { testing_support::WriteRoomFiles(dir.Path()); }

  testing_support::TempDir dir;
};

TEST_F(SceneRun, TheHeroWalksToTheWallAndStopsThere) {
  testing_support::HeadlessRun run;
  run.host.video.keepEveryFrame = true;
  WalkRightInRoom(run.host, UseRoom);
  run.Run(100);
  ASSERT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  ASSERT_GT(run.host.video.frames.size(), 90u);
  auto start = HeroColumns(run.host.video.frames[3]);
  EXPECT_EQ(start.first, 100);
  EXPECT_EQ(start.second, 131);
  auto end = HeroColumns(run.host.video.frames.back());
  EXPECT_GT(end.first, 200);
  EXPECT_LT(end.second, kWallX + 1) << "the hero went through the wall";
  EXPECT_EQ(run.host.video.frames.back().At(500, 100), 0x00840000u) << "the room is drawn (blue 128 at 565)";
}

TEST_F(SceneRun, ALoadedGameGoesOnExactlyAsTheUninterruptedOne) {
  std::vector<platform::Image> uninterrupted;
  {
    testing_support::HeadlessRun run;
    run.host.video.keepEveryFrame = true;
    WalkRightInRoom(run.host, UseRoom);
    run.host.AtFrame(20, [&](platform::HeadlessHost&) {
      CurrentGameDirector->RequestSave((dir.Path() + "/mid.sav").c_str());
    });
    run.Run(60);
    uninterrupted = run.host.video.frames;
  }
  ASSERT_TRUE(platform::FileExists(dir.Path() + "/mid.sav"));
  testing_support::HeadlessRun run;
  run.host.video.keepEveryFrame = true;
  WalkRightInRoom(run.host, UseRoom);
  run.host.AtFrame(30, [&](platform::HeadlessHost&) {
    CurrentGameDirector->RequestLoad((dir.Path() + "/mid.sav").c_str());
  });
  run.Run(60);
  EXPECT_TRUE(run.host.messageBoxes.empty());
  // The save ran at the top of frame 20 and the load at the top of frame 30: from there
  // on the second run shows what the first showed from frame 20.
  const auto& frames = run.host.video.frames;
  ASSERT_GE(frames.size(), 45u);
  for (size_t i = 0; i < 10; ++i) {
    auto a = HeroColumns(uninterrupted[20 + i]);
    auto b = HeroColumns(frames[30 + i]);
    EXPECT_EQ(a, b) << "frame " << i << " after the load";
  }
}

}  // namespace
}  // namespace quor

namespace quor {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

// Damaged copies of a real saved game: each either loads or leaves the running game
// exactly as it was, with one box, and none may crash or read out of bounds.
TEST_F(SceneRun, DamagedSavedGamesNeverHarmTheRunningGame) {
  testing_support::HeadlessRun run;
  WalkRightInRoom(run.host, UseRoom);
  int refused = 0, loaded = 0;
  run.host.AtFrame(20, [&](platform::HeadlessHost& h) {
    std::string good = dir.Path() + "/good.sav", before = dir.Path() + "/before.sav";
    std::string bad = dir.Path() + "/bad.sav", after = dir.Path() + "/after.sav";
    ASSERT_TRUE(SaveGameFile(good));
    std::vector<uint8_t> bytes = ReadBytes(good);
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int trial = 0; trial < 150; ++trial) {
      std::vector<uint8_t> damaged = bytes;
      size_t at = next() % damaged.size();
      switch (trial % 3) {
        case 0: damaged[at] = static_cast<uint8_t>(next() >> 24); break;
        case 1: damaged[at] = 0xff; break;
        case 2: damaged.resize(at); break;
      }
      WriteBytes(bad, damaged);
      // Every trial starts from the good game as a load leaves it (a load brings a fresh
      // frame-rate box, whose text the next frame fills in).
      ASSERT_TRUE(LoadGameFile(good));
      ASSERT_TRUE(SaveGameFile(before));
      h.messageBoxes.clear();
      if (LoadGameFile(bad)) {
        ++loaded;
        continue;
      }
      ++refused;
      ASSERT_EQ(h.messageBoxes.size(), 1u) << "trial " << trial;
      ASSERT_TRUE(SaveGameFile(after));
      ASSERT_EQ(ReadBytes(before), ReadBytes(after)) << "trial " << trial << " changed the game";
    }
  });
  run.Run(22);
  EXPECT_GT(refused, 25);
  EXPECT_EQ(refused + loaded, 150);
}

}  // namespace
}  // namespace quor
