// The table of "Level1", checked against what the game states about it: its sounds and
// map, 160 wall segments in nine pieces, 50 sprites, the hero's layer, the covers, the
// things that wait off screen, and the Helmits' rounds.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "game/animation/animation_builders.h"
#include "game/scenes/content_data.h"
#include "tests/game/scenes/content_table_checks.h"

namespace game {
namespace {

using namespace content_checks;

TEST(Level1Content, HoldsItsSoundsItsMapAndFiftySprites) {
  const SceneContent& level = SceneContentData(4);
  EXPECT_EQ(&level, &kLevel1Content);
  ASSERT_EQ(level.streamedSounds.count, 1);
  EXPECT_STREQ(level.streamedSounds[0].name, "Level1");
  EXPECT_STREQ(level.streamedSounds[0].file, "Vostrel - Wading Through Fog.wav");
  EXPECT_STREQ(level.music, "Level1");
  EXPECT_EQ(SoundNames(level.sounds),
            (std::vector<std::string>{"Key", "Meat", "Fireball", "Laugh", "Door", "Item"}));
  ASSERT_EQ(level.maps.count, 1);
  EXPECT_STREQ(level.maps[0].name, "Level1");
  EXPECT_STREQ(level.maps[0].bitmap, "Level 1.bmp");
  EXPECT_EQ(level.maps[0].kind, kMasterMapKind);
  EXPECT_EQ(level.maps[0].depth, 0);
  EXPECT_FALSE(level.maps[0].whiteKey);
  EXPECT_EQ(level.texts.count, 0);
  EXPECT_EQ(level.SpriteCount(), 50u);

  std::map<std::string, int> counts = NameCounts(level);
  const std::map<std::string, int> several = {
      {"DoorFront", 7}, {"Helmit", 6}, {"covers", 6}, {"Meat", 4}, {"Keys", 3}};
  for (const auto& [name, n] : several) EXPECT_EQ(counts[name], n) << name;
  for (const char* one :
       {"Player",   "DoorSide",  "Mellon Man 1", "Mellon Man 2", "Mellon Man 3", "Mellon Man 4",
        "FireBall", "FireBall2", "FireBall3",    "FireBall4",    "Spear1",       "Spear2",
        "Spear3",   "Spinner1",  "Hat",          "FireIcon",     "WaterIcon",    "Dagger",
        "Boot",     "Hearts",    "FireBlast",    "Door",         "Glass",        "Trap"})
    EXPECT_EQ(counts[one], 1) << one;
}

TEST(Level1Content, WallsAreNinePiecesOfOneHundredAndSixtySegments) {
  const MapRow& map = kLevel1Content.maps[0];
  EXPECT_EQ(map.SegmentCount(), 160u);
  ASSERT_EQ(map.walls.count, 9);
  const WallShape shape = ShapeOf(map.walls);
  EXPECT_EQ(shape.closed, 6);
  EXPECT_EQ(shape.withZeroLength, 0);
  // The open pieces are the three small rounded corners, of three segments each, between
  // x 425 and 536.
  for (uint16_t i = 6; i < 9; ++i) {
    EXPECT_FALSE(map.walls[i].Closed()) << i;
    EXPECT_EQ(map.walls[i].SegmentCount(), 3) << i;
    for (uint16_t p = 0; p < map.walls[i].count; ++p) {
      EXPECT_GE(map.walls[i].points[p].x, 425) << i;
      EXPECT_LE(map.walls[i].points[p].x, 536) << i;
    }
  }
  EXPECT_EQ(shape.bounds.left, 8);
  EXPECT_EQ(shape.bounds.right, 632);
  EXPECT_EQ(shape.bounds.top, 8);
  EXPECT_EQ(shape.bounds.bottom, 469);
}

TEST(Level1Content, OnlyTheHeroAndItsWeaponsAreOnLayerOneAndNoneTouchesTheOthers) {
  std::vector<std::string> layerOne;
  for (const SpriteRow& row : kLevel1Content.sprites) {
    if (row.layer != 1) continue;
    layerOne.push_back(row.name);
    EXPECT_TRUE(row.collision.sprites) << row.name;
    EXPECT_FALSE(row.collision.ownLayer) << row.name;
  }
  EXPECT_EQ(layerOne, (std::vector<std::string>{"Player", "FireBlast", "Trap"}));
  const SpriteRow& hero = One(kLevel1Content, "Player");
  EXPECT_EQ(hero.control.index, 7);
  EXPECT_EQ(hero.speed.x, 2.0f);
  EXPECT_EQ(hero.speed.y, 2.0f);
  EXPECT_EQ(One(kLevel1Content, "FireBlast").speed.x, 3.0f);
}

TEST(Level1Content, TheSixCoversLieAboveEverythingEachShowingItsOwnAction) {
  std::vector<int> actions;
  for (const SpriteRow* cover : Named(kLevel1Content, "covers")) {
    EXPECT_EQ(cover->layer, 2);
    EXPECT_EQ(cover->depth, 6);
    EXPECT_EQ(cover->set, 18);
    EXPECT_EQ(cover->control.index, 20);
    actions.push_back(cover->action);
  }
  EXPECT_EQ(actions, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(Level1Content, ProjectilesAndTheWaterWaitOffScreenAndNothingStartsHidden) {
  std::vector<std::string> offScreen;
  for (const Built& s : Sprites(kLevel1Content)) {
    EXPECT_FALSE(s.row->flags & kInactive) << s.row->name;
    if (s.x < 0 || s.y < 0) offScreen.push_back(s.row->name);
  }
  EXPECT_EQ(offScreen, (std::vector<std::string>{"FireBall", "FireBall2", "FireBall3", "FireBall4",
                                                 "WaterIcon", "FireBlast", "Trap"}));
  // The first two balls start falling, the last two rising.
  EXPECT_GT(One(kLevel1Content, "FireBall2").direction.y, 0.0f);
  EXPECT_LT(One(kLevel1Content, "FireBall4").direction.y, 0.0f);
  const SpriteRow& hearts = One(kLevel1Content, "Hearts");
  EXPECT_EQ(hearts.frame, 2);
  EXPECT_EQ(hearts.x, 60.0f);
  EXPECT_EQ(hearts.y, 460.0f);
}

TEST(Level1Content, OnlyTheSideDoorOfTheSecretDoorsCollidesWithSprites) {
  for (const SpriteRow* door : Named(kLevel1Content, "DoorFront")) {
    EXPECT_FALSE(door->collision.sprites);
    EXPECT_TRUE(door->collision.Rectangle());
    EXPECT_EQ(door->control.index, 18);
  }
  const SpriteRow& side = One(kLevel1Content, "DoorSide");
  EXPECT_TRUE(side.collision.sprites);
  EXPECT_EQ(side.control.index, 18);
}

TEST(Level1Content, EveryHelmitWalksARoundThatComesBackToItsStart) {
  std::vector<int> steps;
  for (const SpriteRow* helmit : Named(kLevel1Content, "Helmit")) {
    const Pair sum = PathSum(*helmit);
    EXPECT_EQ(sum.x, 0.0f) << helmit->x << ", " << helmit->y;
    EXPECT_EQ(sum.y, 0.0f) << helmit->x << ", " << helmit->y;
    EXPECT_EQ(helmit->control.index, 19);
    steps.push_back(helmit->path.count);
  }
  EXPECT_EQ(steps, (std::vector<int>{4, 7, 2, 6, 2, 2}));
}

TEST(Level1Content, EverySpriteShowsAnActionItsEntryHas) {
  ExpectAnimationChoicesExist(kLevel1Content, BuildLevel1AnimationSets);
}

}  // namespace
}  // namespace game
