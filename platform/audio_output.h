// The sound output device of a host.
#pragma once

namespace platform {

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  // True when a sound device can be opened.
  virtual bool DeviceAvailable() = 0;
};

}  // namespace platform
