// The game's frame: its variables in saved games, its tables and its scene list, and a
// real run of the game saving and loading through the function keys.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/scene/game_node.h"
#include "engine/scene/game_tables.h"
#include "engine/scene/sprite.h"
#include "game/animation/animation_builders.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_functions.h"
#include "game/rules/game_variables.h"
#include "game/scenes/content.h"
#include "platform/input_keys.h"
#include "tests/support/file_bytes.h"
#include "tests/support/game_run.h"
#include "tests/support/temp_dir.h"

namespace game {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

// The 41 bytes of a variables record, field by field.
std::vector<uint8_t> Record(std::initializer_list<int32_t> nine, uint8_t fired, int32_t tenma) {
  std::vector<uint8_t> bytes;
  for (int32_t v : nine) testing_support::Put32(bytes, static_cast<uint32_t>(v));
  bytes.push_back(fired);
  testing_support::Put32(bytes, static_cast<uint32_t>(tenma));
  return bytes;
}

void LoadRecord(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteBytes(path, bytes);
  quor::ObjectStream stream(path, false);
  game::GameLoadVariables(stream);
}

class GameVariables : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameVariables(); }
  void TearDown() override { ResetGameVariables(); }
  testing_support::TempDir dir;
};

TEST_F(GameVariables, SaveWritesElevenFieldsInFortyOneBytesInTheirOrder) {
  KeyCount = 3;
  HeartCount = -1;
  Facing = DirLeft;
  Stage = 5;
  DemonLife = 7;
  AttackFired = 1;
  TenmaLife = 11;
  {
    quor::ObjectStream stream(dir.File("v.bin"), true);
    game::GameSaveVariables(stream);
  }
  EXPECT_EQ(ReadBytes(dir.File("v.bin")), Record({3, -1, 1, 2, 3, 4, 3, 5, 7}, 1, 11));
  EXPECT_EQ(ReadBytes(dir.File("v.bin")).size(), static_cast<size_t>(kSavedVariablesSize));
}

TEST_F(GameVariables, LoadRestoresWhatPlayCanProduce) {
  LoadRecord(dir.File("v.bin"), Record({2, 4, 1, 2, 3, 4, 4, 9, 0}, 1, 0));
  EXPECT_EQ(KeyCount, 2);
  EXPECT_EQ(HeartCount, 4);
  EXPECT_EQ(Facing, DirRight);
  EXPECT_EQ(Stage, kLastStage);  // "StageIntro" leads nowhere from 9
  EXPECT_EQ(DemonLife, 0);
  EXPECT_EQ(AttackFired, 1);
  EXPECT_EQ(TenmaLife, 0);
  // Hearts below zero exist for the frame before "Lose" starts.
  LoadRecord(dir.File("v.bin"), Record({0, -3, 1, 2, 3, 4, 1, 1, 12}, 0, 19));
  EXPECT_EQ(HeartCount, -3);
}

TEST_F(GameVariables, LoadBringsImpossibleValuesToTheNearestPossibleOne) {
  LoadRecord(dir.File("v.bin"), Record({7, 99, 10, 20, 30, 40, 77, 2, 500}, 0, -6));
  EXPECT_EQ(KeyCount, 3);
  EXPECT_EQ(HeartCount, 4);
  EXPECT_EQ(DirUp, 1);
  EXPECT_EQ(DirDown, 2);
  EXPECT_EQ(DirLeft, 3);
  EXPECT_EQ(DirRight, 4);
  EXPECT_EQ(Facing, DirUp);
  EXPECT_EQ(DemonLife, 12);
  EXPECT_EQ(TenmaLife, 0);
  LoadRecord(dir.File("v.bin"), Record({-4, 0, 1, 2, 3, 4, 0, 2, -1}, 0, 25));
  EXPECT_EQ(KeyCount, 0);
  EXPECT_EQ(Facing, DirUp);
  EXPECT_EQ(DemonLife, 0);
  EXPECT_EQ(TenmaLife, 19);
}

TEST(GameTables, PreInitFillsBothTablesAndShutdownFreesThem) {
  game::GamePreInit();
  ASSERT_NE(quor::BehaviourTable, nullptr);
  ASSERT_NE(quor::StateMachineTable, nullptr);
  for (int i = 0; i < kBehaviourCount; ++i) EXPECT_NE(quor::BehaviourTable[i], nullptr) << i;
  game::GameShutdown();
  EXPECT_EQ(quor::BehaviourTable, nullptr);
  EXPECT_EQ(quor::StateMachineTable, nullptr);
}

