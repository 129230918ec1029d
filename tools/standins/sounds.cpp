#include "tools/standins/sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/standins/file_formats.h"

namespace standins {

namespace {

constexpr float kPi = 3.14159265f;

float NoteHz(int semitonesFromA4) { return 440.0f * std::pow(2.0f, semitonesFromA4 / 12.0f); }

// A writer of notes into a growing buffer.
class Score {
 public:
  // A tone from `from` to `to` Hz, starting at `at` seconds, with a quick attack and a
  // fall to silence at its end; `buzz` adds odd harmonics, `noise` a hiss.
  void Tone(float at, float seconds, float from, float to, float level, float buzz = 0.0f,
            float noise = 0.0f) {
    const size_t start = size_t(at * kSampleRate), count = size_t(seconds * kSampleRate);
    if (samples_.size() < start + count) samples_.resize(start + count, 0.0f);
    float phase = 0.0f;
    for (size_t i = 0; i < count; ++i) {
      const float t = float(i) / float(count);
      const float hz = from + (to - from) * t;
      phase += 2.0f * kPi * hz / kSampleRate;
      const float attack = std::min(1.0f, float(i) / (0.004f * kSampleRate));
      const float envelope = attack * (1.0f - t) * (1.0f - t);
      float wave =
          std::sin(phase) + buzz * (std::sin(3.0f * phase) / 3.0f + std::sin(5.0f * phase) / 5.0f);
      if (noise > 0.0f) wave = wave * (1.0f - noise) + noise * NextNoise();
      samples_[start + i] += level * envelope * wave;
    }
  }
  std::vector<float>& Samples() { return samples_; }

 private:
  float NextNoise() {
    state_ = state_ * 1664525u + 1013904223u;
    return float(int32_t(state_ >> 8) - (1 << 23)) / float(1 << 23);
  }
  std::vector<float> samples_;
  uint32_t state_ = 12345;
};

}  // namespace

std::vector<float> EffectSamples(const std::string& file) {
  Score s;
  if (file == "Key.wav") {
    s.Tone(0.0f, 0.09f, NoteHz(19), NoteHz(19), 0.5f, 0.3f);
    s.Tone(0.08f, 0.2f, NoteHz(24), NoteHz(24), 0.5f, 0.3f);
  } else if (file == "Meat.wav") {
    s.Tone(0.0f, 0.07f, 240.0f, 180.0f, 0.6f, 0.6f, 0.2f);
    s.Tone(0.11f, 0.07f, 220.0f, 160.0f, 0.6f, 0.6f, 0.2f);
  } else if (file == "Sound.wav") {  // the fire shot
    s.Tone(0.0f, 0.28f, 900.0f, 180.0f, 0.5f, 0.2f, 0.45f);
  } else if (file == "Laugh.wav") {
    for (int i = 0; i < 3; ++i)
      s.Tone(0.15f * i, 0.11f, 320.0f - 25.0f * i, 280.0f - 25.0f * i, 0.5f, 0.8f);
  } else if (file == "Door.wav") {
    s.Tone(0.0f, 0.55f, 95.0f, 55.0f, 0.7f, 0.7f, 0.3f);
  } else if (file == "item.wav") {
    const int notes[] = {15, 19, 22, 27};
    for (int i = 0; i < 4; ++i)
      s.Tone(0.06f * i, 0.12f, NoteHz(notes[i]), NoteHz(notes[i]), 0.4f, 0.2f);
  } else if (file == "Expload.wav") {
    s.Tone(0.0f, 0.8f, 70.0f, 30.0f, 0.8f, 0.5f, 0.85f);
  } else if (file == "Lazer.wav") {
    s.Tone(0.0f, 0.22f, 2000.0f, 400.0f, 0.35f, 1.0f);
  } else if (file == "Vrendle Quest.wav") {
    // The title's little theme.
    const int notes[] = {3, 7, 10, 15, 10, 15, 19};
    const float lengths[] = {0.2f, 0.2f, 0.2f, 0.4f, 0.2f, 0.2f, 0.8f};
    float at = 0.0f;
    for (int i = 0; i < 7; ++i) {
      s.Tone(at, lengths[i] + 0.05f, NoteHz(notes[i]), NoteHz(notes[i]), 0.35f, 0.3f);
      at += lengths[i];
    }
  } else {
    const float hz = 300.0f + float(uint32_t(Fingerprint(file)) % 900);
    s.Tone(0.0f, 0.2f, hz, hz * 0.8f, 0.5f, 0.3f);
  }
  return s.Samples();
}

std::vector<float> MusicSamples(const std::string& file) {
  const uint32_t h = uint32_t(Fingerprint(file));
  // Eight beats of 0.45 to 0.55 seconds, each a whole number of samples, so that the loop
  // joins without a seam.
  const int beat = 20000 + int(h % 5) * 1000;
  const int root = -21 + int((h >> 4) % 7);  // around C3
  const bool minor = (h >> 8) & 1;
  const int third = minor ? 3 : 4;
  // I, V, vi, IV in major; i, VI, III, VII in minor.
  const int major[] = {0, 7, 9, 5}, minorSteps[] = {0, 8, 3, 10};
  const int* steps = minor ? minorSteps : major;
  const float secondsPerBeat = float(beat) / kSampleRate;
  Score s;
  for (int bar = 0; bar < 4; ++bar) {
    const int chord = root + steps[bar];
    const float at = 2.0f * bar * secondsPerBeat;
    s.Tone(at, 2.0f * secondsPerBeat, NoteHz(chord - 12), NoteHz(chord - 12), 0.22f, 0.4f);
    const int arpeggio[] = {0, third, 7, 12};
    for (int i = 0; i < 4; ++i) {
      const float hz = NoteHz(chord + 12 + arpeggio[(i + bar) % 4]);
      s.Tone(at + i * secondsPerBeat / 2.0f, secondsPerBeat / 2.0f, hz, hz, 0.12f, 0.2f);
    }
  }
  std::vector<float>& samples = s.Samples();
  samples.resize(size_t(beat) * 8, 0.0f);
  return samples;
}

}  // namespace standins
