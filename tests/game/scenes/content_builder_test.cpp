// The content builder walking a table of its own: every kind of row reaches the running
// scene with the values and in the order the table gives.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/display/map.h"
#include "engine/display/variable.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/sound.h"
#include "engine/sound_input/streamed_sound.h"
#include "game/scenes/content_data.h"
#include "tests/support/game_run.h"

namespace game {
namespace {

constexpr Point kBox[] = {{10, 10}, {100, 10}, {100, 100}, {10, 100}, {10, 10}};
constexpr Point kHook[] = {{200, 200}, {210, 205}, {220, 200}};
constexpr Polyline kWalls[] = {kBox, kHook};

// Files of the game's own scenes, under other names.
constexpr SoundRow kStreams[] = {{"Quiet", "Vostrel - Deeper Past The Gate.wav"},
                                 {"Tune", kAtticMusic}};
constexpr SoundRow kSounds[] = {{"Beep", kVrendleQuestSound.file}};
constexpr MapRow kMaps[] = {LevelMap("Room", "Title Screen.bmp", kWalls),
                            MistMap("Haze", "Mist 1.bmp", 2, -3.0f)};
constexpr PathStep kWalk[] = {{5, 0}, {0, 7}, {-5, -7}};
constexpr SpriteRow kSprites[] = {
    {"Walker", 4, 2, 1, 30, 40, 1, 5, Behaviour(13), "mso", {2, 3}, {0, -4}, kBounce, Path(kWalk)},
    {"Ghost", 4, 0, 0, -12, 8, 3, 0, Machine(0), "msp", {}, {3, -4}, kInactive},
    {"Brick", 4, 0, 0, 100, 200, 0, 0, kNoControl, "r", {}, {}, 0, {}, Block(3, 10, 2, 20)},
};
constexpr TextRow kTexts[] = {{"Caption", 241, 319, 640, 480, "Hello"}};
constexpr SceneContent kTestContent{kStreams, kSounds, kMaps, "Tune", kSprites, kTexts};

static_assert(kTestContent.SpriteCount() == 8, "a block of 3 x 2 counts six sprites");
static_assert(kMaps[0].SegmentCount() == 6, "five points give four segments, three give two");
static_assert(kBox[0].x == kBox[4].x && Polyline(kBox).Closed() && !Polyline(kHook).Closed(),
              "a polyline that ends where it began is closed");

void BuildTestScene(quor::GameNode* scene) { BuildSceneContent(scene, kTestContent); }

// The sprites of a layer from its head.
std::vector<quor::Sprite*> Layer(int layer) {
  std::vector<quor::Sprite*> sprites;
  quor::NodeList& list = quor::CurrentGameNode->layers[layer];
  for (quor::Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext())
    sprites.push_back(static_cast<quor::Sprite*>(n));
  return sprites;
}

class ContentBuilder : public ::testing::Test {
 protected:
  // Runs the game with the first scene built from the test's table, and looks at it
  // once it has run a few frames.
  void RunTestScene(const std::function<void()>& look) {
    testing_support::GameRun run;
    run.host.AtFrame(0, [](platform::HeadlessHost&) {
      quor::CurrentGameNode->buildAnimationSets = nullptr;
      quor::CurrentGameNode->buildContent = BuildTestScene;
      quor::CurrentGameDirector->RequestGameNode(1);
    });
    bool looked = false;
    run.host.AtFrame(4, [&](platform::HeadlessHost&) {
      look();
      looked = true;
    });
    run.Run(6);
    EXPECT_TRUE(looked);
    ASSERT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  }
};

TEST_F(ContentBuilder, SceneAndViewAreOneScreenThatEscapeLeaves) {
  RunTestScene([] {
    quor::GameNode* scene = quor::CurrentGameNode;
    EXPECT_EQ(scene->GetWidth(), 640);
    EXPECT_EQ(scene->GetHeight(), 480);
    EXPECT_EQ(scene->GetEscapeQuits(), 1);
    EXPECT_EQ(scene->GetShowScrollBox(), 0);
    EXPECT_EQ(scene->targetRate, 60u);
    EXPECT_EQ(scene->viewPort.GetViewWidth(), 640.0f);
    EXPECT_EQ(scene->viewPort.GetViewHeight(), 480.0f);
    EXPECT_EQ(scene->viewPort.GetLeft(), 0.0f);
    EXPECT_EQ(scene->viewPort.GetTop(), 0.0f);
    EXPECT_EQ(scene->viewPort.GetScrollBoxRight(), 640.0f);
    EXPECT_EQ(scene->viewPort.GetScrollBoxBottom(), 480.0f);
  });
}

TEST_F(ContentBuilder, SoundsAreAddedAndOnlyTheMusicPlays) {
  RunTestScene([] {
    EXPECT_EQ(quor::CurrentGameNode->streamedSounds.Count(), 2);
    EXPECT_EQ(quor::CurrentGameNode->sounds.Count(), 1);
    quor::StreamedSound* tune = quor::FindStreamedSoundByName("Tune");
    quor::StreamedSound* quiet = quor::FindStreamedSoundByName("Quiet");
    ASSERT_NE(tune, nullptr);
    ASSERT_NE(quiet, nullptr);
    EXPECT_TRUE(tune->IsPlaying());
    EXPECT_FALSE(quiet->IsPlaying());
    EXPECT_EQ(tune->looping, 1);
    quor::Sound* beep = quor::FindSoundByName("Beep");
    ASSERT_NE(beep, nullptr);
    EXPECT_EQ(beep->looping, 0);
    EXPECT_FALSE(beep->IsPlaying());
  });
}

TEST_F(ContentBuilder, MapsCarryTheirKindDepthDriftKeyAndWalls) {
  RunTestScene([] {
    quor::NodeList& maps = quor::CurrentGameNode->maps;
    ASSERT_EQ(maps.Count(), 2);
    auto* room = static_cast<quor::Map*>(maps.GetHead());
    auto* haze = static_cast<quor::Map*>(room->GetNext());
    EXPECT_STREQ(room->GetName(), "Room");
    EXPECT_EQ(room->GetKind(), quor::MasterMap);
    EXPECT_EQ(room->GetDepth(), 0);
    EXPECT_EQ(room->blitFlags, quor::Map::kBlitWait);
    EXPECT_EQ(room->segments.Count(), 6);
    EXPECT_EQ(room->GetCompositionConstant(), 128);
    EXPECT_STREQ(haze->GetName(), "Haze");
    EXPECT_EQ(haze->GetKind(), quor::ContinuousWrappedMap);
    EXPECT_EQ(haze->GetDepth(), 2);
    EXPECT_EQ(haze->driftX, -3.0f);
    EXPECT_EQ(haze->driftY, 0.0f);
    EXPECT_EQ(haze->blitFlags, quor::Map::kBlitWaitKeySource);
    EXPECT_EQ(haze->colorKey, 0xFFFFFFu);
    EXPECT_EQ(haze->segments.Count(), 0);
  });
}

TEST_F(ContentBuilder, SpritesTakeEveryColumnOfTheirRow) {
  RunTestScene([] {
    std::vector<quor::Sprite*> first = Layer(1);
    ASSERT_EQ(first.size(), 1u);
    quor::Sprite* walker = first[0];
    EXPECT_STREQ(walker->name, "Walker");
    EXPECT_STREQ(walker->map->GetName(), "Room");
    EXPECT_EQ(walker->animationSet, 4);
    EXPECT_EQ(walker->requestedDepth, 5);
    EXPECT_EQ(walker->behaviourIndex, 13);
    EXPECT_EQ(walker->stateMachineIndex, -1);
    EXPECT_EQ(walker->collideWithMap, 1);
    EXPECT_EQ(walker->collideWithSprites, 1);
    EXPECT_EQ(walker->collideWithOwnLayer, 1);
    EXPECT_EQ(walker->passable, 0);
    EXPECT_EQ(walker->rectangleCollision, 0);
    EXPECT_EQ(walker->bounce, 1);
    EXPECT_EQ(walker->inactive, 0);
    EXPECT_EQ(walker->mainCharacter, 0);
    EXPECT_EQ(walker->speedX, 2.0f);
    EXPECT_EQ(walker->speedY, 3.0f);
    ASSERT_EQ(walker->pathLength, 3u);
    EXPECT_EQ(walker->pathLoop, 1);
    EXPECT_EQ(walker->path[1].unitX, 0.0f);
    EXPECT_EQ(walker->path[1].unitY, 1.0f);
    EXPECT_EQ(walker->path[1].length, 7u);

    std::vector<quor::Sprite*> third = Layer(3);
    ASSERT_EQ(third.size(), 1u);
    quor::Sprite* ghost = third[0];
    EXPECT_EQ(ghost->stateMachineIndex, 0);
    EXPECT_EQ(ghost->behaviourIndex, -1);
    EXPECT_EQ(ghost->inactive, 1);
    EXPECT_EQ(ghost->passable, 1);
    EXPECT_EQ(ghost->x, -12.0f);

    // The block: row by row from the line's place, each with the line's settings.
    std::vector<std::pair<float, float>> places;
    for (quor::Sprite* brick : Layer(0)) {
      if (std::strcmp(brick->name, "Brick") != 0) continue;  // the engine's text cursor
      EXPECT_EQ(brick->rectangleCollision, 1);
      EXPECT_EQ(brick->collideWithSprites, 0);
      EXPECT_EQ(brick->behaviourIndex, -1);
      places.emplace_back(brick->x, brick->y);
    }
    // Sprites of one depth: the newest stands in front, so the list runs backward.
    std::vector<std::pair<float, float>> expected = {{120, 220}, {110, 220}, {100, 220},
                                                     {120, 200}, {110, 200}, {100, 200}};
    EXPECT_EQ(places, expected);
  });
}

TEST_F(ContentBuilder, TheDirectionIsNormalisedFromTheRow) {
  RunTestScene([] {
    // A hidden sprite does not run, so it still holds the direction it was given.
    quor::Sprite* ghost = quor::FindSpriteByName("Ghost");
    ASSERT_NE(ghost, nullptr);
    EXPECT_FLOAT_EQ(ghost->directionX, 0.6f);
    EXPECT_FLOAT_EQ(ghost->directionY, -0.8f);
  });
}

TEST_F(ContentBuilder, TextBoxesHaveTheSceneFontAndTheirRectangle) {
  RunTestScene([] {
    quor::Variable* caption = nullptr;
    quor::NodeList& boxes = quor::CurrentGameNode->variables;
    for (quor::Node* n = boxes.GetHead(); !n->IsEnd(); n = n->GetNext())
      if (std::strcmp(static_cast<quor::Variable*>(n)->name, "Caption") == 0)
        caption = static_cast<quor::Variable*>(n);
    ASSERT_NE(caption, nullptr);
    EXPECT_STREQ(caption->faceName, "Lucida Bright");
    EXPECT_EQ(caption->fontSize, 15);
    EXPECT_EQ(caption->fontWeight, 600);
    EXPECT_EQ(caption->textColor, 0x0000FFu);
    EXPECT_EQ(caption->keepLeadingSpaces, 1);
    EXPECT_EQ(caption->visible, 1);
    EXPECT_EQ(caption->textRect, (quor::Rect{241, 319, 640, 480}));
    EXPECT_EQ(caption->valueType, quor::kTextValue);
    EXPECT_STREQ(caption->value.text, "Hello");
  });
}

}  // namespace
}  // namespace game
