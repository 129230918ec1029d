#include "platform/mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/headless/headless_host.h"

namespace {

using platform::Mixer;
using platform::SoundBuffer;
using platform::SoundResult;
using platform::WaveFormat;

WaveFormat Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
  WaveFormat f;
  f.formatTag = 1;
  f.channels = channels;
  f.samplesPerSecond = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.averageBytesPerSecond = rate * f.blockAlign;
  return f;
}

void Write(SoundBuffer& b, const std::vector<int16_t>& samples) {
  uint8_t* p = nullptr;
  uint32_t n = 0;
  ASSERT_EQ(b.Lock(0, 0, true, &p, &n, nullptr, nullptr), SoundResult::Ok);
  ASSERT_EQ(n, samples.size() * 2);
  std::memcpy(p, samples.data(), n);
  ASSERT_EQ(b.Unlock(), SoundResult::Ok);
}

std::vector<int16_t> Ramp(size_t n, int16_t start = 1) {
  std::vector<int16_t> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<int16_t>(start + static_cast<int>(i));
  return s;
}

TEST(Mixer, RefusesUnplayableBuffers) {
  Mixer mixer;
  EXPECT_EQ(mixer.CreateBuffer(Pcm(2, 44100, 16), 0), nullptr);
  EXPECT_EQ(mixer.CreateBuffer(Pcm(2, 44100, 16), 3), nullptr);
  EXPECT_EQ(mixer.CreateBuffer(Pcm(2, 44100, 16), 0x10000000), nullptr);
  WaveFormat adpcm = Pcm(1, 8000, 16);
  adpcm.formatTag = 2;
  EXPECT_EQ(mixer.CreateBuffer(adpcm, 100), nullptr);
  auto b = mixer.CreateBuffer(Pcm(1, 8000, 8), 5);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->SilenceByte(), 0x80);
  uint8_t* p = nullptr;
  uint32_t n = 0;
  ASSERT_EQ(b->Lock(0, 5, false, &p, &n, nullptr, nullptr), SoundResult::Ok);
  EXPECT_EQ(std::vector<uint8_t>(p, p + n), std::vector<uint8_t>(5, 0x80));
  b->Unlock();
}

TEST(Mixer, PlaysOnceThenStopsAndLoopsWhenAsked) {
  Mixer mixer;
  auto b = mixer.CreateBuffer(Pcm(2, 44100, 16), 400);  // 100 frames
  ASSERT_NE(b, nullptr);
  std::vector<int16_t> samples = Ramp(200);
  Write(*b, samples);
  ASSERT_EQ(b->Play(false), SoundResult::Ok);
  std::vector<int16_t> out(300 * 2, 7);
  mixer.Mix(out.data(), 60);
  uint32_t pos = 0, status = 0;
  b->GetCurrentPosition(pos);
  EXPECT_EQ(pos, 240u);
  mixer.Mix(out.data() + 120, 240);
  b->GetStatus(status);
  EXPECT_EQ(status & platform::kSoundPlaying, 0u);
  for (size_t i = 0; i < 200; ++i) ASSERT_EQ(out[i], samples[i]) << i;
  for (size_t i = 200; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;

  b->SetCurrentPosition(0);
  b->Play(true);
  mixer.Mix(out.data(), 300);
  for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], samples[i % 200]) << i;
  b->GetStatus(status);
  EXPECT_EQ(status, platform::kSoundPlaying | platform::kSoundLooping);
  b->GetCurrentPosition(pos);
  EXPECT_EQ(pos, 0u);  // 300 frames = three times round
}

