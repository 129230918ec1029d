// The sound device: one per process, made by the first call of GetSoundDevice, which also
// starts the host's sound output. It pauses and resumes the current scene's sounds and
// music together and drives the streamed sounds' refill once a frame.
#pragma once

#include <cstdint>
#include <string>

namespace platform {
class Mixer;
}

namespace quor {

class SoundDevice {
 public:
  SoundDevice(uint32_t sampleRate, uint32_t bitsPerSample, uint32_t channels);
  SoundDevice(const SoundDevice&) = delete;
  SoundDevice& operator=(const SoundDevice&) = delete;

  // false: pauses every playing sound, streamed sound and MIDI file of the current scene;
  // true: restores lost buffers and plays again what the pause stopped.
  void PauseOrResumeAllSounds(bool resume);
  // One frame of streaming for every streamed sound of the current scene, in list order.
  void UpdateStreamedSounds();

  uint32_t channels = 2;
  uint32_t bitsPerSample = 16;
  uint32_t sampleRate = 44100;
};

// The device, made on the first call (44100 Hz, 16 bits, 2 channels).
SoundDevice* GetSoundDevice();
// The mixer of the host's sound output; null before the device exists or without a host.
platform::Mixer* GetDirectSound();

// The path of a scene's wave file: "Sounds/" and the file name. When no such file exists,
// shows the missing-file box (the streamed sounds' own text when streamed), requests the
// end of the run and returns false.
bool FindSoundFile(const char* file, bool streamed, std::string& path);

}  // namespace quor
