// The sound output device of a host.
#pragma once

namespace platform {

class Mixer;

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  // True when a sound device can be opened.
  virtual bool DeviceAvailable() = 0;
  // Starts the output once (later calls do nothing). The mixer plays and moves its cursors
  // whether or not a device could be opened.
  virtual void Start() = 0;
  // The mixer that every sound buffer and music source of this host goes through.
  virtual Mixer& GetMixer() = 0;
};

}  // namespace platform