TEST(Mixer, StopKeepsTheCursorAndSumsClampBothWays) {
  Mixer mixer;
  auto a = mixer.CreateBuffer(Pcm(2, 44100, 16), 400);
  auto b = mixer.CreateBuffer(Pcm(2, 44100, 16), 400);
  Write(*a, std::vector<int16_t>(200, 30000));
  std::vector<int16_t> mixed(200);
  for (size_t i = 0; i < 200; ++i) mixed[i] = i % 2 ? -30000 : 10000;
  Write(*b, mixed);
  a->Play(false);
  b->Play(false);
  std::vector<int16_t> out(20);
  mixer.Mix(out.data(), 10);
  EXPECT_EQ(out[0], 32767);
  EXPECT_EQ(out[1], 0);
  a->Stop();
  uint32_t pos = 0;
  a->GetCurrentPosition(pos);
  EXPECT_EQ(pos, 40u);
  mixer.Mix(out.data(), 10);
  EXPECT_EQ(out[0], 10000);
  EXPECT_EQ(out[1], -30000);
}

TEST(Mixer, ConvertsEightBitMonoAndOtherRates) {
  Mixer mixer;
  auto b = mixer.CreateBuffer(Pcm(1, 44100, 8), 100);
  uint8_t* p = nullptr;
  uint32_t n = 0;
  b->Lock(0, 100, false, &p, &n, nullptr, nullptr);
  std::memset(p, 0xC0, n);  // half way up
  b->Unlock();
  b->Play(false);
  std::vector<int16_t> out(40);
  mixer.Mix(out.data(), 20);
  EXPECT_NEAR(out[0], 16384, 200);
  EXPECT_EQ(out[0], out[1]);  // mono goes to both sides

  // 22050 Hz: a buffer of one second plays for about one second.
  auto slow = mixer.CreateBuffer(Pcm(2, 22050, 16), 22050 * 4);
  Write(*slow, std::vector<int16_t>(22050 * 2, 1000));
  slow->Play(false);
  std::vector<int16_t> second(44100 * 2 + 2000);
  mixer.Mix(second.data(), second.size() / 2);
  uint32_t status = 0;
  slow->GetStatus(status);
  EXPECT_EQ(status & platform::kSoundPlaying, 0u);
  size_t nonSilent = 0;
  for (size_t i = 0; i < second.size(); i += 2) nonSilent += second[i] != 0;
  EXPECT_NEAR(static_cast<double>(nonSilent), 44100.0, 64.0);
}

TEST(Mixer, VolumeAndPanFollowTheDecibelCurve) {
  EXPECT_EQ(platform::AttenuationGain(0), 1.0f);
  EXPECT_EQ(platform::AttenuationGain(-10000), 0.0f);
  EXPECT_NEAR(platform::AttenuationGain(-600), 0.501, 0.001);  // -6 dB
  EXPECT_NEAR(platform::AttenuationGain(-2000), 0.1, 1e-6);

  Mixer mixer;
  auto b = mixer.CreateBuffer(Pcm(2, 44100, 16), 4000);
  Write(*b, std::vector<int16_t>(2000, 10000));
  EXPECT_EQ(b->SetVolume(1), SoundResult::InvalidParameter);
  EXPECT_EQ(b->SetPan(-10001), SoundResult::InvalidParameter);
  ASSERT_EQ(b->SetVolume(-2000), SoundResult::Ok);
  ASSERT_EQ(b->SetPan(600), SoundResult::Ok);  // to the right: the left side drops
  b->Play(true);
  std::vector<int16_t> out(20);
  mixer.Mix(out.data(), 10);
  EXPECT_EQ(out[1], 1000);
  EXPECT_NEAR(out[0], 501, 1);
  b->SetPan(-10000);
  mixer.Mix(out.data(), 10);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[1], 0);
  b->SetVolume(-10000);
  b->SetPan(0);
  mixer.Mix(out.data(), 10);
  EXPECT_EQ(out[0], 0);
}

