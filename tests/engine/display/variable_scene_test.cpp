// Text boxes with their neighbours: effect sounds, maps they are tied to, the scene.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/core/random.h"
#include "engine/display/map.h"
#include "engine/display/variable.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/sound.h"
#include "platform/headless/headless_host.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

class CountingSound : public Sound {
 public:
  void Play() override { ++plays; }
  int plays = 0;
};

class VariableSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedRandom_ = RandomState();
    savedScene_ = CurrentGameNode;
    platform::InstallHost(&host);
  }
  void TearDown() override {
    CurrentGameNode = savedScene_;
    platform::InstallHost(nullptr);
    SeedRandom(savedRandom_);
  }
  int PlaysOver(Variable& box, int steps) {
    CountingSound sound;
    box.SetEffectSound(&sound);
    for (int i = 0; i < steps; ++i) box.StepTextEffect();
    box.SetEffectSound(nullptr);
    return sound.plays;
  }

  platform::HeadlessHost host;
  uint32_t savedRandom_ = 1;
  GameNode* savedScene_ = nullptr;
};

Variable* Effect(Variable& box, int effect, int interval, int steps, const char* text) {
  box.SetTextEffectTiming(interval, steps);
  box.SetTextEffect(effect);
  box.SetText(text);
  return &box;
}

TEST_F(VariableSceneTest, EffectSounds) {
  Variable typewriter;
  Effect(typewriter, 1, 1, 0, "a b\\nc");
  EXPECT_EQ(PlaysOver(typewriter, 10), 3);  // letters only: no space, no mark

  Variable lines;
  Effect(lines, 2, 1, 0, "one\\ntwo\\nthree");
  EXPECT_EQ(PlaysOver(lines, 10), 3);

  Variable scramble;
  Effect(scramble, 3, 1, 2, "ab\\nc d");
  EXPECT_EQ(PlaysOver(scramble, 10), 2 * 5 + 1);

  Variable ordered;
  Effect(ordered, 5, 1, 1, "ab cd");
  EXPECT_EQ(PlaysOver(ordered, 10), 4);

  Variable random;
  Effect(random, 4, 1, 1, "ab cd");
  EXPECT_EQ(PlaysOver(random, 10), 0);
  EXPECT_STREQ(random.displayText, "ab cd");
}

// Only a sprite carries boxes: anything else found in a layer is passed over.
TEST_F(VariableSceneTest, EffectSoundsAreFoundAgainOnlyInTheLayersSprites) {
  GameNode scene;
  CurrentGameNode = &scene;
  scene.layers[0].AddHead(new CollisionCircle(1.0f, 2.0f, 3.0f, 0, 0));
  ReconnectEffectSounds();
  EXPECT_EQ(scene.layers[0].Count(), 1);
}

TEST_F(VariableSceneTest, TiedBoxesJoinTheirMapUpToThirty) {
  GameNode scene;
  CurrentGameNode = &scene;
  Map* map = new Map;
  std::strcpy(map->name, "Room");
  scene.InsertMap(map);
  for (int i = 0; i < 31; ++i) {
    Variable* box = new Variable;
    box->SetTiedMap(map);
    scene.InsertVariable(box);
  }
  AttachVariablesToMaps();
  EXPECT_EQ(map->GetTiedVariableCount(), 30u);
}

TEST_F(VariableSceneTest, SavedTiesAndSoundsAreFoundByName) {
  GameNode scene;
  CurrentGameNode = &scene;
  Map* map = new Map;
  std::strcpy(map->name, "Room");
  scene.InsertMap(map);
  Sound* sound = new Sound("Blip", "blip.wav", 0, 0);
  scene.InsertSound(sound);

  Variable box;
  box.SetTiedMap(map);
  box.SetEffectSound(sound);
  box.SetText("Tied");
  testing_support::TempDir dir;
  std::string path = dir.File("variable_tied.sav");
  {
    ObjectStream out(path, true);
    box.Save(out);
  }
  Variable loaded;
  {
    ObjectStream in(path, false);
    loaded.Load(in);
    EXPECT_TRUE(in.Good());
  }
  EXPECT_EQ(loaded.tiedMap, map);
  EXPECT_EQ(loaded.effectSound, sound);
  // A box alone does not tie itself: a loaded scene ties the boxes of its list once the
  // list is whole (a box a sprite carries, or one the scene drops, must not stay in a map).
  EXPECT_EQ(map->GetTiedVariableCount(), 0u);

  // Names that are not in the scene leave the pointers empty.
  std::strcpy(map->name, "Other");
  scene.sounds.DeleteAll();
  Variable lost;
  ObjectStream in(path, false);
  lost.Load(in);
  EXPECT_EQ(lost.tiedMap, nullptr);
  EXPECT_EQ(lost.effectSound, nullptr);
}

}  // namespace
}  // namespace quor
