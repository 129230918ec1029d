#include "engine/sound_input/streamed_sound.h"

#include <gtest/gtest.h>

#include "tests/engine/sound_input/sound_fixture.h"

namespace {

using namespace quor;
using soundtest::Samples;
using soundtest::SoundFixture;
using wavetest::Pattern;

constexpr uint32_t kFrame = 4;
constexpr uint32_t kSecond = 44100 * kFrame;

using StreamedSoundTest = SoundFixture;

TEST_F(StreamedSoundTest, LoopingStreamMixesItsDataRepeatedSampleForSample) {
  // 2.3 seconds: the data ends inside refills of both halves in turn.
  std::vector<uint8_t> data = Pattern(101430 * kFrame, 7);
  std::vector<int16_t> samples = Samples(data);
  auto* s = new StreamedSound("music", Wave("loop.wav", {}, data).c_str(), 1);
  scene.InsertStreamedSound(s);
  Mixer().SetCapture(true);
  s->Play();
  RunFrames(450);  // 7.2 seconds
  std::vector<int16_t> mix = Mixer().TakeCapture();
  ASSERT_EQ(mix.size(), 7200u * 441 / 10 * 2);
  for (size_t i = 0; i < mix.size(); ++i)
    ASSERT_EQ(mix[i], samples[i % samples.size()]) << "sample " << i;
}

TEST_F(StreamedSoundTest, ShortLoopingFileFillsWholeHalvesFromItsStart) {
  std::vector<uint8_t> data = Pattern(13230 * kFrame, 3);  // 0.3 seconds
  std::vector<int16_t> samples = Samples(data);
  auto* s = new StreamedSound("short", Wave("short.wav", {}, data).c_str(), 1);
  scene.InsertStreamedSound(s);
  Mixer().SetCapture(true);
  s->Play();
  RunFrames(300);  // 4.8 seconds
  std::vector<int16_t> mix = Mixer().TakeCapture();
  // The first pass holds the data once and then silence; from the first wrap on the
  // refills carry the data end to end.
  for (size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(mix[i], samples[i]) << i;
  for (size_t i = samples.size(); i < 88200 * 2; ++i) ASSERT_EQ(mix[i], 0) << i;
  for (size_t i = 88200 * 2; i < mix.size(); ++i)
    ASSERT_EQ(mix[i], samples[(i - 88200 * 2) % samples.size()]) << i;
}

TEST_F(StreamedSoundTest, NonLoopingStreamPlaysToItsLastByteAcrossTheWrap) {
  // 2.5 seconds: the data ends in the refill of the first half, written while the cursor
  // plays the second.
  std::vector<uint8_t> data = Pattern(110250 * kFrame, 9);
  std::vector<int16_t> samples = Samples(data);
  auto* s = new StreamedSound("once", Wave("once.wav", {}, data).c_str(), 0);
  scene.InsertStreamedSound(s);
  Mixer().SetCapture(true);
  s->Play();
  RunFrames(150);  // 2.4 s
  EXPECT_TRUE(s->IsPlaying());
  EXPECT_EQ(s->endReached, 1);
  EXPECT_EQ(s->endPosition, kSecond / 2);
  RunFrames(10);  // 2.56 s
  EXPECT_FALSE(s->IsPlaying());
  EXPECT_EQ(s->endReached, 0);
  std::vector<int16_t> mix = Mixer().TakeCapture();
  ASSERT_GE(mix.size(), samples.size());
  for (size_t i = 0; i < samples.size(); ++i) ASSERT_EQ(mix[i], samples[i]) << i;
  for (size_t i = samples.size(); i < mix.size(); ++i) ASSERT_EQ(mix[i], 0) << i;
  // Stopped at its end, the stream stands primed from the start again.
  EXPECT_TRUE(std::equal(s->shadow.begin(), s->shadow.end(), data.begin()));

  s->Play();
  Mixer().TakeCapture();
  RunFrames(10);
  EXPECT_TRUE(s->IsPlaying());
}

TEST_F(StreamedSoundTest, PlayOnAPlayingStreamKeepsItsCursorAndStopRewinds) {
  std::vector<uint8_t> data = Pattern(3 * kSecond);
  StreamedSound s("m", Wave("m.wav", {}, data).c_str(), 1);
  s.Play();
  host.clock += 100;
  uint32_t before = 0, after = 0;
  s.GetBuffer()->GetCurrentPosition(before);
  s.Play();
  s.GetBuffer()->GetCurrentPosition(after);
  EXPECT_EQ(before, after);
  EXPECT_EQ(after, 4410u * kFrame);

  s.Stop();
  EXPECT_FALSE(s.IsPlaying());
  s.GetBuffer()->GetCurrentPosition(after);
  EXPECT_EQ(after, 0u);
  EXPECT_EQ(s.bytesStreamed, 0u);
  EXPECT_TRUE(std::equal(s.shadow.begin(), s.shadow.end(), data.begin()));
}

TEST_F(StreamedSoundTest, PausedStreamsResumeWhereTheyStopped) {
  auto* s = new StreamedSound("m", Wave("m.wav", {}, Pattern(3 * kSecond)).c_str(), 1);
  scene.InsertStreamedSound(s);
  s->Play();
  RunFrames(10);
  GetSoundDevice()->PauseOrResumeAllSounds(false);
  EXPECT_EQ(s->paused, 1);
  EXPECT_EQ(s->resumePosition, 160u * 441 / 10 * kFrame);
  RunFrames(100);  // a paused stream is stopped: its update does nothing
  EXPECT_FALSE(s->IsPlaying());
  EXPECT_EQ(s->bytesStreamed, 0u);
  GetSoundDevice()->PauseOrResumeAllSounds(true);
  EXPECT_TRUE(s->IsPlaying());
  uint32_t cursor = 0;
  s->GetBuffer()->GetCurrentPosition(cursor);
  EXPECT_EQ(cursor, s->resumePosition);
}

}  // namespace
