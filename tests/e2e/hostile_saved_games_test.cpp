// Saved games made hostile one field at a time, loaded into a running furnished room: each
// must be refused with the load error box and leave the running game exactly as it was.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/core/live_list.h"
#include "engine/display/map.h"
#include "engine/display/variable.h"
#include "engine/scene/alarm.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/midi_file.h"
#include "engine/sound_input/sound.h"
#include "engine/sound_input/streamed_sound.h"
#include "tests/support/headless_run.h"
#include "tests/support/room_scene.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

Sprite* Find(const char* name) { return FindSpriteByName(name); }

Variable* SceneBox(const char* name) {
  for (Node* n = CurrentGameNode->variables.GetHead(); !n->IsEnd(); n = n->GetNext())
    if (std::strcmp(static_cast<Variable*>(n)->GetName(), name) == 0) return static_cast<Variable*>(n);
  return nullptr;
}

class HostileSavedGames : public ::testing::Test {
 protected:
  void SetUp() override { testing_support::WriteRoomFiles(dir.Path()); }

  // Runs the furnished room to frame 20 and calls check there, in the running game.
  void AtFrame20(const std::function<void()>& check) {
    testing_support::HeadlessRun run;
    host = &run.host;
    testing_support::WalkRightInRoom(run.host, testing_support::UseFurnishedRoom);
    run.host.AtFrame(20, [&](platform::HeadlessHost&) {
      // The game as a load leaves it (a load brings a fresh frame-rate box and text cursor),
      // which is what a refused load puts back.
      ASSERT_TRUE(SaveGameFile(dir.File("start.sav")));
      ASSERT_TRUE(LoadGameFile(dir.File("start.sav")));
      check();
    });
    run.Run(21);
    host = nullptr;
  }

  // A real save of the running game, made with `change` applied and `undo` after it.
  std::vector<uint8_t> SaveWith(const std::function<void()>& change, const std::function<void()>& undo) {
    change();
    EXPECT_TRUE(SaveGameFile(dir.File("hostile.sav")));
    undo();
    return ReadBytes(dir.File("hostile.sav"));
  }

  // Loads the bytes into the running game: refused with one load error box, and the game
  // saves exactly as it did before.
  void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& what) {
    ASSERT_TRUE(SaveGameFile(dir.File("before.sav")));
    WriteBytes(dir.File("bad.sav"), bytes);
    host->messageBoxes.clear();
    EXPECT_FALSE(LoadGameFile(dir.File("bad.sav"))) << what;
    ASSERT_EQ(host->messageBoxes.size(), 1u) << what;
    EXPECT_EQ(host->messageBoxes[0].caption, "Load error .") << what;
    EXPECT_NE(host->messageBoxes[0].text.find("is damaged"), std::string::npos) << what;
    ASSERT_TRUE(SaveGameFile(dir.File("after.sav")));
    EXPECT_EQ(ReadBytes(dir.File("before.sav")), ReadBytes(dir.File("after.sav"))) << what;
  }

  testing_support::TempDir dir;
  platform::HeadlessHost* host = nullptr;
};

// The file the furnished room writes must load, or the cases below prove nothing.
TEST_F(HostileSavedGames, TheFurnishedRoomSavesAndLoadsWithoutABox) {
  AtFrame20([&] {
    ASSERT_TRUE(SaveGameFile(dir.File("room.sav")));
    ASSERT_TRUE(LoadGameFile(dir.File("room.sav")));
    EXPECT_TRUE(host->messageBoxes.empty());
    ASSERT_NE(Find("Crate"), nullptr);
    EXPECT_EQ(Find("Crate")->variables.Size(), 2u);
    EXPECT_NE(SceneBox("Story"), nullptr);
    EXPECT_EQ(CurrentGameNode->streamedSounds.Count(), 1);
  });
}

TEST_F(HostileSavedGames, TextBoxesWithFontsNoArithmeticCanHoldAreRefused) {
  AtFrame20([&] {
    struct Case {
      const char* what;
      std::function<Variable*()> box;
      int32_t Variable::*field;
      int32_t value;
    };
    auto score = [] { return SceneBox("Score"); };
    auto label = [] { return Find("Crate")->variables.At(0); };
    const Case cases[] = {
        {"font size of a scene box", score, &Variable::fontSize, INT32_MAX},
        {"font size too big to draw", score, &Variable::fontSize, 100000},
        {"font width of a scene box", score, &Variable::fontWidth, INT32_MIN},
        {"font weight of a scene box", score, &Variable::fontWeight, -5},
        {"letter spacing of a scene box", score, &Variable::letterSpacing, INT32_MAX},
        {"font size of a sprite's box", label, &Variable::fontSize, -INT32_MAX},
        {"font width of a sprite's box", label, &Variable::fontWidth, 1 << 24},
    };
    for (const Case& c : cases) {
      Variable* box = c.box();
      ASSERT_NE(box, nullptr) << c.what;
      int32_t kept = box->*c.field;
      ExpectRefused(SaveWith([&] { box->*c.field = c.value; }, [&] { box->*c.field = kept; }), c.what);
    }
  });
}

