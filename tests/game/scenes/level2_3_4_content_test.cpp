// The tables of "Level2", "Level3" and "Level4", checked against what the game states about
// them: how many sprites, sounds and wall segments, how the walls lie, which sprites start
// hidden, and the rows that differ from the look of their neighbours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/scenes/content_data.h"
#include "tests/game/scenes/content_table_checks.h"

namespace game {
namespace {

using namespace content_checks;

const std::vector<std::string> kLevel2Sounds = {"Key",  "Meat", "Fireball", "Door",
                                                "Item", "Bomb", "Laugh",    "Laser"};

TEST(LevelTables, Level2HasItsSoundsMapAndThirtyEightSprites) {
  const SceneContent& level = SceneContentData(6);
  EXPECT_EQ(&level, &kLevel2Content);
  ASSERT_EQ(level.streamedSounds.count, 1);
  EXPECT_STREQ(level.streamedSounds[0].name, "Level2");
  EXPECT_STREQ(level.streamedSounds[0].file, "Vostrel - Pebbles In The Well (Dungeon Mix).wav");
  EXPECT_STREQ(level.music, "Level2");
  EXPECT_EQ(SoundNames(level.sounds), kLevel2Sounds);
  ASSERT_EQ(level.maps.count, 1);
  EXPECT_STREQ(level.maps[0].name, "Level2");
  EXPECT_STREQ(level.maps[0].bitmap, "Level 2.bmp");
  EXPECT_EQ(level.maps[0].kind, kMasterMapKind);
  EXPECT_EQ(level.maps[0].depth, 0);
  EXPECT_FALSE(level.maps[0].whiteKey);
  EXPECT_EQ(level.SpriteCount(), 38u);
  EXPECT_EQ(level.texts.count, 0);

  auto names = NameCounts(level);
  EXPECT_EQ(names["Keys"], 3);
  EXPECT_EQ(names["Meat"], 3);
  EXPECT_EQ(names["Doors"], 2);
  EXPECT_EQ(names["Spear1"], 4);
  EXPECT_EQ(names["Spinner1"], 3);
  for (const char* shooter :
       {"Laser Ball Up", "Laser Beam Left", "Laser Trap Down", "Laser Trap Right"})
    EXPECT_EQ(names[shooter], 2) << shooter;
  for (const char* one :
       {"Player", "Hat", "FireIcon", "WaterIcon", "Dagger", "Boot", "Glass", "Hearts", "FireBlast",
        "Trap", "Door", "Wall", "Laser Beam Up", "Laser Beam Across", "Cover"})
    EXPECT_EQ(names[one], 1) << one;
}

TEST(LevelTables, Level2WallsAreElevenPolylinesOfOneHundredAndFourSegments) {
  const MapRow& map = kLevel2Content.maps[0];
  EXPECT_EQ(map.walls.items, kLevel2Walls);
  EXPECT_EQ(map.SegmentCount(), 104u);
  const WallShape shape = ShapeOf(map.walls);
  EXPECT_EQ(shape.pieces, 11);
  EXPECT_EQ(shape.closed, 3);
  EXPECT_EQ(shape.withZeroLength, 0);
  EXPECT_EQ(shape.bounds.left, 13);
  EXPECT_EQ(shape.bounds.right, 627);
  EXPECT_EQ(shape.bounds.top, 10);
  EXPECT_EQ(shape.bounds.bottom, 443);
  // The outer wall comes first and is closed; the eight open corner pieces of three
  // segments each follow, two at each corner of the room.
  EXPECT_TRUE(kLevel2Walls[0].Closed());
  int corners[2][2] = {};
  for (int i = 1; i <= 8; ++i) {
    const Polyline& piece = kLevel2Walls[i];
    EXPECT_FALSE(piece.Closed()) << i;
    EXPECT_EQ(piece.SegmentCount(), 3) << i;
    ++corners[piece.points[0].x > 320][piece.points[0].y > 240];
  }
  EXPECT_EQ(corners[0][0], 2);
  EXPECT_EQ(corners[0][1], 2);
  EXPECT_EQ(corners[1][0], 2);
  EXPECT_EQ(corners[1][1], 2);
}

TEST(LevelTables, Level3HasItsSoundsMapAndFortyFiveSprites) {
  const SceneContent& level = SceneContentData(11);
  EXPECT_EQ(&level, &kLevel3Content);
  ASSERT_EQ(level.streamedSounds.count, 1);
  EXPECT_STREQ(level.streamedSounds[0].name, "Level1");
  EXPECT_STREQ(level.streamedSounds[0].file, "Vostrel - Wading Through Fog.wav");
  EXPECT_STREQ(level.music, "Level1");
  EXPECT_EQ(SoundNames(level.sounds),
            (std::vector<std::string>{"Key", "Meat", "Fireball", "Laugh", "Door", "Item"}));
  ASSERT_EQ(level.maps.count, 1);
  EXPECT_STREQ(level.maps[0].name, "Level3");
  EXPECT_STREQ(level.maps[0].bitmap, "Level 3.bmp");
  EXPECT_EQ(level.SpriteCount(), 45u);

  const MapRow& map = level.maps[0];
  EXPECT_EQ(map.SegmentCount(), 68u);
  const WallShape shape = ShapeOf(map.walls);
  EXPECT_EQ(shape.pieces, 4);
  EXPECT_EQ(shape.closed, 4);
  EXPECT_EQ(shape.withZeroLength, 0);
  EXPECT_EQ(shape.bounds.left, 157);
  EXPECT_EQ(shape.bounds.right, 469);
  EXPECT_EQ(shape.bounds.top, 10);
  EXPECT_EQ(shape.bounds.bottom, 443);

  auto names = NameCounts(level);
  EXPECT_EQ(names["Spear"], 17);
  EXPECT_EQ(names["Keys"], 3);
  EXPECT_EQ(names["Meat"], 4);
  EXPECT_EQ(names["Helmit"], 1);
  EXPECT_EQ(names["SecDoor"], 1);
  EXPECT_EQ(names["Cover"], 1);
}

TEST(LevelTables, Level3SpearsAreOneColumnWithoutBehaviourOrMapCollision) {
  auto spears = Named(kLevel3Content, "Spear");
  ASSERT_EQ(spears.size(), 1u);
  const SpriteRow& column = *spears[0];
  EXPECT_EQ(column.Count(), 17u);
  EXPECT_EQ(column.block.columns, 1);
  EXPECT_EQ(column.x, 442.0f);
  EXPECT_EQ(column.y, 113.0f);
  EXPECT_EQ(column.y + (column.block.rows - 1) * column.block.yStep, 385.0f) << "the lowest spear";
  EXPECT_EQ(column.action, 1);
  EXPECT_EQ(column.frame, 4);
  EXPECT_EQ(column.control.kind, Control::kNone);
  EXPECT_FALSE(column.collision.map);
  // The cover of this level stands still: no behaviour lifts it.
  EXPECT_EQ(Named(kLevel3Content, "Cover")[0]->control.kind, Control::kNone);
}

TEST(LevelTables, Level4HasTheWallsOfLevel2InTheSameOrderUnderItsOwnName) {
  const SceneContent& level = SceneContentData(8);
  EXPECT_EQ(&level, &kLevel4Content);
  ASSERT_EQ(level.maps.count, 1);
  const MapRow& map = level.maps[0];
  const MapRow& level2 = kLevel2Content.maps[0];
  EXPECT_STREQ(map.name, "Level4");
  EXPECT_STREQ(map.bitmap, "Level 2.bmp");
  EXPECT_EQ(map.SegmentCount(), 104u);
  // Segment by segment, in the order the builder adds them.
  ASSERT_EQ(map.walls.count, level2.walls.count);
  for (uint16_t l = 0; l < map.walls.count; ++l) {
    ASSERT_EQ(map.walls[l].count, level2.walls[l].count);
    for (uint16_t p = 0; p < map.walls[l].count; ++p) {
      EXPECT_EQ(map.walls[l].points[p].x, level2.walls[l].points[p].x);
      EXPECT_EQ(map.walls[l].points[p].y, level2.walls[l].points[p].y);
    }
  }
  EXPECT_STREQ(level.music, "Level2");
  ASSERT_EQ(level.streamedSounds.count, 1);
  EXPECT_STREQ(level.streamedSounds[0].name, "Level2");
  EXPECT_STREQ(level.streamedSounds[0].file, kLevel2Content.streamedSounds[0].file);
  EXPECT_EQ(SoundNames(level.sounds), (std::vector<std::string>{"Door", "Item", "Laugh", "Meat",
                                                                "Key", "Fireball", "Bomb",
                                                                "Laser"}));
  EXPECT_EQ(level.SpriteCount(), 43u);
}

TEST(LevelTables, Level4IsTheLayoutOfLevel2WithoutItsCoverAndWithMoreGuards) {
  auto expected = NameCounts(kLevel2Content);
  expected.erase("Cover");
  expected.erase("Laser Trap Right");
  expected["Laser Trap Down"] += 2;
  expected["Spinner1"] += 1;
  expected["FireBall"] += 1;
  expected["Mellon Man 1"] += 1;
  expected["Helmit"] += 3;
  EXPECT_EQ(NameCounts(kLevel4Content), expected);

  // Two of the four shooters named "Laser Trap Down" fire down, two fire to the left.
  std::vector<int> behaviours;
  for (const SpriteRow* row : Named(kLevel4Content, "Laser Trap Down"))
    behaviours.push_back(row->control.index);
  EXPECT_EQ(behaviours, (std::vector<int>{28, 28, 29, 29}));

  const SpriteRow& fireBall = *Named(kLevel4Content, "FireBall")[0];
  EXPECT_EQ(fireBall.layer, 3);
  EXPECT_EQ(fireBall.speed.x, 2.0f);
  EXPECT_EQ(fireBall.speed.y, 7.0f);

  // The guards walk loops that end where they began.
  std::vector<int> pathLengths;
  for (const SpriteRow* guard : Named(kLevel4Content, "Helmit")) {
    pathLengths.push_back(guard->path.count);
    EXPECT_EQ(PathSum(*guard).x, 0.0f);
    EXPECT_EQ(PathSum(*guard).y, 0.0f);
  }
  EXPECT_EQ(pathLengths, (std::vector<int>{2, 4, 6}));
}

TEST(LevelTables, OnlyTheBeamTemplatesAndTheGlassOfLevel3StartHidden) {
  const std::vector<std::string> beams = {"Laser Beam Up", "Laser Beam Across"};
  EXPECT_EQ(Hidden(kLevel2Content), beams);
  EXPECT_EQ(Hidden(kLevel4Content), beams);
  EXPECT_EQ(Hidden(kLevel3Content), std::vector<std::string>{"Glass"});
  const SpriteRow& glass = *Named(kLevel3Content, "Glass")[0];
  EXPECT_EQ(glass.x, 519.0f);
  EXPECT_EQ(glass.y, 28.0f);
}

TEST(LevelTables, BeamTemplatesWaitAtTheOriginWithTheSpeedTheirCopiesTake) {
  for (const SceneContent* level : {&kLevel2Content, &kLevel4Content}) {
    const SpriteRow& up = *Named(*level, "Laser Beam Up")[0];
    const SpriteRow& across = *Named(*level, "Laser Beam Across")[0];
    for (const SpriteRow* beam : {&up, &across}) {
      EXPECT_EQ(beam->x, 0.0f);
      EXPECT_EQ(beam->y, 0.0f);
      EXPECT_EQ(beam->set, 23);
      EXPECT_EQ(beam->control.index, 26);
      EXPECT_TRUE(beam->collision.map);
      EXPECT_TRUE(beam->collision.sprites);
    }
    EXPECT_EQ(up.action, 1);
    EXPECT_EQ(up.speed.y, 5.0f);
    EXPECT_EQ(across.action, 0);
    EXPECT_EQ(across.speed.x, 5.0f);
    // The across beams have a layer to themselves (the cover of Level2 apart).
    EXPECT_EQ(across.layer, 3);
    EXPECT_EQ(up.layer, 0);
  }
}

TEST(LevelTables, Level2WeaponsAndSpearsStartAsStated) {
  const SpriteRow& trap = *Named(kLevel2Content, "Trap")[0];
  EXPECT_EQ(trap.x, 0.0f);
  EXPECT_EQ(trap.y, 0.0f);
  EXPECT_EQ(trap.layer, 1);
  EXPECT_TRUE(trap.collision.sprites);
  EXPECT_FALSE(trap.collision.map);
  const SpriteRow& blast = *Named(kLevel2Content, "FireBlast")[0];
  EXPECT_EQ(blast.frame, 1);
  EXPECT_LT(blast.x, 0.0f) << "parked outside the screen";
  auto spears = Named(kLevel2Content, "Spear1");
  ASSERT_EQ(spears.size(), 4u);
  for (const SpriteRow* spear : spears) EXPECT_EQ(spear->control.kind, Control::kNone);
}

}  // namespace
}  // namespace game
