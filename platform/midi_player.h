// A MIDI performance: one Standard MIDI File played by a FluidSynth synthesizer with the
// General MIDI sound font installed on the system, sounding through the mixer. Positions
// are in the file's own ticks. Without a sound font the performance still runs, silently.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/mixer.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

namespace platform {

class MidiPerformance : public MixSource {
 public:
  explicit MidiPerformance(Mixer& mixer);
  MidiPerformance(const MidiPerformance&) = delete;
  MidiPerformance& operator=(const MidiPerformance&) = delete;
  ~MidiPerformance() override;

  // The installed General MIDI sound font, or empty.
  static std::string FindSoundFont();
  bool HasSoundFont() const { return soundFont_ >= 0; }

  // Reads a Standard MIDI File (a Windows-style name is mapped); false when it cannot be
  // read or is not one, and the performance then has no segment.
  bool LoadSegment(const std::string& path);
  bool HasSegment() const { return !segment_.empty(); }
  // How many times the segment plays again after its first time.
  void SetRepeats(uint32_t repeats);
  // Where the next Play starts, in ticks.
  void SetStartPoint(int32_t tick);
  void Play();
  void Stop();
  bool IsPlaying();
  // The position being played, in ticks.
  int32_t CurrentTick();
  // Master volume in hundredths of a decibel (0 full, -10000 silent).
  void SetMasterVolume(int32_t hundredths);

  // MixSource, under the mixer's lock.
  bool Audible() override;
  void MixInto(int32_t* accumulator, size_t frames) override;

 private:
  void StopLocked();

  Mixer* mixer_;
  _fluid_hashtable_t* settings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;
  _fluid_player_t* player_ = nullptr;
  int soundFont_ = -1;
  std::vector<uint8_t> segment_;
  int repeats_ = 0;
  int32_t startTick_ = 0;
  float gain_ = 1.0f;
  std::vector<float> left_, right_;
};

}  // namespace platform
