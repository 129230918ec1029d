#include "engine/sound_input/sound_device.h"

namespace quor {

SoundDevice* GetSoundDevice() {
  static SoundDevice device;
  return &device;
}

}  // namespace quor
