// The stand-in art and sound: every file the game names, readable by the game, pictures
// that never turn transparent inside their shapes, level walls where the outlines are, and
// real files never overwritten.
#include "tools/standins/standins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "game/animation/animation_data.h"
#include "game/scenes/content_data.h"
#include "platform/bitmap_file.h"
#include "platform/wave_file.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"
#include "tools/standins/file_formats.h"
#include "tools/standins/frame_pictures.h"
#include "tools/standins/painter.h"
#include "tools/standins/screen_pictures.h"
#include "tools/standins/sounds.h"

namespace standins {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

TEST(StandinFiles, EveryFileTheTablesNameIsWantedOnce) {
  std::set<std::string> wanted;
  for (const WantedFile& file : WantedFiles())
    EXPECT_TRUE(wanted.insert(file.path).second) << file.path;
  for (int entry = 0; entry < 50; ++entry) {
    const game::EntryData& data = game::AnimationEntryData(entry);
    for (uint16_t a = 0; a < data.count; ++a)
      for (uint16_t f = 0; f < data.actions[a].count; ++f)
        EXPECT_TRUE(wanted.count(std::string("BITMAPS/") + data.actions[a].frames[f].bitmap));
  }
  for (int id = 1; id <= 13; ++id) {
    const game::SceneContent& content = game::SceneContentData(id);
    for (const game::MapRow& map : content.maps)
      EXPECT_TRUE(wanted.count(std::string("BITMAPS/") + map.bitmap));
    for (const game::SoundRow& s : content.streamedSounds)
      EXPECT_TRUE(wanted.count(std::string("Sounds/") + s.file));
    for (const game::SoundRow& s : content.sounds)
      EXPECT_TRUE(wanted.count(std::string("Sounds/") + s.file));
  }
}

// What the build wrote beside the game is what the game reads: pictures at their sizes,
// sounds in the format the mixer plays.
TEST(StandinFiles, TheBuildsFolderHoldsEveryFileAndEachReads) {
  const std::string folder = QUOR_STANDIN_FOLDER;
  for (const WantedFile& file : WantedFiles()) {
    const std::string path = folder + "/" + file.path;
    if (file.kind == FileKind::kFrame || file.kind == FileKind::kMap) {
      platform::Image image;
      ASSERT_TRUE(platform::LoadBmpFile(path, image)) << path;
      if (file.kind == FileKind::kFrame) {
        EXPECT_EQ(image.width, file.frame.data->width) << path;
        EXPECT_EQ(image.height, file.frame.data->height) << path;
      } else {
        EXPECT_EQ(image.width, kScreenWidth) << path;
        EXPECT_EQ(image.height, kScreenHeight) << path;
      }
    } else {
      platform::WaveFile wave;
      platform::WaveChunk riff;
      platform::WaveFormat format;
      ASSERT_TRUE(wave.Open(path)) << path;
      ASSERT_TRUE(platform::ReadWaveHeader(wave, riff, format)) << path;
      EXPECT_TRUE(format.IsPlayablePcm()) << path;
      EXPECT_EQ(format.samplesPerSecond, 44100u) << path;
      EXPECT_EQ(format.bitsPerSample, 16) << path;
      EXPECT_EQ(format.channels, 2) << path;
    }
  }
}

// Key pixels reached from the border through key pixels: what shows through around the
// shape, never a hole inside it.
bool KeyOnlyAround(const platform::Image& image, uint32_t key) {
  std::vector<char> seen(image.colors.size(), 0);
  std::vector<std::pair<int, int>> todo;
  for (int x = 0; x < image.width; ++x) todo.insert(todo.end(), {{x, 0}, {x, image.height - 1}});
  for (int y = 0; y < image.height; ++y) todo.insert(todo.end(), {{0, y}, {image.width - 1, y}});
  while (!todo.empty()) {
    auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) continue;
    const size_t i = size_t(y) * image.width + x;
    if (seen[i] || image.colors[i] != key) continue;
    seen[i] = 1;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  for (size_t i = 0; i < image.colors.size(); ++i)
    if (image.colors[i] == key && !seen[i]) return false;
  return true;
}

TEST(StandinFrames, NoFrameShowsItsKeyInsideItsShape) {
  for (const WantedFile& file : WantedFiles()) {
    if (file.kind != FileKind::kFrame) continue;
    const game::FrameData& data = *file.frame.data;
    const platform::Image image = FramePicture(file.frame);
    size_t shape = 0;
    for (uint32_t c : image.colors) {
      if (c == data.colorKey) continue;
      ++shape;
      ASSERT_NE(To565(c), To565(data.colorKey)) << file.name << ": a colour the display keys out";
    }
    EXPECT_GT(shape, 0u) << file.name << " shows nothing";
    EXPECT_TRUE(KeyOnlyAround(image, data.colorKey)) << file.name << " has a hole";
  }
}

TEST(StandinFrames, EachFrameOfAMovingActionDiffersFromTheOneBefore) {
  for (int entry = 0; entry < 50; ++entry) {
    const game::EntryData& data = game::AnimationEntryData(entry);
    for (uint16_t a = 0; a < data.count; ++a) {
      const game::ActionData& action = data.actions[a];
      for (uint16_t f = 1; f < action.count; ++f) {
        // One picture shown twice in a row is one file; it cannot differ from itself.
        if (std::string(action.frames[f].bitmap) == action.frames[f - 1].bitmap) continue;
        const platform::Image before =
            FramePicture({entry, a, f - 1, action.count, &action.frames[f - 1]});
        const platform::Image now = FramePicture({entry, a, f, action.count, &action.frames[f]});
        EXPECT_FALSE(before.width == now.width && before.height == now.height &&
                     before.colors == now.colors)
            << "entry " << entry << " action " << a << " frame " << f << " "
            << action.frames[f].bitmap << " " << action.frames[f].width << "x"
            << action.frames[f].height;
      }
    }
  }
}

// Where the facing mark stands in a square frame of the hero's actions.
TEST(StandinFrames, DirectionalActionsPointTheWayTheyFace) {
  const game::FrameData square{"Test.bmp", 24, 24, 0xFF00FF, 5};
  struct Case {
    int action;
    int dx, dy;  // the side the mark must be on
  };
  const Case cases[] = {{0, 0, 1}, {1, -1, 0}, {2, 1, 0}, {3, 0, -1}};
  for (const Case& c : cases) {
    const platform::Image image = FramePicture({4, c.action, 0, 1, &square});
    long sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if (image.At(x, y) == kFacingMark) {
          sumX += 2 * x - (image.width - 1);
          sumY += 2 * y - (image.height - 1);
          ++count;
        }
    ASSERT_GT(count, 0) << c.action;
    if (c.dx) {
      EXPECT_GT(sumX * c.dx, 3 * std::labs(sumY)) << c.action;
    } else {
      EXPECT_GT(sumY * c.dy, 3 * std::labs(sumX)) << c.action;
    }
  }
  // The taunt and the death face nowhere.
  const platform::Image taunt = FramePicture({4, 8, 0, 1, &square});
  EXPECT_EQ(std::count(taunt.colors.begin(), taunt.colors.end(), kFacingMark), 0);
}

TEST(StandinFrames, EachKindOfThingHasItsOwnColourFamily) {
  EXPECT_EQ(FamilyOf(4), Family::kHero);
  EXPECT_EQ(FamilyOf(25), Family::kHero);
  for (int monster : {0, 3, 5, 17}) EXPECT_EQ(FamilyOf(monster), Family::kMonster) << monster;
  for (int shot : {2, 12, 23, 24, 29, 31}) EXPECT_EQ(FamilyOf(shot), Family::kShot) << shot;
  for (int item : {6, 7, 8, 9, 10, 11, 13, 14, 19})
    EXPECT_EQ(FamilyOf(item), Family::kItem) << item;
  for (int fixture : {1, 15, 18, 21}) EXPECT_EQ(FamilyOf(fixture), Family::kFixture) << fixture;
  for (int boss : {26, 28, 30, 32}) EXPECT_EQ(FamilyOf(boss), Family::kBoss) << boss;
  const Family families[] = {Family::kHero, Family::kMonster, Family::kShot,
                             Family::kItem, Family::kFixture, Family::kBoss};
  std::set<uint32_t> colours;
  for (Family f : families) colours.insert(FamilyColour(f));
  EXPECT_EQ(colours.size(), 6u);
}

TEST(StandinFrames, ACounterFillsAsManySlotsAsItsFrameSays) {
  const game::FrameData bar{"Bar.bmp", 60, 10, 0xC8D0D4, 1};
  const uint32_t full = FamilyColour(Family::kBoss);
  auto filled = [&](int frame) {
    const platform::Image image = FramePicture({26, 0, frame, 13, &bar});
    return std::count(image.colors.begin(), image.colors.end(), full);
  };
  EXPECT_EQ(filled(0), 0);
  EXPECT_GT(filled(6), 0);
  EXPECT_GT(filled(12), filled(6));
}

constexpr game::Point kRoom[] = {{100, 100}, {300, 100}, {300, 300}, {100, 300}, {100, 100}};
constexpr game::Point kPillar[] = {{180, 180}, {220, 180}, {220, 220}, {180, 220}, {180, 180}};
constexpr game::Point kLedge[] = {{120, 260}, {160, 260}};
constexpr game::Polyline kWalls[] = {kRoom, kPillar, kLedge};

bool IsWallColour(uint32_t c) { return c == kWallFace || c == kWallEdge; }

TEST(StandinMaps, ALevelShowsWallsWhereItsOutlinesStopTheHero) {
  const platform::Image image = MapPicture(game::LevelMap("Test", "Test.bmp", kWalls));
  ASSERT_EQ(image.width, 640);
  ASSERT_EQ(image.height, 480);
  EXPECT_TRUE(IsWallColour(image.At(50, 50))) << "outside every room";
  EXPECT_TRUE(IsWallColour(image.At(400, 200)));
  EXPECT_FALSE(IsWallColour(image.At(150, 150))) << "the room's floor";
  EXPECT_FALSE(IsWallColour(image.At(250, 250)));
  EXPECT_TRUE(IsWallColour(image.At(200, 200))) << "the pillar";
  EXPECT_TRUE(IsWallColour(image.At(140, 260))) << "an open outline";
  EXPECT_FALSE(IsWallColour(image.At(140, 266)));
  // Along every segment the wall meets the floor.
  for (int x = 110; x < 290; x += 10) {
    EXPECT_TRUE(IsWallColour(image.At(x, 99)));
    EXPECT_FALSE(IsWallColour(image.At(x, 101)));
  }
}

TEST(StandinMaps, AMistIsMostlyItsWhiteKeyWithGreyStreaks) {
  const platform::Image image = MapPicture(game::MistMap("Fog", "Mist 1.bmp", 1, 1.0f));
  const uint32_t white = Rgb(255, 255, 255);
  size_t clear = 0, grey = 0;
  for (uint32_t c : image.colors) {
    if (c == white) {
      ++clear;
      continue;
    }
    EXPECT_NE(To565(c), To565(white));
    ++grey;
  }
  EXPECT_GT(clear, image.colors.size() * 3 / 4);
  EXPECT_GT(grey, image.colors.size() / 50);
}

TEST(StandinMaps, TheScreensAreNotBlank) {
  for (const char* name : {"Title Screen.bmp", "Instructions.bmp", "GameOver.bmp", "YOUWIN.bmp"}) {
    const platform::Image image = MapPicture(game::ScreenMap("Screen", name));
    std::set<uint32_t> colours(image.colors.begin(), image.colors.end());
    EXPECT_GT(colours.size(), 8u) << name;
  }
}

TEST(StandinSounds, EffectsAreShortAndDistinctMusicLoopsForAFewSeconds) {
  std::set<std::vector<float>> effects;
  for (const char* file : {"Key.wav", "Meat.wav", "Sound.wav", "Laugh.wav", "Door.wav", "item.wav",
                           "Expload.wav", "Lazer.wav", "Vrendle Quest.wav", "Unknown.wav"}) {
    const std::vector<float> samples = EffectSamples(file);
    EXPECT_GT(samples.size(), size_t(kSampleRate / 20)) << file;
    EXPECT_LT(samples.size(), size_t(kSampleRate * 3)) << file;
    EXPECT_TRUE(effects.insert(samples).second) << file << " sounds like another";
  }
  for (const char* file : {game::kAtticMusic, game::kFogMusic, game::kDungeonMusic}) {
    const std::vector<float> samples = MusicSamples(file);
    EXPECT_GT(samples.size(), size_t(kSampleRate * 3)) << file;
    EXPECT_LT(samples.size(), size_t(kSampleRate * 6)) << file;
    // The loop joins quietly: both ends are near silence.
    EXPECT_LT(std::fabs(samples.front()), 0.05f) << file;
    EXPECT_LT(std::fabs(samples.back()), 0.05f) << file;
    EXPECT_LE(*std::max_element(samples.begin(), samples.end()), 1.0f) << file;
  }
  EXPECT_NE(MusicSamples(game::kAtticMusic), MusicSamples(game::kFogMusic));
}

TEST(StandinSounds, AWaveFileHoldsTheSamplesOnBothChannels) {
  const std::vector<uint8_t> bytes = EncodeWave({0.0f, 0.5f, -1.0f, 2.0f});
  ASSERT_EQ(bytes.size(), 44u + 16u);
  auto sample = [&](size_t i) { return int16_t(bytes[44 + 2 * i] | bytes[45 + 2 * i] << 8); };
  EXPECT_EQ(sample(2), 16384);
  EXPECT_EQ(sample(3), 16384);
  EXPECT_EQ(sample(4), -32767);
  EXPECT_EQ(sample(6), 32767) << "clamped";
}

TEST(StandinWriting, RealFilesWinAndOurOwnAreRefreshed) {
  testing_support::TempDir dir;
  // Some pictures and sounds stand for all.
  std::vector<WantedFile> files;
  for (const WantedFile& file : WantedFiles())
    if ((file.kind == FileKind::kFrame && files.size() < 3) || file.name == "Title Screen.bmp" ||
        file.name == "GameOver.bmp" || file.name == game::kVrendleQuestSound.file)
      files.push_back(file);
  ASSERT_EQ(files.size(), 6u);
  const size_t total = files.size();
  WriteReport first = WriteStandins(dir.Path(), files);
  EXPECT_EQ(size_t(first.written), total);
  EXPECT_EQ(first.failed, 0);
  WriteReport second = WriteStandins(dir.Path(), files);
  EXPECT_EQ(size_t(second.unchanged), total);
  EXPECT_EQ(second.written, 0);

  // Real art dropped in is kept, however often the tool runs.
  const std::string art = dir.File("BITMAPS/Title Screen.bmp");
  const std::vector<uint8_t> real = {'B', 'M', 1, 2, 3};
  WriteBytes(art, real);
  WriteReport third = WriteStandins(dir.Path(), files);
  EXPECT_EQ(third.kept, 1);
  WriteStandins(dir.Path(), files);
  EXPECT_EQ(ReadBytes(art), real);

  // A stand-in of an older table, left as it was written, is made anew.
  const std::string old = dir.File("BITMAPS/GameOver.bmp");
  const std::vector<uint8_t> older = {'B', 'M', 9, 9};
  WriteBytes(old, older);
  {
    std::ofstream list(dir.File(kStandinList), std::ios::app);
    list << std::hex << Fingerprint(older) << " BITMAPS/GameOver.bmp\n";
  }
  WriteReport fourth = WriteStandins(dir.Path(), files);
  EXPECT_EQ(fourth.written, 1);
  EXPECT_NE(ReadBytes(old), older);
  platform::Image image;
  EXPECT_TRUE(platform::LoadBmpFile(old, image));
}

}  // namespace
}  // namespace standins
