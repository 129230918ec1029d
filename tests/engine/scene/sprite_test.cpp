#include "engine/scene/sprite.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/object_stream.h"
#include "engine/display/map.h"
#include "engine/scene/alarm.h"
#include "tests/engine/scene/sprite_test_support.h"

namespace quor {
namespace {

using testing_support::ActionData;
using testing_support::FillEntry;
using testing_support::SceneTest;

std::string TempPath(const char* leaf) { return std::string(QUOR_BINARY_DIR) + "/" + leaf; }

std::vector<char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SaveSprite(Sprite* sprite, const std::string& path) {
  ObjectStream out(path, true);
  out.WriteObject(sprite);
  ASSERT_TRUE(out.Good());
}

using SpriteRecordTest = SceneTest;

TEST_F(SpriteRecordTest, ConstructorDefaults) {
  Sprite s;
  EXPECT_EQ(s.visible, 1);
  EXPECT_EQ(s.rectangleCollision, 1);
  EXPECT_EQ(s.previousAnchoredFrame, -1);
  EXPECT_EQ(s.timeOfImpact, 1.5f);
  EXPECT_EQ(s.firstStep, 1);
  EXPECT_EQ(s.reservedWord, 512);
  EXPECT_EQ(s.reservedScaleX, 1.0f);
  EXPECT_EQ(s.reservedScaleY, 1.0f);
  EXPECT_EQ(s.frameMovementAlongX, 1);
  EXPECT_EQ(s.frameMovementAlongY, 1);
  EXPECT_EQ(s.frameMovementSignX, 1.0f);
  EXPECT_EQ(s.frameMovementSignY, 1.0f);
  EXPECT_EQ(s.stateMachineIndex, -1);
  EXPECT_EQ(s.pathStateMachineIndex, -1);
  EXPECT_EQ(s.behaviourIndex, -1);
  EXPECT_EQ(s.reservedIndex, -1);
  EXPECT_EQ(s.pathStep, -1);
  EXPECT_EQ(s.behaviour, nullptr);
  EXPECT_FALSE(s.body.IsSet());
  EXPECT_STREQ(s.GetClassRecord().name, "Sprite");
}

TEST_F(SpriteRecordTest, SettersKeepTheirRules) {
  Sprite s;
  s.SetFriction(250);
  EXPECT_EQ(s.friction, 1.0f);
  s.SetFriction(-3);
  EXPECT_EQ(s.friction, 0.0f);
  s.SetFriction(50);
  EXPECT_FLOAT_EQ(s.friction, 0.5f);

  s.SetDepth(7);
  EXPECT_EQ(s.depth, 7);
  EXPECT_EQ(s.GetDepth(), 7);

  s.action = -2;
  EXPECT_EQ(s.GetAction(), 0);

  scene->viewPort.SetLeft(100.5f);
  scene->viewPort.SetTop(10.0f);
  s.SetX(150.0f);
  s.SetY(5.5f);
  EXPECT_EQ(s.GetScreenX(), 49);
  EXPECT_EQ(s.GetScreenY(), -4);  // truncated toward zero

  s.SetMainCharacter(1);
  s.SetInactive(1);
  EXPECT_EQ(MainCharacter, nullptr);
  s.SetInactive(0);
  EXPECT_EQ(MainCharacter, &s);

  s.SetVariableCount(3);
  EXPECT_EQ(s.variables.Size(), 3u);
  EXPECT_EQ(s.variableCount, 3);
  s.SetVariableCount(1);
  EXPECT_EQ(s.variables.Size(), 1u);
  s.SetVariableCount(-1);
  EXPECT_EQ(s.variables.Size(), 1u);
  EXPECT_EQ(s.variableCount, 1);
  s.SetVariableCount(0);
  EXPECT_EQ(s.variables.Size(), 0u);

  EXPECT_FALSE(s.HasTouched(nullptr));
  SpriteName touched;
  std::strcpy(touched.name, "Player");
  s.touchedNames.Add(touched);
  EXPECT_TRUE(s.HasTouched(nullptr));
  EXPECT_TRUE(s.HasTouched("Player"));
  EXPECT_FALSE(s.HasTouched("player"));
}

TEST_F(SpriteRecordTest, SelectionByIndexUsesTheGameTables) {
  static int calls = 0;
  BehaviourFunction table[2] = {nullptr, [](Node*) { ++calls; }};
  BehaviourFunction* savedTable = BehaviourTable;
  int32_t savedSize = BehaviourTableSize;
  BehaviourTable = table;
  BehaviourTableSize = 2;

  Sprite s;
  s.SetBehaviour(1);
  EXPECT_EQ(s.behaviourIndex, 1);
  s.RunBehaviour();
  EXPECT_EQ(calls, 1);
  s.SetBehaviour(-1);
  EXPECT_EQ(s.behaviour, nullptr);
  s.RunBehaviour();
  EXPECT_EQ(calls, 1);

  BehaviourTable = savedTable;
  BehaviourTableSize = savedSize;
}

TEST_F(SpriteRecordTest, CopiesTakeNoFlipsAndOwnTheirSteps) {
  Sprite a;
  a.SetName("Orc");
  a.flipX = 1;
  a.flipY = 1;
  a.timeOfImpact = 0.25f;
  a.speedX = 3.0f;
  a.SetPathLength(2);
  a.SetPathStep(1, 10, 0);
  a.SetPathStep(2, 0, 7);
  a.body = CollisionSegment(0, 0, 4, 0, 9, 0);

  Sprite b(a);
  EXPECT_STREQ(b.GetName(), "Orc");
  EXPECT_EQ(b.flipX, 0);
  EXPECT_EQ(b.flipY, 0);
  EXPECT_EQ(b.timeOfImpact, 1.5f);
  EXPECT_EQ(b.speedX, 3.0f);
  ASSERT_EQ(b.pathLength, 2u);
  EXPECT_NE(b.path, a.path);
  EXPECT_EQ(b.path[1].length, 7u);
  EXPECT_EQ(b.body.GetValue(), 9);
  EXPECT_TRUE(b.body.IsSet());

  Sprite c;
  c.SetPathLength(4);
  c = Sprite();  // a copy of a sprite without steps frees the old ones
  EXPECT_EQ(c.path, nullptr);
  EXPECT_EQ(c.pathLength, 0u);
  EXPECT_FALSE(c.body.IsSet());
}

TEST_F(SpriteRecordTest, FindSpriteByNameTakesTheLowestLayerThenTheHead) {
  Sprite* deep = AddToLayer(3, "Twin");
  AddToLayer(5, "Twin");
  Sprite* first = AddToLayer(1, "Twin");
  AddToLayer(1, "Twin");
  EXPECT_EQ(FindSpriteByName("Twin"), first);
  scene->layers[1].DeleteAll();
  EXPECT_EQ(FindSpriteByName("Twin"), deep);
  EXPECT_EQ(FindSpriteByName("twin"), nullptr);
  EXPECT_EQ(FindSpriteByName(nullptr), nullptr);

  SpriteHandle handle;
  GetSpriteHandle(handle, "Nobody");
  EXPECT_EQ(handle.Get(), &NullSprite);
  handle->SetX(3.0f);  // calls through a missing sprite are safe
  GetSpriteHandle(handle, "Twin");
  EXPECT_EQ(handle.Get(), deep);
  handle.Set(nullptr);
  EXPECT_EQ(handle.Get(), deep);
  GetSpriteHandle(handle, "Nobody");
  EXPECT_EQ(handle.Get(), &NullSprite);
  NullSprite = Sprite();
}

TEST_F(SpriteRecordTest, SetMapFindsTheMapOrReportsAndQuits) {
  Map* map = new Map;
  std::strcpy(map->name, "Ground");
  scene->maps.InsertBefore(map, scene->maps.GetSentinel());
  Sprite s;
  s.SetName("Hero");
  s.SetMap("Ground");
  EXPECT_EQ(s.GetMap(), map);
  EXPECT_TRUE(host.messageBoxes.empty());

  s.SetMap("Sky");
  EXPECT_EQ(s.GetMap(), nullptr);
  ASSERT_EQ(host.messageBoxes.size(), 1u);
  EXPECT_EQ(host.messageBoxes[0].text,
            "The map name \"Sky\" that the sprite \"Hero\" belong to, does not exist.");
  EXPECT_EQ(host.messageBoxes[0].caption, "Error map name!");
  EXPECT_EQ(QuitRequested, 1);
}

TEST_F(SpriteRecordTest, SpawnInsertsAFreshCopy) {
  FillEntry(2, {{{4, 4}}});
  Sprite templ;
  templ.SetName("Shot");
  templ.SetAnimation(2);
  templ.SetFrame(1);
  templ.firstStep = 0;
  templ.flipX = 1;
  Sprite* copy = templ.Spawn();
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, &templ);
  EXPECT_EQ(copy->firstStep, 1);
  EXPECT_EQ(copy->GetFrame(), 1);
  EXPECT_EQ(copy->GetFrameTimer(), 4);
  EXPECT_EQ(copy->flipX, 0);
  EXPECT_EQ(FindSpriteByName("Shot"), copy);

