// Sound consumed by the virtual clock instead of a device.
#pragma once

#include "platform/audio_output.h"

namespace platform {

class HeadlessAudio : public AudioOutput {
 public:
  bool DeviceAvailable() override { return !noDevice; }

  bool noDevice = false;  // behave as a machine without a sound device
};

}  // namespace platform
