// Stand-in until sound lands: the sound device, created on first use.
#pragma once

namespace quor {

class SoundDevice {
 public:
  void UpdateStreamedSounds() {}
  void PauseOrResumeAllSounds(bool /*resume*/) {}
};

SoundDevice* GetSoundDevice();

}  // namespace quor