TEST_F(HostileSavedGames, ListsHoldingAnObjectOfAnotherClassAreRefused) {
  AtFrame20([&] {
    GameNode* scene = CurrentGameNode;
    auto stranger = [](const char* kind) -> Node* {
      std::string k = kind;
      if (k == "Map") return new Map(*FindMapByName("Mist"));
      if (k == "Sprite") return new Sprite(*Find("Crate"));
      if (k == "Variable") return new Variable(*SceneBox("Score"));
      if (k == "Sound") return new Sound("Odd", "Sounds\\step.wav", 0, 0);
      return new StreamedSound("Odd", "Sounds\\music.wav", 0);
    };
    struct Case {
      const char* what;
      NodeList* list;
      const char* kind;
    };
    const Case cases[] = {
        {"a layer holding a map", &scene->layers[2], "Map"},
        {"a layer holding a text box", &scene->layers[0], "Variable"},
        {"the map list holding a sprite", &scene->maps, "Sprite"},
        {"the text-box list holding a sprite", &scene->variables, "Sprite"},
        {"the sound list holding a streamed sound", &scene->sounds, "StreamedSound"},
        {"the streamed-sound list holding a sound", &scene->streamedSounds, "Sound"},
        {"the MIDI list holding a sound", &scene->midiFiles, "Sound"},
    };
    for (const Case& c : cases) {
      Node* odd = stranger(c.kind);
      ExpectRefused(SaveWith([&] { c.list->AddHead(odd); }, [&] { c.list->Remove(odd); }), c.what);
    }
  });
}

TEST_F(HostileSavedGames, SpritesAndMapsWithRealNumbersBeyondWholePixelsAreRefused) {
  AtFrame20([&] {
    // A refused load puts the game back from a save, so every object is found anew.
    auto hero = [] { return Find("Hero"); };
    auto crate = [] { return Find("Crate"); };
    auto mist = [] { return FindMapByName("Mist"); };
    struct Case {
      const char* what;
      std::function<float*()> field;
      float value;
    };
    const Case cases[] = {
        {"hero x not a number", [&] { return &hero()->x; }, kNaN},
        {"hero y beyond whole pixels", [&] { return &hero()->y; }, 1e12f},
        {"crate x beyond whole pixels", [&] { return &crate()->x; }, -3e9f},
        {"crate speed infinite", [&] { return &crate()->speedX; }, kInfinity},
        {"crate velocity not a number", [&] { return &crate()->velocityY; }, kNaN},
        {"crate direction huge", [&] { return &crate()->directionX; }, 1e20f},
        {"crate transparency not a number", [&] { return &crate()->transparency; }, kNaN},
        {"crate friction infinite", [&] { return &crate()->friction; }, -kInfinity},
        {"crate path step not a number", [&] { return &crate()->path[0].unitX; }, kNaN},
        {"mist drift not a number", [&] { return &mist()->driftX; }, kNaN},
        {"mist wrap offset beyond whole pixels", [&] { return &mist()->wrapFY; }, 5e9f},
        {"strip scroll factor infinite", [] { return &FindMapByName("Strip")->scrollFactorX; },
         kInfinity},
        {"room position beyond whole pixels", [] { return &FindMapByName("Room")->worldX; }, 4e9f},
    };
    for (const Case& c : cases) {
      float* field = c.field();
      float kept = *field;
      ExpectRefused(SaveWith([&] { *field = c.value; }, [&] { *field = kept; }), c.what);
    }
    // Whole-pixel places in the file are held to the same bound.
    int32_t kept = mist()->screenX;
    ExpectRefused(SaveWith([&] { mist()->screenX = INT32_MAX - 10; }, [&] { mist()->screenX = kept; }),
                  "mist screen position");
  });
}

// The count of a sprite's text boxes stands right after its acceleration.
size_t TextBoxCountAt(const std::vector<uint8_t>& bytes, float marker) {
  uint8_t pattern[4];
  std::memcpy(pattern, &marker, 4);
  for (size_t i = 0; i + 8 <= bytes.size(); ++i)
    if (std::memcmp(&bytes[i], pattern, 4) == 0) return i + 4;
  return 0;
}

