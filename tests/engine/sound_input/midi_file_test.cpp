#include "engine/sound_input/midi_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "engine/core/object_stream.h"
#include "platform/midi_player.h"
#include "tests/engine/sound_input/sound_fixture.h"
#include "tests/support/sample_files.h"

namespace {

using namespace quor;
using soundtest::SoundFixture;

using testing_support::TinyMidi;

struct Record {
  std::string file = "tiny.mid";
  uint8_t looping = 0, paused = 0, wanted = 1;
  int32_t volume = 0, pauseTime = 0;
};

class MidiFileTest : public SoundFixture {
 protected:
  void SetUp() override {
    SoundFixture::SetUp();
    savedDir_ = platform::CurrentDirectory();
    std::filesystem::create_directories(dir + "/Sounds");
    ASSERT_TRUE(wavetest::WriteFile(dir + "/Sounds/tiny.mid", TinyMidi()));
    ASSERT_TRUE(platform::SetCurrentDirectory(dir));
  }
  void TearDown() override {
    platform::SetCurrentDirectory(savedDir_);
    SoundFixture::TearDown();
  }

  // A track as a saved scene brings it.
  MidiFile* LoadTrack(const Record& r) {
    {
      ObjectStream out("track.sav", true);
      char name[32] = "tune";
      char file[32] = {};
      std::strncpy(file, r.file.c_str(), 31);
      out.WriteName(name);
      out.WriteName(file);
      out.WriteByte(r.looping);
      out.WriteByte(r.paused);
      out.WriteLong(uint32_t{0});
      out.WriteLong(r.volume);
      out.WriteByte(r.wanted);
      out.WriteLong(r.pauseTime);
    }
    ObjectStream in("track.sav", false);
    auto* track = new MidiFile;
    track->Load(in);
    EXPECT_TRUE(in.Good());
    scene.midiFiles.AddHead(track);
    return track;
  }

  size_t Loud(const std::vector<int16_t>& mix) {
    size_t n = 0;
    for (int16_t s : mix) n += s > 64 || s < -64;
    return n;
  }

  bool haveFont_ = !platform::MidiPerformance::FindSoundFont().empty();
  std::string savedDir_;
};

TEST_F(MidiFileTest, PlaysThroughTheSynthesizerHeadless) {
  Mixer().SetCapture(true);
  MidiFile* track = LoadTrack({});
  EXPECT_TRUE(track->HasSegment());
  EXPECT_TRUE(track->IsPlaying());
  EXPECT_EQ(track->wanted, 1);
  host.clock += 500;
  std::vector<int16_t> mix = Mixer().TakeCapture();
  EXPECT_EQ(mix.size(), 22050u * 2);
  if (haveFont_)
    EXPECT_GT(Loud(mix), 1000u);
  else
    EXPECT_EQ(Loud(mix), 0u);  // without a sound font, music is silent
  host.clock += 10000;
  EXPECT_FALSE(track->IsPlaying());  // played once and ended
}

TEST_F(MidiFileTest, PauseResumesAtItsPositionAndStopRewinds) {
  MidiFile* track = LoadTrack({"tiny.mid", 1});
  host.clock += 500;  // one beat
  track->Pause();
  EXPECT_EQ(track->wanted, 0);
  EXPECT_FALSE(track->IsPlaying());
  EXPECT_NEAR(track->pauseTime, 96, 4);
  int32_t paused = track->pauseTime;
  host.clock += 1000;
  track->Play();
  EXPECT_TRUE(track->IsPlaying());
  host.clock += 250;
  EXPECT_NEAR(track->performance->CurrentTick(), paused + 48, 4);
  track->Stop();
  EXPECT_EQ(track->pauseTime, 0);
  track->Play();
  host.clock += 250;
  EXPECT_NEAR(track->performance->CurrentTick(), 48, 4);
  host.clock += 15000;  // looping: still going long after the end
  EXPECT_TRUE(track->IsPlaying());
}

TEST_F(MidiFileTest, SavedPauseFlagPlaysAtOnceAndThePausePassCoversMusic) {
  MidiFile* track = LoadTrack({"tiny.mid", 0, 1, 0});
  EXPECT_TRUE(track->IsPlaying());
  EXPECT_EQ(track->paused, 0);
  EXPECT_EQ(track->wanted, 1);
  host.clock += 100;
  GetSoundDevice()->PauseOrResumeAllSounds(false);
  EXPECT_FALSE(track->IsPlaying());
  EXPECT_EQ(track->paused, 1);
  GetSoundDevice()->PauseOrResumeAllSounds(true);
  EXPECT_TRUE(track->IsPlaying());
  EXPECT_EQ(track->paused, 0);

  // A stopped, unwanted track stays stopped after loading.
  MidiFile* quiet = LoadTrack({"tiny.mid", 0, 0, 0});
  EXPECT_FALSE(quiet->IsPlaying());
}

TEST_F(MidiFileTest, VolumeAttenuatesAndZeroMeansUnset) {
  Mixer().SetCapture(true);
  MidiFile* track = LoadTrack({"tiny.mid", 0, 0, 1, -10000});
  EXPECT_EQ(track->volume, -10000);
  host.clock += 300;
  EXPECT_EQ(Loud(Mixer().TakeCapture()), 0u);
  track->SetVolume(0);
  host.clock += 300;
  std::vector<int16_t> mix = Mixer().TakeCapture();
  if (haveFont_) {
    EXPECT_GT(Loud(mix), 100u);
  }
}

TEST_F(MidiFileTest, AnUnreadableTrackIsNeverPlayed) {
  for (const char* file : {"absent.mid", "track.sav", ""}) {
    MidiFile* track = LoadTrack({file});
    EXPECT_FALSE(track->HasSegment());
    track->Play();
    EXPECT_EQ(track->wanted, 1);
    EXPECT_FALSE(track->IsPlaying());
    track->Pause();
    track->Stop();
  }
  MidiFile bare;  // default-constructed: nothing at all
  bare.Play();
  bare.SetVolume(-100);
  EXPECT_EQ(bare.volume, 0);
  EXPECT_FALSE(bare.IsPlaying());
}

TEST_F(MidiFileTest, SaveWritesTheFixedRecord) {
  MidiFile* track = LoadTrack({"tiny.mid", 1, 0, 1, -500, 0});
  host.clock += 100;
  track->Pause();
  {
    ObjectStream out("again.sav", true);
    track->Save(out);
  }
  std::ifstream in(dir + "/again.sav", std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), 79u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes.data())), "tune");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes.data() + 32)), "tiny.mid");
  EXPECT_EQ(bytes[64], 1);  // looping
  int32_t volume = 0, pause = 0;
  std::memcpy(&volume, bytes.data() + 70, 4);
  std::memcpy(&pause, bytes.data() + 75, 4);
  EXPECT_EQ(volume, -500);
  EXPECT_EQ(bytes[74], 0);  // wanted: cleared by the pause
  EXPECT_EQ(pause, track->pauseTime);
  EXPECT_GT(pause, 0);
}

}  // namespace
