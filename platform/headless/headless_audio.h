// Sound consumed by the virtual clock instead of a device: the mixer runs whenever a sound
// operation finds that the clock has moved, and what it produced can be captured.
#pragma once

#include <cstdint>

#include "platform/audio_output.h"
#include "platform/mixer.h"

namespace platform {

class HeadlessAudio : public AudioOutput {
 public:
  HeadlessAudio();

  bool DeviceAvailable() override { return !noDevice; }
  void Start() override { started = true; }
  Mixer& GetMixer() override { return mixer; }

  // The clock the mixer follows (the host's virtual clock); read, never advanced.
  void AttachClock(const uint32_t* clock) { clock_ = clock; }

  bool noDevice = false;  // behave as a machine without a sound device
  bool started = false;
  Mixer mixer;

 private:
  const uint32_t* clock_ = nullptr;
};

}  // namespace platform