TEST_F(HostileSavedGames, ASpritesCountOfTextBoxesIsHeldToWhatTheFileCanHold) {
  AtFrame20([&] {
    Sprite* crate = Find("Crate");
    const float marker = 1234.5f;
    std::vector<uint8_t> good =
        SaveWith([&] { crate->acceleration = marker; }, [&] { crate->acceleration = 0.0f; });
    size_t at = TextBoxCountAt(good, marker);
    ASSERT_GT(at, 0u);
    ASSERT_EQ(good[at], 2);
    for (uint32_t count : {65536u, 3000u, 0x7FFFFFFFu}) {
      std::vector<uint8_t> bad = good;
      std::memcpy(&bad[at], &count, 4);
      ExpectRefused(bad, "text box count " + std::to_string(count));
    }
  });
}

TEST_F(HostileSavedGames, ManyTextBoxesOnASpriteAreMadeAllAtOnce) {
  AtFrame20([&] {
    Sprite* crate = Find("Crate");
    crate->SetVariableCount(45);
    EXPECT_EQ(crate->variables.Capacity(), 45u);
    ASSERT_TRUE(SaveGameFile(dir.File("many.sav")));
    ASSERT_TRUE(LoadGameFile(dir.File("many.sav")));
    crate = Find("Crate");
    EXPECT_EQ(crate->variables.Size(), 45u);
    EXPECT_EQ(crate->variables.Capacity(), 45u);
  });
}

// An alarm only a sprite refers to comes with each load; it must go with that sprite.
TEST_F(HostileSavedGames, LoadsDoNotPileUpTheAlarmsTheirSpritesReferTo) {
  AtFrame20([&] {
    auto liveAlarms = [] {
      int n = 0;
      LiveList<Alarm>::ForEach([&n](Alarm*) { ++n; });
      return n;
    };
    ASSERT_TRUE(SaveGameFile(dir.File("room.sav")));
    ASSERT_TRUE(LoadGameFile(dir.File("room.sav")));
    int once = liveAlarms();
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(LoadGameFile(dir.File("room.sav")));
    EXPECT_EQ(liveAlarms(), once);
    ASSERT_EQ(Find("Crate")->alarms.Size(), 1u);
    EXPECT_STREQ(Find("Crate")->alarms[0]->GetName(), "Gate");
  });
}

// A scene is never a reference: one named in its place (here a sprite's spare reference)
// would overwrite the running scene's state from inside the sprite.
TEST_F(HostileSavedGames, ASceneNamedAsAReferenceIsRefused) {
  AtFrame20([&] {
    auto* other = new GameNode;
    ExpectRefused(SaveWith([&] { Find("Crate")->reservedObject = other; },
                           [&] { Find("Crate")->reservedObject = nullptr; }),
                  "a scene as a sprite's reference");
    delete other;
  });
}

// Objects that only a reference names load, belong to the scene and go with it: none is
// lost (the leak checker would say so at exit) and none is run or drawn as a list's own.
TEST_F(HostileSavedGames, ObjectsOnlyAReferenceNamesStayWithTheScene) {
  AtFrame20([&] {
    Map* stray = new Map(*FindMapByName("Mist"));
    Sprite* visitor = new Sprite(*Find("Crate"));
    visitor->SetName("Visitor");
    std::vector<uint8_t> bytes = SaveWith(
        [&] {
          Find("Crate")->map = stray;
          Find("Crate")->touchedSprites.Add(visitor);
        },
        [&] {
          Find("Crate")->map = FindMapByName("Room");
          Find("Crate")->touchedSprites.Clear();
        });
    delete stray;
    delete visitor;
    WriteBytes(dir.File("strays.sav"), bytes);
    ASSERT_TRUE(LoadGameFile(dir.File("strays.sav")));
    EXPECT_EQ(CurrentGameNode->maps.Count(), 3);
    EXPECT_EQ(FindSpriteByName("Visitor"), nullptr);
    ASSERT_EQ(Find("Crate")->touchedSprites.Size(), 1u);
    EXPECT_STREQ(Find("Crate")->touchedSprites[0]->GetName(), "Visitor");
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(LoadGameFile(dir.File("start.sav")));
  });
}

