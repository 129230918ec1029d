#include "engine/sound_input/sound.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/object_stream.h"
#include "engine/sound_input/streamed_sound.h"
#include "tests/engine/sound_input/sound_fixture.h"

namespace {

using namespace quor;
using soundtest::SoundFixture;
using wavetest::Pattern;
using wavetest::Pcm;

constexpr uint32_t kSecond = 44100 * 4;  // bytes of one second at 44100 Hz, 16-bit stereo

using SoundTest = SoundFixture;

uint32_t Cursor(SoundBase& s) {
  uint32_t c = 0;
  s.GetBuffer()->GetCurrentPosition(c);
  return c;
}

std::vector<uint8_t> BufferBytes(SoundBase& s) {
  uint8_t *p = nullptr, *q = nullptr;
  uint32_t n = 0, m = 0;
  EXPECT_EQ(s.GetBuffer()->Lock(0, 0, true, &p, &n, &q, &m), platform::SoundResult::Ok);
  std::vector<uint8_t> out(p, p + n);
  s.GetBuffer()->Unlock();
  return out;
}

TEST_F(SoundTest, StaticBufferHoldsTheWholeDataAndIsStopped) {
  std::vector<uint8_t> data = Pattern(1001);
  Sound s("boom", Wave("boom.wav", {1, 11025, 8}, data).c_str(), 0, 100);
  ASSERT_NE(s.GetBuffer(), nullptr);
  EXPECT_EQ(s.GetBufferBytes(), 1001u);
  EXPECT_EQ(BufferBytes(s), data);
  EXPECT_FALSE(s.IsPlaying());
  EXPECT_FALSE(s.IsBufferLost());
  EXPECT_STREQ(s.GetName(), "boom");
  EXPECT_EQ(s.bufferFlags, SoundBase::kStaticBufferFlags);

  s.SetVolume(100);
  EXPECT_EQ(s.volume, 0);
  EXPECT_EQ(s.GetBuffer()->Volume(), 0);
  s.SetPan(-20000);
  EXPECT_EQ(s.pan, -10000);
  s.SetVolume(-20000);
  EXPECT_EQ(s.GetBuffer()->Volume(), -10000);
}

TEST_F(SoundTest, StreamedBufferIsTwoSecondsPaddedWithTheFormatsSilence) {
  std::vector<uint8_t> data = Pattern(5000);
  StreamedSound eight("hum", Wave("hum.wav", {1, 8000, 8}, data).c_str(), 1);
  ASSERT_NE(eight.GetBuffer(), nullptr);
  EXPECT_EQ(eight.GetBufferBytes(), 16000u);
  EXPECT_EQ(eight.halfSize, 8000u);
  std::vector<uint8_t> expected = data;
  expected.resize(16000, 0x80);
  EXPECT_EQ(BufferBytes(eight), expected);
  EXPECT_EQ(eight.shadow, expected);
  EXPECT_EQ(eight.bufferFlags, SoundBase::kStreamedBufferFlags);

  StreamedSound sixteen("hum16", Wave("hum16.wav", {1, 8000, 16}, data).c_str(), 1);
  expected = data;
  expected.resize(32000, 0);
  EXPECT_EQ(BufferBytes(sixteen), expected);
}

TEST_F(SoundTest, RestartPercentDecidesWhetherAPlayingSoundStartsAgain) {
  Sound s("hit", Wave("hit.wav", {}, Pattern(kSecond)).c_str(), 0, 50);
  s.Play();
  host.clock += 490;  // 49 %
  s.Play();
  EXPECT_EQ(Cursor(s), 21609u * 4);
  host.clock += 10;  // 50 %
  s.Play();
  EXPECT_EQ(Cursor(s), 0u);
  EXPECT_TRUE(s.IsPlaying());

  Sound always("a", Wave("a.wav", {}, Pattern(kSecond)).c_str(), 0, 0);
  always.Play();
  host.clock += 5;
  always.Play();
  EXPECT_EQ(Cursor(always), 0u);

  Sound never("n", Wave("n.wav", {}, Pattern(kSecond)).c_str(), 0, 250);
  EXPECT_EQ(never.restartPercent, 100u);
  never.Play();
  host.clock += 999;
  never.Play();
  EXPECT_GT(Cursor(never), 0u);
  host.clock += 10;
  EXPECT_FALSE(never.IsPlaying());  // ended by itself

  Sound negative("m", Wave("m.wav", {}, Pattern(400)).c_str(), 0, -5);
  EXPECT_EQ(negative.restartPercent, 0u);
}

TEST_F(SoundTest, PauseAndResumeCarryOnAtTheCursor) {
  auto* s = new Sound("tick", Wave("tick.wav", {}, Pattern(kSecond)).c_str(), 0, 100);
  auto* quiet = new Sound("quiet", Wave("quiet.wav", {}, Pattern(kSecond)).c_str(), 0, 100);
  scene.InsertSound(s);
  scene.InsertSound(quiet);
  s->Play();
  host.clock += 100;
  GetSoundDevice()->PauseOrResumeAllSounds(false);
  EXPECT_FALSE(s->IsPlaying());
  EXPECT_EQ(s->paused, 1);
  EXPECT_EQ(quiet->paused, 0);  // only what was playing is paused
  EXPECT_EQ(s->resumePosition, 4410u * 4);
  host.clock += 300;
  EXPECT_EQ(Cursor(*s), 4410u * 4);
  GetSoundDevice()->PauseOrResumeAllSounds(true);
  EXPECT_TRUE(s->IsPlaying());
  EXPECT_FALSE(quiet->IsPlaying());
  EXPECT_EQ(s->paused, 0);
  host.clock += 10;
  EXPECT_EQ(Cursor(*s), 4851u * 4);

  // Stop forgets the resume position.
  s->Stop();
  EXPECT_EQ(s->resumePosition, 0u);
  s->Play();
  EXPECT_EQ(Cursor(*s), 0u);
}

TEST_F(SoundTest, HandlesFallBackToTheNullObjects) {
  scene.InsertSound(new Sound("Jump", Wave("j.wav", {}, Pattern(400)).c_str(), 0, 100));
  scene.InsertStreamedSound(
      new StreamedSound("Music", Wave("m.wav", {}, Pattern(4000)).c_str(), 1));
  SoundHandle h;
  EXPECT_EQ(GetSoundHandle(h, "Jump").Get(), FindSoundByName("Jump"));
  EXPECT_NE(h.Get(), &NullSound);
  EXPECT_EQ(FindSoundByName("jump"), nullptr);  // exact, case and all
  GetSoundHandle(h, "nothing");
  EXPECT_EQ(h.Get(), &NullSound);
  h->Play();
  h->Stop();
  EXPECT_FALSE(NullSound.IsPlaying());
  EXPECT_TRUE(NullSound.IsBufferLost());

  StreamedSoundHandle m;
  GetStreamedSoundHandle(m, "Music");
  ASSERT_NE(m.Get(), &NullStreamedSound);
  m.Get()->Play();
  EXPECT_TRUE(m.Get()->IsPlaying());
  GetStreamedSoundHandle(m, "music");
  EXPECT_EQ(m.Get(), &NullStreamedSound);
  m->Play();
  m->Update();
  m->Stop();
}

TEST_F(SoundTest, MissingFilesShowTheirBoxAndEndTheRun) {
  std::string saved = platform::CurrentDirectory();
  ASSERT_TRUE(platform::SetCurrentDirectory(dir));
  ASSERT_EQ(system(("mkdir -p '" + dir + "/Sounds'").c_str()), 0);
  ASSERT_TRUE(wavetest::WriteFile(dir + "/Sounds/Here.wav", wavetest::Wave({}, Pattern(40))));
  uint8_t savedQuit = QuitRequested;
  std::string path, found;
  EXPECT_TRUE(FindSoundFile("here.wav", false, found));
  EXPECT_EQ(found, "Sounds/here.wav");
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_FALSE(FindSoundFile("gone.wav", false, path));
  EXPECT_FALSE(FindSoundFile("gone2.wav", true, path));
  ASSERT_EQ(host.messageBoxes.size(), 2u);
  EXPECT_EQ(host.messageBoxes[0].text, "The Sound file Sounds/gone.wav does not exist .");
  EXPECT_EQ(host.messageBoxes[0].caption, "Sound error .");
  EXPECT_EQ(host.messageBoxes[0].icon, platform::MessageBoxIcon::Stop);
  EXPECT_EQ(host.messageBoxes[1].text,
            "The StreamedSound file Sounds/gone2.wav does not exist .");
  EXPECT_EQ(host.messageBoxes[1].caption, "StreamedSound error .");
  EXPECT_EQ(QuitRequested, 1);
  QuitRequested = savedQuit;
  // A sound made from the mapped name plays from the folder.
  Sound s("here", found.c_str(), 0, 100);
  EXPECT_NE(s.GetBuffer(), nullptr);
  platform::SetCurrentDirectory(saved);
}

TEST_F(SoundTest, MalformedWaveFilesGiveSilentSounds) {
  using namespace wavetest;
  std::vector<uint8_t> good = wavetest::Wave({}, Pattern(800));
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  for (size_t cut : {0, 3, 11, 12, 20, 35, 43, 44})
    files.push_back({"cut" + std::to_string(cut), {good.begin(), good.begin() + cut}});
  std::vector<uint8_t> chunks;
  Chunk(chunks, "data", Pattern(100));
  files.push_back({"nofmt", Riff(chunks)});
  chunks.clear();
  Chunk(chunks, "fmt ", FormatBytes({}));
  files.push_back({"nodata", Riff(chunks)});
  chunks.clear();
  std::vector<uint8_t> hugeRate = FormatBytes({});
  hugeRate[8] = hugeRate[9] = hugeRate[10] = hugeRate[11] = 0xFF;  // bytes per second
  Chunk(chunks, "fmt ", hugeRate);
  Chunk(chunks, "data", Pattern(100));
  files.push_back({"hugerate", Riff(chunks)});
  chunks.clear();
  std::vector<uint8_t> noChannels = FormatBytes({});
  noChannels[2] = 0;
  Chunk(chunks, "fmt ", noChannels);
  Chunk(chunks, "data", Pattern(100));
  files.push_back({"nochannels", Riff(chunks)});
  files.push_back({"text", std::vector<uint8_t>(300, 'x')});
  for (auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    std::string path = Raw(name + ".wav", bytes);
    Sound s("s", path.c_str(), 1, 100);
    StreamedSound t("t", path.c_str(), 1);
    EXPECT_EQ(s.GetBuffer(), nullptr);
    EXPECT_EQ(t.GetBuffer(), nullptr);
    EXPECT_TRUE(t.shadow.empty());
    s.Play();
    t.Play();
    t.Update();
    EXPECT_FALSE(s.IsPlaying());
    EXPECT_FALSE(t.IsPlaying());
    s.Pause();
    s.SetVolume(-100);
    s.Stop();
    t.Stop();
  }
  Sound missing("m", (dir + "/absent.wav").c_str(), 0, 100);
  EXPECT_EQ(missing.GetBuffer(), nullptr);
  EXPECT_EQ(missing.format, nullptr);
}

TEST_F(SoundTest, DataLargerThanTheFileIsCutToTheFile) {
  using namespace wavetest;
  std::vector<uint8_t> data = Pattern(1000);
  std::vector<uint8_t> chunks;
  Chunk(chunks, "fmt ", FormatBytes({}));
  Chunk(chunks, "data", data, 0xFFFFFFF0);
  std::string path = Raw("long.wav", Riff(chunks, "WAVE", 0xFFFFFFF0));
  Sound s("s", path.c_str(), 0, 100);
  ASSERT_NE(s.GetBuffer(), nullptr);
  EXPECT_EQ(BufferBytes(s), data);
}

TEST_F(SoundTest, LostBuffersAreRestoredOrGivenUpWithinABoundedTime) {
  std::vector<uint8_t> data = Pattern(kSecond / 10);
  Sound s("s", Wave("s.wav", {}, data).c_str(), 0, 100);
  Mixer().LoseAllBuffers();
  EXPECT_TRUE(s.IsBufferLost());
  Mixer().FailRestores(3);
  s.Play();  // restores, rewrites from the file, plays
  EXPECT_TRUE(s.IsPlaying());
  EXPECT_FALSE(s.IsBufferLost());
  s.Stop();
  EXPECT_EQ(BufferBytes(s), data);

  Mixer().LoseAllBuffers();
  Mixer().FailRestores(1000000);
  uint32_t before = host.clock;
  s.Play();
  EXPECT_FALSE(s.IsPlaying());
  uint32_t waited = host.clock - before;
  EXPECT_GE(waited, 10u * (SoundBase::kRestoreAttempts - 1));
  EXPECT_LE(waited, 10u * SoundBase::kRestoreAttempts + 10);

  Mixer().FailRestores(0);
  StreamedSound t("t", Wave("t.wav", {}, Pattern(3 * kSecond)).c_str(), 1);
  Mixer().LoseAllBuffers();
  t.Play();  // restored and rewritten from its shadow
  EXPECT_TRUE(t.IsPlaying());
  t.GetBuffer()->Stop();
  EXPECT_EQ(BufferBytes(t), t.shadow);
}

TEST_F(SoundTest, SaveWritesTheFixedRecordAndLoadFindsALongPathAgain) {
  std::string longName = "a_wave_file_with_a_rather_long_name_indeed.wav";
  std::vector<uint8_t> data = Pattern(kSecond);
  Wave(longName, {}, data);
  std::string saved = platform::CurrentDirectory();
  ASSERT_TRUE(platform::SetCurrentDirectory(dir));
  std::string path = "./" + longName;
  {
    Sound s("a sound name that is far longer than thirty-one", path.c_str(), 1, 40);
    s.SetId(7);
    s.SetVolume(-300);
    s.SetPan(250);
    s.Play();
    host.clock += 100;
    ObjectStream out("sound.sav", true);
    s.Save(out);
    EXPECT_TRUE(out.Good());
  }
  {
    std::ifstream in(dir + "/sound.sav", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 32u + 32 + 5 * 4 + 3 + 4 + 1 + 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes.data())),
              std::string("a sound name that is far longer"));
    EXPECT_EQ(bytes[31], 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes.data() + 32)), path.substr(0, 31));
    int32_t volume = 0;
    std::memcpy(&volume, bytes.data() + 64, 4);
    EXPECT_EQ(volume, -300);
    EXPECT_EQ(bytes[64 + 20], 1);  // looping
    EXPECT_EQ(bytes[64 + 22], 0);  // streamed
    EXPECT_EQ(bytes[87 + 4], 1);   // playing
  }
  {
    ObjectStream in("sound.sav", false);
    Sound loaded;
    loaded.Load(in);
    EXPECT_TRUE(in.Good());
    EXPECT_STREQ(loaded.GetName(), "a sound name that is far longer");
    EXPECT_EQ(loaded.GetFile(), path);
    ASSERT_NE(loaded.GetBuffer(), nullptr);
    EXPECT_EQ(loaded.restartPercent, 40u);
    EXPECT_EQ(loaded.id, 7u);
    EXPECT_EQ(loaded.GetBuffer()->Volume(), -300);
    EXPECT_EQ(loaded.GetBuffer()->Pan(), 250);
    EXPECT_TRUE(loaded.IsPlaying());
    EXPECT_EQ(BufferBytes(loaded), data);
  }
  platform::SetCurrentDirectory(saved);
}

