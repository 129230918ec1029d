// The small scenes played through on the headless host: the opening film, the screens that
// wait for Space, the falls, and the variables each step of the way sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/sound.h"
#include "game/animation/animation_data.h"
#include "game/rules/game_variables.h"
#include "game/scenes/content_data.h"
#include "platform/input_keys.h"
#include "tests/support/game_run.h"

namespace game {
namespace {

// The real game with the name of the scene that runs each frame written down.
class Route {
 public:
  Route() {
    run.host.EveryFrame([this](platform::HeadlessHost&) {
      scenes.push_back(quor::CurrentGameNode ? quor::CurrentGameNode->GetName() : "");
    });
  }
  Route(const Route&) = delete;

  // The first scene runs a few frames, then the game goes to the scene asked for.
  void StartIn(const char* scene) { run.EnterAt(2, scene); }
  void Space(int frame) { testing_support::TapKey(run.host, platform::KeySpace, frame); }
  void At(int frame, std::function<void()> action) {
    run.host.AtFrame(frame, [action](platform::HeadlessHost&) { action(); });
  }
  void Run(int frames) {
    run.Run(frames);
    ASSERT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  }
  std::string SceneAt(int frame) const {
    return frame < static_cast<int>(scenes.size()) ? scenes[frame] : "(not run)";
  }
  std::string LastScene() const { return scenes.empty() ? "" : scenes.back(); }
  // The scenes in the order they ran, each once per stay.
  std::vector<std::string> Stays() const {
    std::vector<std::string> stays;
    for (const std::string& s : scenes)
      if (stays.empty() || stays.back() != s) stays.push_back(s);
    return stays;
  }