TEST(Mixer, LockWrapsAndUnlockPublishes) {
  Mixer mixer;
  auto b = mixer.CreateBuffer(Pcm(1, 44100, 8), 10);
  uint8_t *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  ASSERT_EQ(b->Lock(7, 5, false, &p1, &n1, &p2, &n2), SoundResult::Ok);
  EXPECT_EQ(n1, 3u);
  EXPECT_EQ(n2, 2u);
  std::memset(p1, 1, n1);
  std::memset(p2, 2, n2);
  EXPECT_EQ(b->Lock(0, 1, false, &p1, &n1, &p2, &n2), SoundResult::InvalidParameter);
  ASSERT_EQ(b->Unlock(), SoundResult::Ok);
  ASSERT_EQ(b->Lock(0, 0, true, &p1, &n1, &p2, &n2), SoundResult::Ok);
  EXPECT_EQ(std::vector<uint8_t>(p1, p1 + n1),
            (std::vector<uint8_t>{2, 2, 0x80, 0x80, 0x80, 0x80, 0x80, 1, 1, 1}));
  b->Unlock();
  EXPECT_EQ(b->Lock(10, 1, false, &p1, &n1, &p2, &n2), SoundResult::InvalidParameter);
  EXPECT_EQ(b->SetCurrentPosition(10), SoundResult::InvalidParameter);
}

TEST(Mixer, LostBuffersRefuseUntilRestored) {
  Mixer mixer;
  auto b = mixer.CreateBuffer(Pcm(2, 44100, 16), 400);
  Write(*b, Ramp(200));
  b->Play(true);
  mixer.LoseAllBuffers();
  uint32_t status = 0;
  b->GetStatus(status);
  EXPECT_EQ(status, uint32_t{platform::kSoundBufferLost});
  EXPECT_EQ(b->Play(false), SoundResult::BufferLost);
  uint8_t* p = nullptr;
  uint32_t n = 0;
  EXPECT_EQ(b->Lock(0, 4, false, &p, &n, nullptr, nullptr), SoundResult::BufferLost);
  mixer.FailRestores(2);
  EXPECT_EQ(b->Restore(), SoundResult::BufferLost);
  EXPECT_EQ(b->Restore(), SoundResult::BufferLost);
  EXPECT_EQ(b->Restore(), SoundResult::Ok);
  b->GetStatus(status);
  EXPECT_EQ(status, 0u);
  ASSERT_EQ(b->Lock(0, 0, true, &p, &n, nullptr, nullptr), SoundResult::Ok);
  EXPECT_EQ(std::vector<uint8_t>(p, p + n), std::vector<uint8_t>(400, 0));  // silence
  b->Unlock();
}

TEST(Mixer, BuffersOutlivingTheMixerFailQuietly) {
  auto mixer = std::make_unique<Mixer>();
  auto b = mixer->CreateBuffer(Pcm(2, 44100, 16), 400);
  mixer.reset();
  uint32_t status = 0;
  EXPECT_EQ(b->Play(false), SoundResult::Failed);
  EXPECT_EQ(b->GetStatus(status), SoundResult::Failed);
}

TEST(HeadlessAudio, CursorsFollowTheVirtualClockAndTheMixIsCaptured) {
  platform::HeadlessHost host;
  platform::InstallHost(&host);
  Mixer& mixer = host.Audio().GetMixer();
  auto b = mixer.CreateBuffer(Pcm(2, 44100, 16), 44100 * 4);
  std::vector<int16_t> samples = Ramp(44100 * 2, -30000);
  Write(*b, samples);
  mixer.SetCapture(true);
  b->Play(false);
  host.clock += 10;  // 441 frames
  uint32_t pos = 0;
  b->GetCurrentPosition(pos);
  EXPECT_EQ(pos, 441u * 4);
  host.clock += 990;
  b->GetCurrentPosition(pos);
  uint32_t status = 0;
  b->GetStatus(status);
  EXPECT_EQ(status & platform::kSoundPlaying, 0u);
  std::vector<int16_t> mix = mixer.TakeCapture();
  ASSERT_EQ(mix.size(), samples.size());
  EXPECT_EQ(mix, samples);
  EXPECT_FALSE(host.Audio().DeviceAvailable() == false);
  host.audio.noDevice = true;
  EXPECT_FALSE(host.Audio().DeviceAvailable());
  platform::InstallHost(nullptr);
}

}  // namespace