TEST(GameTables, ABehaviourGivenToSomethingOtherThanASpriteLeavesItAlone) {
  game::GamePreInit();
  quor::InstallGameHooks(TheGameHooks());
  quor::GameNode scene;
  // The hero's behaviour handed a scene, as a damaged saved game could.
  quor::BehaviourTable[7](&scene);
  game::GameShutdown();
  quor::InstallGameHooks(quor::GameHooks());
}

TEST(SceneList, ThirteenScenesWithTheirIdsNamesAndHooks) {
  quor::GameDirector director;
  quor::CurrentGameDirector = &director;
  game::GameCreateScenes();
  struct Expected {
    int id;
    const char* name;
    quor::GameNodeHook content, animation;
  };
  const Expected expected[] = {
      {1, "Start", BuildStartContent, BuildStartAnimationSets},
      {2, "Title", BuildTitleContent, BuildTitleAnimationSets},
      {3, "Instruct", BuildInstructContent, BuildInstructAnimationSets},
      {4, "Level1", BuildLevel1Content, BuildLevel1AnimationSets},
      {5, "Lose", BuildLoseContent, BuildLoseAnimationSets},
      {6, "Level2", BuildLevel2Content, BuildLevel2AnimationSets},
      {7, "Win", BuildWinContent, BuildWinAnimationSets},
      {8, "Level4", BuildLevel4Content, BuildLevel4AnimationSets},
      {9, "MidBoss", BuildMidBossContent, BuildMidBossAnimationSets},
      {10, "StageIntro", BuildStageIntroContent, BuildStageIntroAnimationSets},
      {11, "Level3", BuildLevel3Content, BuildLevel3AnimationSets},
      {12, "FinalLevel", BuildFinalLevelContent, BuildFinalLevelAnimationSets},
      {13, "FinalDoor", BuildFinalDoorContent, BuildFinalDoorAnimationSets},
  };
  EXPECT_EQ(quor::GameNodeList().Count(), 13);
  for (const Expected& e : expected) {
    quor::GameNode* scene = quor::FindGameNodeById(e.id);
    ASSERT_NE(scene, nullptr) << e.id;
    EXPECT_STREQ(scene->GetName(), e.name);
    EXPECT_EQ(quor::FindGameNodeByName(e.name), scene);
    EXPECT_EQ(scene->buildContent, e.content) << e.name;
    EXPECT_EQ(scene->buildAnimationSets, e.animation) << e.name;
    EXPECT_NE(scene->onLeave, nullptr) << e.name;
  }
  // A second creation adds nothing: every id is taken.
  game::GameCreateScenes();
  EXPECT_EQ(quor::GameNodeList().Count(), 13);
  quor::GameNodeList().DeleteAll();
  quor::CurrentGameDirector = nullptr;
}

// The real game, saved with F5 and loaded with F6: the file starts with the variables.
TEST(GameRunning, SavesWithTheVariablesFirstAndLoadsThemBack) {
  testing_support::TempDir dir;
  testing_support::GameRun run;
  const std::string file = dir.File("game.sav");
  Stage = 4;
  DemonLife = 5;
  AttackFired = 1;
  run.host.AtFrame(10, [&](platform::HeadlessHost& h) {
    h.AnswerFileDialog(file);
    h.input.PressKey(platform::KeyF5);
  });
  run.host.AtFrame(11, [](platform::HeadlessHost& h) { h.input.ReleaseKey(platform::KeyF5); });
  run.host.AtFrame(20, [&](platform::HeadlessHost& h) {
    Stage = 1;
    DemonLife = 12;
    AttackFired = 0;
    h.AnswerFileDialog(file);
    h.input.PressKey(platform::KeyF6);
  });
  run.host.AtFrame(21, [](platform::HeadlessHost& h) { h.input.ReleaseKey(platform::KeyF6); });
  run.Run(40);
  ASSERT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  std::vector<uint8_t> saved = ReadBytes(file);
  ASSERT_GT(saved.size(), static_cast<size_t>(kSavedVariablesSize) + 4);
  std::vector<uint8_t> head(saved.begin(), saved.begin() + kSavedVariablesSize);
  EXPECT_EQ(head, Record({0, 2, 1, 2, 3, 4, 1, 4, 5}, 1, 19));
  // The scene's id follows the variables.
  EXPECT_EQ(saved[kSavedVariablesSize], 1);
  EXPECT_EQ(Stage, 4);
  EXPECT_EQ(DemonLife, 5);
  EXPECT_EQ(AttackFired, 1);
}

}  // namespace
}  // namespace game
