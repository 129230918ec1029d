#include "engine/app/game_director.h"

#include <gtest/gtest.h>

#include "engine/core/engine_globals.h"
#include "engine/core/node_list.h"
#include "engine/scene/game_node.h"
#include "platform/headless/headless_host.h"
#include "tests/engine/app/director_fixture.h"

namespace quor {
namespace {

int leaves = 0;
void CountLeave(GameNode*) { ++leaves; }

class Director : public DirectorTest {
 protected:
  void SetUp() override {
    leaves = 0;
    MakeScenes(3, CountLeave);
  }
  void TearDown() override {
    DirectorTest::TearDown();
    QuitRequested = 0;
  }
};

TEST_F(Director, SceneListHoldsNewestFirstAndRefusesADuplicateId) {
  auto* again = new GameNode;
  again->SetId(2);
  director->AddGameNode(again);
  EXPECT_EQ(GameNodeList().Count(), 3);
  delete again;  // not taken, so still the caller's
  EXPECT_EQ(static_cast<GameNode*>(GameNodeList().GetHead())->GetId(), 3);
  EXPECT_STREQ(FindGameNodeById(2)->GetName(), "Title");
  EXPECT_EQ(FindGameNodeByName("Level1")->GetId(), 3);
  EXPECT_EQ(FindGameNodeByName("level1"), nullptr);
  EXPECT_EQ(FindGameNodeByName(""), nullptr);
  EXPECT_EQ(FindGameNodeById(9), nullptr);
}

TEST_F(Director, TwoRequestsRunTheExitHookOnceAndTheSecondIdWins) {
  director->switchPending = 0;
  director->GoToGameNode("Title");
  director->GoToGameNode("Level1");
  EXPECT_EQ(leaves, 1);
  EXPECT_TRUE(director->IsSwitchPending());
  EXPECT_EQ(director->GetNextGameNodeId(), 3);
}

TEST_F(Director, AnUnknownNameDoesNothing) {
  director->switchPending = 0;
  director->GoToGameNode("Nowhere");
  EXPECT_FALSE(director->IsSwitchPending());
  EXPECT_EQ(leaves, 0);
}

TEST_F(Director, SwitchingToAnIdNoSceneHasKeepsTheCurrentScene) {
  director->RequestGameNode(42);
  PerformSceneSwitch();
  EXPECT_FALSE(director->IsSwitchPending());
  EXPECT_EQ(CurrentGameNode->GetId(), 1);
}

TEST_F(Director, SwitchingEmptiesTheSceneLeftAndMakesTheNextCurrent) {
  GameNode* start = CurrentGameNode;
  start->spriteIdCounter = 5;
  start->SetEscapeQuits(1);
  start->onLeaveDone = 1;
  director->GoToGameNode("Title");
  PerformSceneSwitch();
  EXPECT_EQ(CurrentGameNode->GetId(), 2);
  EXPECT_EQ(CurrentGameNodeId, 2);
  // Emptied, then given a new frame-rate box and text cursor.
  EXPECT_EQ(start->spriteIdCounter, 1);
  EXPECT_EQ(start->layers[0].Count(), 1);
  EXPECT_EQ(start->variables.Count(), 1);
  EXPECT_EQ(start->GetEscapeQuits(), 0);
  EXPECT_EQ(start->onLeaveDone, 0);
}

TEST_F(Director, DestructionDeletesTheTemporaryStateFiles) {
  for (const std::string& path : {StartRecordingStatePath(), WhenReplayStatePath()}) {
    std::FILE* f = std::fopen(platform::MapPath(path).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
  }
  EXPECT_TRUE(platform::FileExists(StartRecordingStatePath()));
  EXPECT_EQ(StartRecordingStatePath(), dir.Path() + "/gamesavestartrecording.sat");
  delete director;
  director = nullptr;
  EXPECT_FALSE(platform::FileExists(StartRecordingStatePath()));
  EXPECT_FALSE(platform::FileExists(WhenReplayStatePath()));
}

}  // namespace
}  // namespace quor
