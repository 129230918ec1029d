// Real files of every kind the game reads, written as the game and its tests write them and
// checked to be read without complaint. They are the seed corpora of the fuzz targets:
// with QUOR_FUZZ_SEEDS set, each kind is kept in a folder of that name under it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/sound.h"
#include "engine/sound_input/sound_device.h"
#include "platform/bitmap_file.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "platform/midi_player.h"
#include "tests/support/headless_run.h"
#include "tests/support/room_scene.h"
#include "tests/support/sample_files.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

// Where the seeds of one kind go: the folder named by QUOR_FUZZ_SEEDS, or a scratch one.
class SeedFiles : public ::testing::Test {
 protected:
  std::string Folder(const std::string& kind) {
    const char* root = std::getenv("QUOR_FUZZ_SEEDS");
    std::string base = root && *root ? std::string(root) : dir.Path() + "/seeds";
    mkdir(base.c_str(), 0755);
    std::string folder = base + "/" + kind;
    mkdir(folder.c_str(), 0755);
    return folder;
  }

  testing_support::TempDir dir;
};

// A running furnished room: the hero walks right from frame 5 and stops at frame 45.
void WalkTheRoom(testing_support::HeadlessRun& run) {
  testing_support::WalkRightInRoom(run.host, testing_support::UseFurnishedRoom);
  run.host.AtFrame(45, [](platform::HeadlessHost& h) { h.input.ReleaseKey(platform::KeyRight); });
}

TEST_F(SeedFiles, SavedGamesOfTheRoomInMidPlayLoadWithoutABox) {
  testing_support::WriteRoomFiles(dir.Path());
  std::string folder = Folder("saved_game");
  testing_support::HeadlessRun run;
  WalkTheRoom(run);
  const std::vector<std::string> names = {"room-frame12", "room-frame30", "room-frame60",
                                          "room-music"};
  for (int frame : {12, 30, 60}) {
    run.host.AtFrame(frame, [&, frame](platform::HeadlessHost&) {
      std::string path = folder + "/room-frame" + std::to_string(frame) + ".sav";
      ASSERT_TRUE(SaveGameFile(path));
    });
  }
  run.host.AtFrame(61, [&](platform::HeadlessHost&) {
    testing_support::AddTune();
    ASSERT_TRUE(SaveGameFile(folder + "/room-music.sav"));
  });
  run.host.AtFrame(62, [&](platform::HeadlessHost& h) {
    for (const std::string& name : names) EXPECT_TRUE(LoadGameFile(folder + "/" + name + ".sav"));
    EXPECT_EQ(CurrentGameNode->midiFiles.Count(), 1);
    EXPECT_TRUE(h.messageBoxes.empty());
  });
  run.Run(63);
}

TEST_F(SeedFiles, RecordingsOfTheRoomReplayToTheirEnd) {
  testing_support::WriteRoomFiles(dir.Path());
  std::string folder = Folder("recording");
  testing_support::HeadlessRun run;
  WalkTheRoom(run);
  run.host.AtFrame(2, [](platform::HeadlessHost&) { CurrentGameDirector->StartRecording(); });
  run.host.AtFrame(50, [&](platform::HeadlessHost&) {
    CurrentGameDirector->StopRecording();
    CurrentGameDirector->SaveReplayFile(folder + "/walk.rep");
  });
  run.host.AtFrame(52, [&](platform::HeadlessHost&) {
    // The start state belongs beside the recording, not in the corpus.
    testing_support::CopyBytes(folder + "/walk.sar", dir.File("walk.sar"));
    testing_support::CopyBytes(folder + "/walk.rep", dir.File("walk.rep"));
    platform::DeleteFile(folder + "/walk.sar");
    CurrentGameDirector->StartReplayFromFile(dir.File("walk.rep"), false);
  });
  bool ended = false;
  run.host.AtFrame(120, [&](platform::HeadlessHost& h) {
    ended = CurrentGameDirector->replaying == 0;
    EXPECT_TRUE(h.messageBoxes.empty());
  });
  run.Run(121);
  EXPECT_TRUE(ended);
  std::vector<uint8_t> rep = ReadBytes(folder + "/walk.rep");
  ASSERT_GT(rep.size(), 12u);
  uint32_t frames = rep[0] | rep[1] << 8;
  EXPECT_GT(frames, 40u);
  EXPECT_EQ(rep.size(), 12u + frames * 13);  // a mask, a flag byte and a move a frame
}

