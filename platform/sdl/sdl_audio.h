// The sound device.
#pragma once

#include "platform/audio_output.h"

namespace platform {

class SdlAudio : public AudioOutput {
 public:
  bool DeviceAvailable() override;
};

}  // namespace platform
