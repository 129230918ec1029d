// A streamed sound: music or ambience played from a two-second looping buffer that the
// main loop refills half by half from the open wave file, looping the file or ending with
// silence. A shadow copy of the buffer lets a lost buffer be rewritten without the file.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/class_record.h"
#include "engine/sound_input/sound_base.h"

namespace quor {

class StreamedSound : public SoundBase {
 public:
  StreamedSound();
  StreamedSound(const char* name, const char* path, uint32_t looping);

  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return StreamedSoundClassRecord; }
  // Plays from the resume position; a playing stream is left alone.
  void Play() override;
  // Stops and primes the stream again from the start of the file.
  void Stop() override;
  // One frame of streaming: refills the half that the cursor has left.
  void Update();
  // Rewrites the whole buffer from the shadow.
  void Refill();

  uint32_t lastCursor = 0;
  uint32_t halfSize = 0;
  uint32_t endPosition = 0;
  uint8_t endReached = 0;
  std::vector<uint8_t> shadow;

 private:
  // Silence in the shadow, then a buffer-full of data from the file's position.
  void ReadShadow();
  // Back to the state after construction, after the end of a non-looping stream.
  void Reprime();
};

// The empty streamed sound that handles fall back to.
extern StreamedSound NullStreamedSound;

class StreamedSoundHandle {
 public:
  StreamedSound* Get() const { return sound_; }
  StreamedSound* operator->() const { return sound_; }
  void Set(StreamedSound* sound) { sound_ = sound ? sound : &NullStreamedSound; }

 private:
  StreamedSound* sound_ = &NullStreamedSound;
};

StreamedSound* FindStreamedSoundByName(const char* name);
StreamedSoundHandle& GetStreamedSoundHandle(StreamedSoundHandle& handle, const char* name);

}  // namespace quor