  // A layer the scene does not have refuses (and deletes) the copy.
  templ.SetLayer(16);
  EXPECT_EQ(templ.Spawn(), nullptr);
  CurrentGameNode = nullptr;
  EXPECT_EQ(templ.Spawn(), nullptr);
  CurrentGameNode = scene.get();
}

TEST_F(SpriteRecordTest, ADeletedSpriteLeavesNoPointerBehind) {
  Sprite* hero = AddToLayer(0, "Hero");
  Sprite* orc = AddToLayer(0, "Orc");
  Sprite* bat = AddToLayer(2, "Bat");
  MainCharacter = hero;
  orc->touchedSprites.Add(hero);
  orc->touchedSprites.Add(bat);
  orc->touchedSprites.Add(hero);
  bat->touchedSprites.Add(hero);
  Alarm alarm;
  alarm.triggeringSprite = hero;
  Alarm other;
  other.triggeringSprite = bat;

  scene->layers[0].Remove(hero);
  EXPECT_EQ(MainCharacter, nullptr);
  ASSERT_EQ(orc->touchedSprites.Size(), 1u);
  EXPECT_EQ(orc->touchedSprites[0], bat);
  EXPECT_EQ(bat->touchedSprites.Size(), 0u);
  EXPECT_EQ(alarm.triggeringSprite, nullptr);
  EXPECT_EQ(other.triggeringSprite, bat);
}

TEST_F(SpriteRecordTest, SaveAndLoadRoundTripByteForByte) {
  FillEntry(3, {{{2, 2, 2}}, {{5}}});
  Map* map = new Map;
  std::strcpy(map->name, "Ground");
  map->width = 640;
  map->height = 480;
  scene->maps.InsertBefore(map, scene->maps.GetSentinel());
  Sprite* other = AddToLayer(1, "Other");

  Sprite s;
  s.SetName("Hero");
  s.SetMap("Ground");
  s.SetAnimation(3);
  s.SetFrame(2);
  s.SetAction(1);
  s.SetX(12.25f);
  s.SetY(-3.5f);
  s.SetDepth(4);
  s.SetLayer(1);
  s.SetSpeedX(2.0f);
  s.SetSpeedY(1.5f);
  s.SetDirection(3.0f, 4.0f, 0);
  s.SetFriction(10);
  s.SetAccelerationMode(1, 1);
  s.acceleration = 0.5f;
  s.transparency = 0.25f;
  s.flipX = 1;
  s.bounce = 1;
  s.passable = 1;
  s.SetCollideWithMap(1);
  s.SetRectangleCollision(0);
  s.body = CollisionSegment(1, 2, 3, 4, 5, 1);
  s.SetVariableCount(2);
  SpriteName touched;
  std::strcpy(touched.name, "Other");
  s.touchedNames.Add(touched);
  s.touchedSprites.Add(other);
  CollisionCircle shape(1, 2, 3, 0, 0);
  s.touchedMapShapes.Add(&shape);
  s.SetPathLength(2);
  s.SetPathStep(1, 3, 4);
  s.SetPathStep(2, -7, 0);
  s.StartPath(1);
  s.pathDistance = 2;

  const std::string first = TempPath("sprite_round_trip_1.sav");
  const std::string second = TempPath("sprite_round_trip_2.sav");
  SaveSprite(&s, first);

  Sprite* loaded = nullptr;
  {
    ObjectStream in(first, false);
    in.ReadObjectAs(&loaded);
    ASSERT_TRUE(in.Good());
  }
  ASSERT_NE(loaded, nullptr);
  EXPECT_STREQ(loaded->GetName(), "Hero");
  EXPECT_EQ(loaded->GetX(), 12.25f);
  EXPECT_EQ(loaded->GetFrame(), 2);
  EXPECT_EQ(loaded->requestedAction, 1);
  EXPECT_EQ(loaded->flipX, 1);
  EXPECT_EQ(loaded->variables.Size(), 2u);
  EXPECT_EQ(loaded->pathLength, 2u);
  EXPECT_EQ(loaded->path[1].length, 7u);
  EXPECT_EQ(loaded->body.GetValue(), 5);
  EXPECT_TRUE(loaded->HasTouched("Other"));
  ASSERT_EQ(loaded->touchedSprites.Size(), 1u);
  ASSERT_EQ(loaded->touchedMapShapes.Size(), 1u);

  SaveSprite(loaded, second);
  EXPECT_EQ(FileBytes(first), FileBytes(second));
  // The loaded sprite's map and touched sprite are new objects the stream made.
  delete loaded->touchedSprites[0];
  delete loaded->GetMap();
  delete loaded;
}

TEST_F(SpriteRecordTest, TheSavedRecordKeepsItsLayout) {
  Sprite s;
  s.SetName("Bat");
  s.SetX(1.5f);
  s.SetDepth(-2);
  s.SetLayer(7);
  s.SetSpeedY(4.0f);
  s.firstStep = 0;
  s.pathStep = 3;
  const std::string path = TempPath("sprite_layout.sav");
  SaveSprite(&s, path);
  std::vector<char> bytes = FileBytes(path);
  // Reference header 36, name 32, three indices 12, id, dead, map 9, eight words 32,
  // animation bytes 11, motion 47, body 50, 7, no text boxes 9, no alarms 8, empty
  // contact lists 20, switches 15, reserved reference and path 21.
  ASSERT_EQ(bytes.size(), 309u);
  auto word = [&bytes](size_t at) {
    int32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  auto real = [&bytes](size_t at) {
    float v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  EXPECT_STREQ(bytes.data() + 36, "Bat");
  EXPECT_EQ(word(68), -1);           // state machine index
  EXPECT_EQ(word(76), -1);           // behaviour index
  EXPECT_EQ(real(89), 1.5f);         // x
  EXPECT_EQ(word(117), -2);          // depth
  EXPECT_EQ(word(132), 7);           // layer
  EXPECT_EQ(real(171), 4.0f);        // speed y
  EXPECT_EQ(real(175), 1.5f);        // time of impact
  EXPECT_EQ(word(236), 0);           // text box count
  EXPECT_EQ(word(245), 0);           // alarm count
  EXPECT_EQ(word(249), 512);         // the reserved word after the alarms
  EXPECT_EQ(word(283), -2);          // requested depth
  EXPECT_EQ(bytes[287], 0);          // first-step flag
  EXPECT_EQ(word(288), 0);           // no reserved object
  EXPECT_EQ(word(292), -1);          // reserved index
  EXPECT_EQ(word(304), 3);           // current path step
}

TEST_F(SpriteRecordTest, TheTextsCursorComesBackFollowingTheMouse) {
  Sprite cursor;
  cursor.SetName(kTextsCursorName);
  cursor.SetBehaviour(-1);
  const std::string path = TempPath("sprite_cursor.sav");
  SaveSprite(&cursor, path);
  // Name, then straight to the id: no indices are written for the cursor.
  std::vector<char> bytes = FileBytes(path);
  ASSERT_GE(bytes.size(), 32u + 4 + 32 + 4 + 1);

  Sprite* loaded = nullptr;
  {
    ObjectStream in(path, false);
    in.ReadObjectAs(&loaded);
    ASSERT_TRUE(in.Good());
  }
  ASSERT_NE(loaded, nullptr);
  EXPECT_STREQ(loaded->GetName(), kTextsCursorCopyName);
  EXPECT_NE(loaded->behaviour, nullptr);
  EXPECT_EQ(loaded->behaviourIndex, -1);
  EXPECT_EQ(loaded->stateMachineIndex, -1);
  delete loaded;
}

TEST_F(SpriteRecordTest, ADamagedSaveFailsCleanly) {
  Sprite s;
  s.SetName("Hero");
  s.SetPathLength(3);
  const std::string path = TempPath("sprite_damaged.sav");
  SaveSprite(&s, path);
  std::vector<char> bytes = FileBytes(path);

  // Cut short at every length: the read fails or completes, and never reads past the end.
  for (size_t cut : {size_t{40}, size_t{90}, bytes.size() / 2, bytes.size() - 5}) {
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(cut));
    }
    ObjectStream in(path, false);
    Sprite* loaded = nullptr;
    in.ReadObjectAs(&loaded);
    EXPECT_FALSE(in.Good()) << cut;
    for (const auto& entry : in.ObjectTable()) delete entry.second;
  }

  // A state machine index past the game's table.
  std::vector<char> bad = bytes;
  int32_t index = 99;
  std::memcpy(bad.data() + 32 + 4 + 32, &index, 4);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bad.data(), static_cast<std::streamsize>(bad.size()));
  }
  ObjectStream in(path, false);
  Sprite* loaded = nullptr;
  in.ReadObjectAs(&loaded);
  EXPECT_FALSE(in.Good());
  for (const auto& entry : in.ObjectTable()) delete entry.second;
}

}  // namespace
}  // namespace quor