TEST_F(SoundTest, StreamedSaveAndLoadSkipTheBytesAlreadyStreamed) {
  std::vector<uint8_t> data = Pattern(5 * kSecond);
  Wave("s.wav", {}, data);
  std::string saved = platform::CurrentDirectory();
  ASSERT_TRUE(platform::SetCurrentDirectory(dir));
  {
    StreamedSound s("music", "s.wav", 1);
    s.Play();
    for (int frame = 0; frame < 80; ++frame) {  // 1.28 s: one half refilled
      host.clock += 16;
      s.Update();
    }
    EXPECT_EQ(s.bytesStreamed, kSecond);
    ObjectStream out("streamed.sav", true);
    s.Save(out);
  }
  ObjectStream in("streamed.sav", false);
  StreamedSound loaded;
  loaded.Load(in);
  platform::SetCurrentDirectory(saved);
  ASSERT_TRUE(in.Good());
  ASSERT_NE(loaded.GetBuffer(), nullptr);
  EXPECT_EQ(loaded.halfSize, kSecond);
  EXPECT_TRUE(loaded.IsPlaying());
  // The buffer holds the data after the bytes streamed, the shadow what follows it.
  loaded.GetBuffer()->Stop();
  std::vector<uint8_t> buffer = BufferBytes(loaded);
  EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), data.begin() + kSecond));
  EXPECT_TRUE(std::equal(loaded.shadow.begin(), loaded.shadow.end(), data.begin() + 3 * kSecond));
}

}  // namespace