  testing_support::GameRun run;
  std::vector<std::string> scenes;
};

// The frames an action plays before it is done, once through.
int ActionLength(int entry, int action) {
  const ActionData& data = AnimationEntryData(entry).actions[action];
  int frames = 0;
  for (uint16_t i = 0; i < data.count; ++i) frames += data.frames[i].duration + 1;
  return frames;
}

int FallLength() { return ActionLength(25, 0) + ActionLength(25, 1); }

TEST(SmallScenes, SpacePressesWalkFromTheStartToTheFirstLevel) {
  Route route;
  route.Space(10);
  route.Space(20);
  // What a player may have left behind is reset on the way into the level.
  route.At(29, [] {
    KeyCount = 2;
    HeartCount = 4;
  });
  route.Space(30);
  route.At(32, [] {
    EXPECT_EQ(KeyCount, 0);
    EXPECT_EQ(HeartCount, 2);
    KeyCount = 3;
    HeartCount = 1;
  });
  route.Run(40 + FallLength());
  EXPECT_EQ(route.SceneAt(10), "Start");
  EXPECT_EQ(route.SceneAt(11), "Title");
  EXPECT_EQ(route.SceneAt(21), "Instruct");
  EXPECT_EQ(route.SceneAt(31), "StageIntro");
  EXPECT_EQ(route.Stays(),
            (std::vector<std::string>{"Start", "Title", "Instruct", "StageIntro", "Level1"}));
  EXPECT_EQ(Stage, 1);
  EXPECT_EQ(KeyCount, 0);
  EXPECT_EQ(HeartCount, 2);
}

TEST(SmallScenes, TheTitlePlaysItsThemeAndWaitsForSpace) {
  Route route;
  route.StartIn("Title");
  bool playing = false;
  route.At(60, [&] {
    playing =
        quor::FindSoundByName("VrendleQuest") && quor::FindSoundByName("VrendleQuest")->IsPlaying();
  });
  route.Run(120);
  EXPECT_TRUE(playing);
  EXPECT_EQ(route.LastScene(), "Title");
}

TEST(SmallScenes, TheIntroPlaysItsSixActionsInOrderThenLoopsTheLast) {
  int filmLength = 0;
  for (int action = 0; action < 5; ++action) filmLength += ActionLength(27, action);
  Route route;
  std::vector<int> actions;
  route.run.host.EveryFrame([&](platform::HeadlessHost&) {
    quor::Sprite* film = quor::FindSpriteByName("AniCon");
    if (film && (actions.empty() || actions.back() != film->action))
      actions.push_back(film->action);
  });
  route.Run(filmLength + 3 * ActionLength(27, 5) + 20);
  EXPECT_EQ(actions, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(route.LastScene(), "Start");
}

TEST(SmallScenes, SpaceAtAnyPointOfTheIntroGoesToTheTitle) {
  const int inAction[] = {1, ActionLength(27, 0) + ActionLength(27, 1) + ActionLength(27, 2) / 2};
  for (int frame : inAction) {
    Route route;
    route.Space(frame);
    route.Run(frame + 5);
    EXPECT_EQ(route.SceneAt(frame), "Start") << frame;
    EXPECT_EQ(route.SceneAt(frame + 1), "Title") << frame;
  }
}

TEST(SmallScenes, TheFallLeadsToTheSceneOfTheStage) {
  const char* expected[] = {"Level1", "Level2", "MidBoss", "Level3", "Level4", "FinalLevel", "Win"};
  for (int32_t stage = 1; stage <= 7; ++stage) {
    Route route;
    route.StartIn("StageIntro");
    route.At(1, [stage] {
      Stage = stage;
      KeyCount = 3;
      HeartCount = 4;
      DemonLife = 5;
      TenmaLife = -2;  // a final boss beaten on an earlier visit
    });
    route.Run(FallLength() + 20);
    EXPECT_EQ(route.LastScene(), expected[stage - 1]) << stage;
    EXPECT_EQ(KeyCount, 0) << stage;
    EXPECT_EQ(HeartCount, 2) << stage;
    EXPECT_EQ(DemonLife, stage >= 3 ? 12 : 5) << stage;
    EXPECT_EQ(TenmaLife, stage >= 6 ? 19 : -2) << stage;
    EXPECT_EQ(Stage, stage) << "no scene on the way sets the stage";
  }
}

TEST(SmallScenes, TheFallRequestsNothingBeyondTheLastStage) {
  for (int32_t stage : {0, 8, 12}) {
    Route route;
    route.StartIn("StageIntro");
    route.At(1, [stage] {
      Stage = stage;
      KeyCount = 3;
    });
    route.Run(FallLength() + 60);
    EXPECT_EQ(route.LastScene(), "StageIntro") << stage;
    EXPECT_EQ(KeyCount, 3) << stage;
  }
}

TEST(SmallScenes, GameOverContinuesAtTheLevelOfTheStage) {
  const char* expected[] = {"Level1", "Level2", "MidBoss", "Level3", "Level4", "FinalLevel"};
  for (int32_t stage = 1; stage <= 7; ++stage) {
    Route route;
    route.StartIn("Lose");
    route.At(1, [stage] {
      Stage = stage;
      KeyCount = 2;
      HeartCount = 0;
      DemonLife = 5;
      TenmaLife = 7;
    });
    route.Space(20);
    route.Run(30);
    EXPECT_EQ(route.SceneAt(19), "Lose") << stage;
    if (stage == 7) {
      // Past the final level there is nothing to continue.
      EXPECT_EQ(route.LastScene(), "Lose");
      EXPECT_EQ(KeyCount, 2);
      continue;
    }
    EXPECT_EQ(route.SceneAt(21), expected[stage - 1]) << stage;
    EXPECT_EQ(KeyCount, 0) << stage;
    EXPECT_EQ(HeartCount, 2) << stage;
    EXPECT_EQ(DemonLife, stage >= 3 ? 12 : 5) << stage;
    EXPECT_EQ(TenmaLife, stage == 6 ? 19 : 7) << stage;
  }
}

TEST(SmallScenes, TheLastFallEndsInVictoryWithEverythingReset) {
  Route route;
  route.StartIn("FinalDoor");
  route.At(1, [] {
    Stage = 6;
    KeyCount = 3;
    HeartCount = 1;
    DemonLife = 0;
    TenmaLife = 0;
  });
  route.Run(ActionLength(25, 2) + 20);
  EXPECT_EQ(route.Stays(), (std::vector<std::string>{"Start", "FinalDoor", "Win"}));
  EXPECT_EQ(KeyCount, 0);
  EXPECT_EQ(HeartCount, 2);
  EXPECT_EQ(DemonLife, 12);
  EXPECT_EQ(TenmaLife, 19);
  EXPECT_EQ(Stage, 6);
}

TEST(SmallScenes, SpaceAfterVictoryStartsAgainKeepingTheStage) {
  Route route;
  route.StartIn("Win");
  route.At(1, [] {
    Stage = 6;
    KeyCount = 3;
    HeartCount = 4;
  });
  route.Space(20);
  route.Run(30);
  EXPECT_EQ(route.SceneAt(19), "Win");
  EXPECT_EQ(route.SceneAt(21), "Start");
  EXPECT_EQ(KeyCount, 0);
  EXPECT_EQ(HeartCount, 2);
  EXPECT_EQ(Stage, 6);
}

// Every scene entered in turn builds with all of its files: no box, no quit.
TEST(SmallScenes, EveryScenesFilesAreThereAndLoad) {
  Route route;
  for (int32_t id = 1; id <= 13; ++id)
    route.At(id * 5, [id] { quor::CurrentGameDirector->RequestGameNode(id); });
  route.Run(13 * 5 + 10);
  EXPECT_FALSE(quor::QuitRequested);
  std::vector<std::string> stays = route.Stays();
  EXPECT_EQ(stays.back(), "FinalDoor");
  EXPECT_EQ(stays.size(), 13u);
}

TEST(SmallScenes, TheGameOverScreenHasTheHeroUnderItsSpotlightInTheMist) {
  Route route;
  route.StartIn("Lose");
  route.At(10, [] {
    quor::GameNode* scene = quor::CurrentGameNode;
    EXPECT_EQ(scene->maps.Count(), 3);
    quor::Sprite* hero = quor::FindSpriteByName("Vrendle");
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->action, 9) << "the hero's death";
    EXPECT_EQ(hero->behaviourIndex, -1);
    quor::Sprite* light = quor::FindSpriteByName("Spotlight");
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->action, 3);
    EXPECT_EQ(quor::FindSpriteByName("Flash3")->behaviourIndex, 17);
  });
  route.Run(12);
}

TEST(SmallScenes, TablesOfTheSmallScenes) {
  // One sprite each, but "Lose" with three; texts only in "Start".
  const int32_t small[] = {1, 2, 3, 5, 7, 10, 13};
  for (int32_t id : small) {
    const SceneContent& content = SceneContentData(id);
    EXPECT_EQ(content.SpriteCount(), id == 5 ? 3u : 1u) << id;
    EXPECT_EQ(content.texts.count, id == 1 ? 2 : 0) << id;
    EXPECT_EQ(content.streamedSounds.count, 1) << id;
    EXPECT_STREQ(content.music, content.streamedSounds[0].name) << id;
    EXPECT_EQ(content.maps.count, id == 5 ? 3 : 1) << id;
    EXPECT_EQ(content.maps[0].walls.count, 0) << id;
  }
  // The two falls differ only in the start action and the behaviour.
  const SpriteRow& rise = SceneContentData(10).sprites[0];
  const SpriteRow& last = SceneContentData(13).sprites[0];
  EXPECT_EQ(rise.action, 0);
  EXPECT_EQ(last.action, 2);
  EXPECT_EQ(rise.control.index, 30);
  EXPECT_EQ(last.control.index, 42);
  EXPECT_EQ(rise.x, last.x);
  EXPECT_EQ(rise.y, last.y);
}

// Whatever a row says about colliding, "r" stands exactly where "s" does not, in every
// scene's table.
TEST(SceneTables, RectangleTestsForEverySpriteThatDoesNotCollideWithSprites) {
  for (int32_t id = 1; id <= 13; ++id) {
    const SceneContent& content = SceneContentData(id);
    for (const SpriteRow& row : content.sprites) {
      EXPECT_EQ(row.collision.Rectangle(), !row.collision.sprites) << id << " " << row.name;
      EXPECT_GE(row.layer, 0);
      EXPECT_LT(row.layer, 16);
    }
    // Every music started is one of the scene's streamed sounds.
    if (content.music) {
      bool found = false;
      for (const SoundRow& s : content.streamedSounds)
        found = found || std::string(s.name) == content.music;
      EXPECT_TRUE(found) << id;
    }
  }
}

}  // namespace
}  // namespace game