TEST_F(SeedFiles, BitmapsOfEveryDepthDecode) {
  std::string folder = Folder("bitmap");
  platform::Image picture = testing_support::TestPicture(4);
  for (int bits : {1, 4, 8, 16, 24, 32})
    WriteBytes(folder + "/depth" + std::to_string(bits) + ".bmp",
               testing_support::EncodeBmp(bits == 1 ? testing_support::TestPicture(2) : picture, bits));
  for (int bits : {4, 8})
    WriteBytes(folder + "/runs" + std::to_string(bits) + ".bmp", testing_support::EncodeRleBmp(picture, bits));
  testing_support::WriteBitmap(folder + "/hero.bmp", 32, 32, 255, 0, 0);
  int decoded = 0;
  for (const char* name : {"depth1", "depth4", "depth8", "depth16", "depth24", "depth32", "runs4",
                           "runs8", "hero"}) {
    platform::Image out;
    EXPECT_TRUE(platform::LoadBmpFile(folder + "/" + name + ".bmp", out)) << name;
    decoded += out.width > 0;
  }
  EXPECT_EQ(decoded, 9);
}

TEST_F(SeedFiles, WaveFilesGiveSoundsThatPlay) {
  std::string folder = Folder("wave");
  WriteBytes(folder + "/mono8.wav", testing_support::ToneWave(1, 22050, 8, 300));
  WriteBytes(folder + "/stereo16.wav", testing_support::ToneWave(2, 11025, 16, 200));
  // Another chunk before the data, and an odd-sized one, as editors leave them.
  std::vector<uint8_t> tagged = testing_support::ToneWave(1, 8000, 16, 100);
  std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 9, 0, 0, 0, 'I', 'N', 'F', 'O', 'x', 'y', 'z', 'w', '!', 0};
  tagged.insert(tagged.begin() + 36, list.begin(), list.end());
  tagged[4] = static_cast<uint8_t>(tagged[4] + list.size());
  WriteBytes(folder + "/tagged.wav", tagged);

  platform::HeadlessHost host;
  platform::InstallHost(&host);
  GameNode scene;
  GameNode* saved = CurrentGameNode;
  CurrentGameNode = &scene;
  for (const char* name : {"mono8", "stereo16", "tagged"}) {
    Sound sound("Seed", (folder + "/" + name + ".wav").c_str(), 0, 0);
    EXPECT_NE(sound.buffer, nullptr) << name;
  }
  CurrentGameNode = saved;
  platform::InstallHost(nullptr);
}

// A two-track file: tempo and time signature, a program change, a controller, running
// status, a pitch bend and a system-exclusive message.
std::vector<uint8_t> TwoTrackMidi() {
  std::vector<uint8_t> tempo = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x58,
                                0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x2F, 0x00};
  std::vector<uint8_t> notes = {0x00, 0xC1, 0x30, 0x00, 0xB1, 0x07, 0x64, 0x00, 0x91, 0x40,
                                0x50, 0x30, 0x43, 0x50, 0x30, 0x40, 0x00, 0x00, 0xE1, 0x00,
                                0x50, 0x10, 0xF0, 0x03, 0x7E, 0x7F, 0xF7, 0x30, 0x81, 0x43,
                                0x00, 0x00, 0xFF, 0x2F, 0x00};
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 96};
  for (const auto* track : {&tempo, &notes}) {
    out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(track->size())});
    out.insert(out.end(), track->begin(), track->end());
  }
  return out;
}

TEST_F(SeedFiles, MidiFilesLoadAndPlay) {
  std::string folder = Folder("midi");
  WriteBytes(folder + "/tiny.mid", testing_support::TinyMidi());
  WriteBytes(folder + "/two-tracks.mid", TwoTrackMidi());
  platform::HeadlessHost host;
  platform::InstallHost(&host);
  {
    platform::MidiPerformance music(host.Audio().GetMixer());
    for (const char* name : {"tiny", "two-tracks"}) {
      ASSERT_TRUE(music.LoadSegment(folder + "/" + name + ".mid")) << name;
      music.Play();
      host.clock += 100;
      EXPECT_TRUE(music.IsPlaying()) << name;
      music.Stop();
    }
  }
  platform::InstallHost(nullptr);
}

}  // namespace
}  // namespace quor
