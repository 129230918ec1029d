// A sound effect: the whole wave held in a static buffer. Playing it again while it plays
// restarts it only once it has played its restart percentage of the buffer.
#pragma once

#include <cstdint>

#include "engine/core/class_record.h"
#include "engine/sound_input/sound_base.h"

namespace quor {

class Sound : public SoundBase {
 public:
  Sound() = default;
  // restartPercent is clamped to 0..100.
  Sound(const char* name, const char* path, uint32_t looping, int32_t restartPercent);

  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return SoundClassRecord; }
  void Play() override;
  // Stops and forgets the resume position: the next Play starts at the beginning.
  void Stop() override;

  uint32_t restartPercent = 0;

 private:
  void PlayFromCursor();
};

// The empty sound that handles fall back to: every operation on it does nothing.
extern Sound NullSound;

// A sound of the current scene found by name, or NullSound.
class SoundHandle {
 public:
  Sound* Get() const { return sound_; }
  Sound* operator->() const { return sound_; }
  void Set(Sound* sound) { sound_ = sound ? sound : &NullSound; }

 private:
  Sound* sound_ = &NullSound;
};

// The first sound of the current scene's list named exactly name, or null.
Sound* FindSoundByName(const char* name);
SoundHandle& GetSoundHandle(SoundHandle& handle, const char* name);

}  // namespace quor