// The frame-rate box a file holds is dropped by the scene, and a sprite's boxes are never
// drawn by a map: neither may stay in a map's tied list once it is gone.
TEST_F(HostileSavedGames, OnlyTheScenesOwnBoxesAreTiedToItsMaps) {
  AtFrame20([&] {
    Map* mist = FindMapByName("Mist");
    ASSERT_EQ(mist->GetTiedVariableCount(), 1u);  // the sign
    Variable* fps = SceneBox("FPS");
    ASSERT_NE(fps, nullptr);
    std::vector<uint8_t> bytes = SaveWith(
        [&] {
          fps->SetTiedMap(mist);
          Find("Crate")->variables.At(0)->SetTiedMap(mist);
        },
        [&] {
          fps->SetTiedMap(nullptr);
          Find("Crate")->variables.At(0)->SetTiedMap(nullptr);
        });
    WriteBytes(dir.File("tied.sav"), bytes);
    ASSERT_TRUE(LoadGameFile(dir.File("tied.sav")));
    mist = FindMapByName("Mist");
    ASSERT_EQ(mist->GetTiedVariableCount(), 1u);
    EXPECT_STREQ(mist->GetTiedVariable(0)->GetName(), "Sign");
    // The crate dies; the map goes on drawing what it holds.
    Find("Crate")->SetDead(1);
  });
}

// The scene's id counters grow by one a sprite or a box: a file's counter at the end of
// the integers would overflow at the next spawn.
TEST_F(HostileSavedGames, SceneCountersOutsideTheirRangeAreRefused) {
  AtFrame20([&] {
    for (int32_t GameNode::*counter : {&GameNode::spriteIdCounter, &GameNode::variableIdCounter}) {
      for (int32_t value : {INT32_MAX, -1}) {
        int32_t kept = CurrentGameNode->*counter;
        ExpectRefused(SaveWith([&] { CurrentGameNode->*counter = value; },
                               [&] { CurrentGameNode->*counter = kept; }),
                      "counter " + std::to_string(value));
      }
    }
  });
}

// A name that leads to a folder is no file, nor one far larger than any of its kind: the
// load goes on exactly as it does for a missing one. Reading a folder as music, or a 2 TB
// file (which takes no room on the disk) as music or a picture, used to end the program. A
// device (a pipe where none may be made) was opened before it was refused, and opening some
// devices does something.
TEST_F(HostileSavedGames, AFolderOrAFileTooLargeNamedForAFileLoadsAsAMissingFile) {
  for (const char* huge : {"huge", "Sounds/huge", "BITMAPS/huge"}) {
    WriteBytes(dir.File(huge), {});
    ASSERT_EQ(truncate(dir.File(huge).c_str(), off_t{2} << 40), 0);
  }
  ASSERT_EQ(mkdir(dir.File("dev").c_str(), 0700), 0);
  const std::string device = dir.File("dev/null");
  ASSERT_TRUE(mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ||
              mkfifo(device.c_str(), 0666) == 0);
  const int opens = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(inotify_add_watch(opens, dir.File("dev").c_str(), IN_OPEN), 0);
  AtFrame20([&] {
    testing_support::AddTune();
    ASSERT_TRUE(SaveGameFile(dir.File("tuned.sav")));
    // Each puts a name in place of a file the game reads and gives back the one it had.
    auto tune = [] { return static_cast<MidiFile*>(CurrentGameNode->midiFiles.GetHead()); };
    const std::function<std::string(std::string)> renames[] = {
        [&](std::string n) { return std::exchange(tune()->file, n); },
        [](std::string n) { return std::exchange(FindStreamedSoundByName("Music")->file, n); },
        [](std::string n) {
          std::string kept = FindMapByName("Mist")->file;
          std::snprintf(FindMapByName("Mist")->file, sizeof Map::file, "%s", n.c_str());
          return kept;
        }};
    for (const auto& rename : renames) {
      auto loadNaming = [&](const std::string& name) {
        std::string kept;
        WriteBytes(dir.File("named.sav"),
                   SaveWith([&] { kept = rename(name); }, [&] { rename(kept); }));
        host->messageBoxes.clear();
        std::vector<std::string> seen = {LoadGameFile(dir.File("named.sav")) ? "in" : "out"};
        for (const auto& box : host->messageBoxes) seen.push_back(box.caption + box.text);
        EXPECT_TRUE(LoadGameFile(dir.File("tuned.sav")));
        return seen;
      };
      const std::vector<std::string> missing = loadNaming("nowhere");
      EXPECT_EQ(loadNaming("."), missing);
      EXPECT_EQ(loadNaming("huge"), missing);
      EXPECT_EQ(loadNaming("../dev/null"), missing);
    }
  });
  char opened[4096];
  EXPECT_LT(read(opens, opened, sizeof opened), 0) << "the device was opened";
  close(opens);
}

}  // namespace
}  // namespace quor
