// The two boss scenes' tables: their totals, their walls, the rows the fights rely on, and
// every sprite's animation choice against the entries its scene's builder fills.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/animation/animation_builders.h"
#include "game/scenes/content_data.h"
#include "tests/game/scenes/content_table_checks.h"

namespace game {
namespace {

using namespace content_checks;

TEST(MidBossContent, HoldsItsSoundsMapsAndThirtyOneSprites) {
  const SceneContent& c = kMidBossContent;
  EXPECT_EQ(SoundNames(c.streamedSounds), (std::vector<std::string>{"Level2", "Mid_Music"}));
  EXPECT_EQ(SoundNames(c.sounds),
            (std::vector<std::string>{"Laugh", "Door", "Item", "Bomb", "Meat", "Key", "Fireball"}));
  EXPECT_STREQ(c.music, "Mid_Music");
  ASSERT_EQ(c.maps.count, 2);
  EXPECT_STREQ(c.maps[0].name, "Mid_Boss");
  EXPECT_STREQ(c.maps[0].bitmap, "Mid Boss.bmp");
  EXPECT_STREQ(c.maps[1].name, "Mist");
  EXPECT_EQ(c.maps[1].kind, kContinuousWrappedMapKind);
  EXPECT_EQ(c.maps[1].depth, 2);
  EXPECT_EQ(c.maps[1].autoScrollX, -3.0f);
  EXPECT_EQ(c.SpriteCount(), 31u);
  EXPECT_EQ(Named(c, "Meat").size(), 8u);
  EXPECT_EQ(Named(c, "Keys").size(), 3u);
  EXPECT_EQ(Named(c, "Spinner1").size(), 2u);
  EXPECT_STREQ(c.sprites[0].name, "Player");
  EXPECT_STREQ(c.sprites[c.sprites.count - 1].name, "Barf");
}

TEST(MidBossContent, WallsAreOneClosedOutlineOfThirtySixSegments) {
  const MapRow& map = kMidBossContent.maps[0];
  ASSERT_EQ(map.walls.count, 1);
  EXPECT_EQ(map.SegmentCount(), 36u);
  const WallShape shape = ShapeOf(map.walls);
  EXPECT_EQ(shape.closed, 1);
  EXPECT_EQ(shape.withZeroLength, 0);
  EXPECT_EQ(shape.bounds.left, 8);
  EXPECT_EQ(shape.bounds.right, 632);
  EXPECT_EQ(shape.bounds.top, 8);
  EXPECT_EQ(shape.bounds.bottom, 443);
}

TEST(MidBossContent, TheBossRunsTheFirstMachineOnALoopThatComesBack) {
  const SpriteRow& demon = One(kMidBossContent, "Demon");
  EXPECT_EQ(demon.control.kind, Control::kMachine);
  EXPECT_EQ(demon.control.index, 0);
  EXPECT_EQ(demon.x, 99.0f);
  EXPECT_EQ(demon.y, 15.0f);
  EXPECT_EQ(demon.layer, 3);
  EXPECT_EQ(demon.speed.x, 3.0f);
  EXPECT_EQ(demon.speed.y, 0.0f);  // the ball countdown starts at 0: the first ball at once
  EXPECT_EQ(demon.path.count, 10);
  EXPECT_EQ(PathSum(demon).x, 0.0f);
  EXPECT_EQ(PathSum(demon).y, 0.0f);
}

TEST(MidBossContent, TheWaterIconAloneStartsHidden) {
  EXPECT_EQ(Hidden(kMidBossContent), (std::vector<std::string>{"WaterIcon"}));
}

TEST(MidBossContent, TheBossShotsArePassableAndTheLasersStartFalling) {
  for (const char* name : {"Ball", "Laser1", "Laser2", "Barf"}) {
    const SpriteRow& shot = One(kMidBossContent, name);
    EXPECT_TRUE(shot.collision.passable) << name;
    EXPECT_TRUE(shot.collision.map) << name;
    EXPECT_EQ(shot.set, 29) << name;
  }
  const SpriteRow& laser1 = One(kMidBossContent, "Laser1");
  EXPECT_EQ(laser1.action, 2);
  EXPECT_EQ(laser1.frame, 1);
  EXPECT_GT(laser1.x, 0.0f);
  EXPECT_EQ(laser1.speed.y, 6.0f);
  EXPECT_LT(One(kMidBossContent, "Ball").x, 0.0f);
  EXPECT_LT(One(kMidBossContent, "Barf").x, 0.0f);
  EXPECT_EQ(One(kMidBossContent, "Barf").action, 4);
  EXPECT_EQ(One(kMidBossContent, "BLife").frame, 0);
  EXPECT_EQ(One(kMidBossContent, "Door").control.index, 15);
}

TEST(MidBossContent, EverySpriteShowsAnActionItsEntryHas) {
  ExpectAnimationChoicesExist(kMidBossContent, BuildMidBossAnimationSets);
}

TEST(FinalLevelContent, HoldsItsSoundsWithoutBombAndSeventyFourSprites) {
  const SceneContent& c = kFinalLevelContent;
  EXPECT_EQ(SoundNames(c.streamedSounds), (std::vector<std::string>{"Level2", "Final_Music"}));
  EXPECT_EQ(SoundNames(c.sounds),
            (std::vector<std::string>{"Meat", "Key", "Fireball", "Laugh", "Item", "Door"}));
  EXPECT_STREQ(c.music, "Final_Music");
  ASSERT_EQ(c.maps.count, 2);
  EXPECT_STREQ(c.maps[0].name, "Final_Level");
  EXPECT_STREQ(c.maps[0].bitmap, "Final Level.bmp");
  EXPECT_STREQ(c.maps[1].bitmap, "Mist 2.bmp");
  EXPECT_EQ(c.SpriteCount(), 74u);
  EXPECT_STREQ(c.sprites[0].name, "Player");
  EXPECT_STREQ(c.sprites[c.sprites.count - 1].name, "Demon");
}

TEST(FinalLevelContent, WallsAreOneClosedOutlineOfFiftySegments) {
  const MapRow& map = kFinalLevelContent.maps[0];
  ASSERT_EQ(map.walls.count, 1);
  EXPECT_EQ(map.SegmentCount(), 50u);
  const WallShape shape = ShapeOf(map.walls);
  EXPECT_EQ(shape.closed, 1);
  EXPECT_EQ(shape.withZeroLength, 0);
  EXPECT_EQ(shape.bounds.left, 9);
  EXPECT_EQ(shape.bounds.right, 631);
  EXPECT_EQ(shape.bounds.top, 9);
  EXPECT_EQ(shape.bounds.bottom, 442);
}

// Sprites 7 to 54: row by row from y 22 to 110, four across at x 14, 26, 38, 50.
TEST(FinalLevelContent, TheMeatIsBuiltRowByRow) {
  std::vector<Built> sprites = Sprites(kFinalLevelContent);
  ASSERT_EQ(sprites.size(), 74u);
  for (int i = 0; i < 48; ++i) {
    const Built& meat = sprites[6 + i];
    EXPECT_STREQ(meat.row->name, "Meat");
    EXPECT_EQ(meat.x, 14.0f + 12.0f * (i % 4)) << i;
    EXPECT_EQ(meat.y, 22.0f + 8.0f * (i / 4)) << i;
  }
  EXPECT_STREQ(sprites[54].row->name, "Hearts");
}

TEST(FinalLevelContent, BothBossesRunTheirMachines) {
  const SpriteRow& tenma = One(kFinalLevelContent, "Tenma");
  EXPECT_EQ(tenma.control.kind, Control::kMachine);
  EXPECT_EQ(tenma.control.index, 1);
  EXPECT_TRUE(tenma.collision.passable);
  EXPECT_EQ(tenma.speed.y, 0.0f);
  const SpriteRow& demon = One(kFinalLevelContent, "Demon");
  EXPECT_EQ(demon.control.kind, Control::kMachine);
  EXPECT_EQ(demon.control.index, 0);
  EXPECT_EQ(demon.path.count, 6);
  EXPECT_EQ(PathSum(demon).x, 0.0f);
  EXPECT_EQ(One(kFinalLevelContent, "TenmaLife").frame, 19);
  EXPECT_EQ(One(kFinalLevelContent, "Door").control.index, 23);
}

TEST(FinalLevelContent, TheFinalBossShotsWaitHiddenWithTheirSpeeds) {
  EXPECT_EQ(Hidden(kFinalLevelContent),
            (std::vector<std::string>{"WaterIcon", "Tlaser", "Tball", "Tblob"}));
  const SpriteRow& laser = One(kFinalLevelContent, "Tlaser");
  EXPECT_EQ(laser.speed.x, -20.0f);
  EXPECT_EQ(laser.speed.y, 3.0f);
  EXPECT_FALSE(laser.collision.sprites);
  EXPECT_FALSE(laser.collision.map);
  const SpriteRow& ball = One(kFinalLevelContent, "Tball");
  EXPECT_EQ(ball.speed.x, 5.0f);
  EXPECT_TRUE(ball.flags & kBounce);
  EXPECT_TRUE(ball.collision.passable);
  const SpriteRow& blob = One(kFinalLevelContent, "Tblob");
  EXPECT_EQ(blob.speed.x, -4.0f);
  EXPECT_EQ(blob.speed.y, 4.0f);
  EXPECT_EQ(blob.action, 1);
}

TEST(FinalLevelContent, EverySpriteShowsAnActionItsEntryHas) {
  ExpectAnimationChoicesExist(kFinalLevelContent, BuildFinalLevelAnimationSets);
}

}  // namespace
}  // namespace game
