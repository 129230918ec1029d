// A recording belongs to the run: it follows the current scene through switches and
// loads, so a recording made across scenes is kept and replayed whole; the keys it keeps
// are those the game registered.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "tests/engine/app/director_fixture.h"

namespace quor {
namespace {

class Recording : public DirectorTest {
 protected:
  void SetUp() override {
    MakeScenes(3);
    director->switchPending = 0;
  }
  void SwitchTo(int id) {
    director->RequestGameNode(id);
    PerformSceneSwitch();
  }
  static uint32_t Held(int id) { return FindGameNodeById(id)->recordedKeyMasks.Size(); }
};

TEST_F(Recording, KeysAreRegisteredOnceEachAndNoMoreThanAMaskHolds) {
  GameNode scene;
  for (uint32_t code = 1; code <= 40; ++code) {
    scene.RegisterKey(code);
    scene.RegisterKey(1);
  }
  ASSERT_EQ(scene.registeredKeys.Size(), 32u);
  for (uint32_t i = 0; i < 32; ++i) EXPECT_EQ(scene.registeredKeys[i], i + 1);
}

TEST_F(Recording, FollowsTheCurrentSceneThroughSwitchesAndLoadsAndSurvivesADamagedLoad) {
  for (uint32_t i = 0; i < 3; ++i) {
    CurrentGameNode->recordedKeyMasks.Add(i);
    CurrentGameNode->recordedMouseFlags.Add(uint8_t(4));
    CurrentGameNode->recordedMouseMovement.Add(MouseDelta{int32_t(i), 0});
  }
  SwitchTo(2);
  EXPECT_EQ(Held(1), 0u);
  ASSERT_EQ(Held(2), 3u);
  EXPECT_EQ(CurrentGameNode->recordedMouseMovement.Size(), 3u);
  EXPECT_EQ(CurrentGameNode->recordedKeyMasks[2], 2u);
  const std::string saved = dir.File("title.sav");
  ASSERT_TRUE(SaveGameFile(saved));

  SwitchTo(3);
  CurrentGameNode->recordedKeyMasks.Add(3);
  const std::string damaged = dir.File("damaged.sav");
  std::ofstream(platform::MapPath(damaged), std::ios::binary) << "not a saved game";
  EXPECT_FALSE(LoadGameFile(damaged));
  EXPECT_EQ(CurrentGameNode->GetId(), 3);
  EXPECT_EQ(Held(3), 4u) << "the game goes on as it was, its recording too";

  ASSERT_TRUE(LoadGameFile(saved));
  EXPECT_EQ(CurrentGameNode->GetId(), 2);
  EXPECT_EQ(Held(2), 4u);
  EXPECT_EQ(Held(3), 0u);
  EXPECT_EQ(CurrentGameNode->recordedMouseFlags.Size(), 3u);
}

}  // namespace
}  // namespace quor
