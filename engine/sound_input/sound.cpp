#include "engine/sound_input/sound.h"

#include <algorithm>
#include <cstring>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/scene/game_node.h"

namespace quor {

Sound NullSound;

Sound::Sound(const char* name, const char* path, uint32_t looping, int32_t percent)
    : SoundBase(name, path, looping, 0) {
  restartPercent = static_cast<uint32_t>(std::clamp(percent, 0, 100));
}

void Sound::PlayFromCursor() {
  bool loop = looping != 0;
  while (buffer->Play(loop) == platform::SoundResult::BufferLost) {
    Rewind();
    if (!RestoreBuffer()) return;
    FillBuffer();
  }
}

void Sound::Play() {
  if (!buffer) return;
  if (IsPlaying()) {
    uint32_t cursor = 0;
    buffer->GetCurrentPosition(cursor);
    // In 64 bits: percent × bytes overflows 32 bits for buffers above 42 MB.
    uint64_t threshold = uint64_t{restartPercent} * buffer->Bytes() / 100;
    if (cursor < threshold) return;
    buffer->Stop();
    buffer->SetCurrentPosition(0);
  } else {
    buffer->SetCurrentPosition(resumePosition);
  }
  PlayFromCursor();
}

void Sound::Stop() {
  if (!buffer) return;
  buffer->Stop();
  resumePosition = 0;
  buffer->SetCurrentPosition(0);
}

void Sound::Save(ObjectStream& stream) {
  SoundBase::Save(stream);
  stream.WriteLong(restartPercent);
  uint32_t cursor = 0;
  bool playing = IsPlaying();
  if (buffer) buffer->GetCurrentPosition(cursor);
  stream.WriteByte(static_cast<uint8_t>(playing ? 1 : 0));
  stream.WriteLong(cursor);
}

void Sound::Load(ObjectStream& stream) {
  SoundBase::Load(stream);
  uint32_t percent = 0, position = 0;
  uint8_t playing = 0;
  stream.ReadLong(&percent);
  stream.ReadByte(&playing);
  stream.ReadLong(&position);
  if (!stream.Good()) return;
  restartPercent = std::min<uint32_t>(percent, 100);
  if (!buffer) return;
  buffer->SetCurrentPosition(position);
  PlayAsLoaded(playing != 0);
}

Sound* FindSoundByName(const char* name) {
  if (!CurrentGameNode || !name) return nullptr;
  NodeList& list = CurrentGameNode->sounds;
  for (Node* n = list.GetHead(); n && !n->IsEnd(); n = n->GetNext()) {
    auto* sound = static_cast<Sound*>(n);
    if (std::strcmp(sound->GetName(), name) == 0) return sound;
  }
  return nullptr;
}

SoundHandle& GetSoundHandle(SoundHandle& handle, const char* name) {
  handle.Set(FindSoundByName(name));
  return handle;
}

}  // namespace quor
