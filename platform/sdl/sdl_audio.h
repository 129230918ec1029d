// The sound device: SDL's audio callback pulls the mixer on SDL's audio thread. A machine
// without a sound card gets SDL's "dummy" driver, whose thread keeps the same pace, and if
// even that cannot open the mixer follows the real clock silently.
#pragma once

#include <cstdint>

#include "platform/audio_output.h"
#include "platform/mixer.h"

namespace platform {

class SdlAudio : public AudioOutput {
 public:
  SdlAudio() = default;
  ~SdlAudio() override;

  bool DeviceAvailable() override;
  void Start() override;
  Mixer& GetMixer() override { return mixer_; }

 private:
  static void Pull(void* self, uint8_t* stream, int length);
  bool OpenDevice();

  Mixer mixer_;
  uint32_t device_ = 0;
  bool started_ = false;
};

}  // namespace platform
