#include "engine/sound_input/streamed_sound.h"

#include <algorithm>
#include <cstring>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/scene/game_node.h"

namespace quor {

StreamedSound NullStreamedSound;

StreamedSound::StreamedSound() { streamed = 1; }

StreamedSound::StreamedSound(const char* name, const char* path, uint32_t looping)
    : SoundBase(name, path, looping, 1) {
  halfSize = GetBufferBytes() >> 1;
  Rewind();
  ReadShadow();
}

void StreamedSound::ReadShadow() {
  shadow.assign(GetBufferBytes(), SilenceByte());
  uint32_t read = 0;
  if (!shadow.empty()) ReadData(static_cast<uint32_t>(shadow.size()), shadow.data(), &read);
}

void StreamedSound::Reprime() {
  Rewind();
  RestoreBuffer();
  FillBuffer();
  Rewind();
  ReadShadow();
}

void StreamedSound::Play() {
  if (!buffer || IsPlaying()) return;
  buffer->SetCurrentPosition(resumePosition);
  // The buffer always loops; whether the file does is the update's business.
  while (buffer->Play(true) == platform::SoundResult::BufferLost) {
    if (!RestoreBuffer()) return;
    Refill();
  }
}

void StreamedSound::Stop() {
  if (!buffer) return;
  buffer->Stop();
  resumePosition = endPosition = lastCursor = 0;
  endReached = 0;
  buffer->SetCurrentPosition(0);
  Reprime();
}

void StreamedSound::Refill() {
  if (!buffer) return;
  uint8_t *region = nullptr, *second = nullptr;
  uint32_t length = 0, secondLength = 0;
  if (buffer->Lock(0, buffer->Bytes(), true, &region, &length, &second, &secondLength) !=
      platform::SoundResult::Ok)
    return;
  std::memcpy(region, shadow.data(), std::min<size_t>(length, shadow.size()));
  buffer->Unlock();
}

void StreamedSound::Update() {
  if (!buffer || !IsPlaying()) return;
  uint32_t size = buffer->Bytes();
  uint32_t cursor = 0;
  buffer->GetCurrentPosition(cursor);

  if (endReached) {
    // Measured forward from the last update, so that the end is found across the wrap: the
    // data may end in the first half while the cursor still plays the second.
    uint32_t moved = (cursor + size - lastCursor) % size;
    uint32_t toEnd = (endPosition + size - lastCursor) % size;
    if (moved >= toEnd) {
      buffer->Stop();
      endPosition = lastCursor = 0;
      endReached = 0;
      Reprime();
      return;
    }
    lastCursor = cursor;
    return;
  }

  bool leftHalf = cursor < lastCursor || (lastCursor < halfSize && cursor >= halfSize);
  if (!leftHalf) {
    lastCursor = cursor;
    return;
  }

  uint32_t offset = cursor < halfSize ? halfSize : 0;
  uint8_t *region = nullptr, *second = nullptr;
  uint32_t length = 0, secondLength = 0;
  platform::SoundResult result;
  while ((result = buffer->Lock(offset, halfSize, false, &region, &length, &second,
                                &secondLength)) == platform::SoundResult::BufferLost) {
    if (!RestoreBuffer()) break;
    Refill();
  }
  if (result == platform::SoundResult::Ok) {
    uint8_t* target = shadow.data() + offset;
    uint32_t n = 0;
    ReadData(length, target, &n);
    bytesStreamed += n;
    if (n < length) {
      if (looping) {
        // Start over as often as it takes to fill the half, so that a file shorter than
        // the half leaves nothing of the old contents behind.
        while (n < length) {
          Rewind();
          uint32_t m = 0;
          ReadData(length - n, target + n, &m);
          if (m == 0) break;
          bytesStreamed += m;
          n += m;
        }
        if (n < length) std::memset(target + n, SilenceByte(), length - n);
      } else {
        std::memset(target + n, SilenceByte(), length - n);
        endReached = 1;
        endPosition = offset + n;
      }
    }
    std::memcpy(region, target, length);
    buffer->Unlock();
  }
  lastCursor = cursor;
}

void StreamedSound::Save(ObjectStream& stream) {
  SoundBase::Save(stream);
  stream.WriteLong(lastCursor);
  stream.WriteLong(halfSize);
  stream.WriteLong(endPosition);
  stream.WriteByte(endReached);
  uint32_t cursor = 0;
  bool playing = IsPlaying();
  if (buffer) buffer->GetCurrentPosition(cursor);
  stream.WriteByte(static_cast<uint8_t>(playing ? 1 : 0));
  stream.WriteLong(cursor);
}

void StreamedSound::Load(ObjectStream& stream) {
  SoundBase::Load(stream);
  uint32_t readLast = 0, readHalf = 0, readEnd = 0, position = 0;
  uint8_t readEndReached = 0, playing = 0;
  stream.ReadLong(&readLast);
  stream.ReadLong(&readHalf);
  stream.ReadLong(&readEnd);
  stream.ReadByte(&readEndReached);
  stream.ReadByte(&playing);
  stream.ReadLong(&position);
  if (!stream.Good()) return;
  uint32_t size = GetBufferBytes();
  // The buffer's own size rules: a saved half or cursor outside it is not trusted.
  halfSize = size >> 1;
  lastCursor = readLast < size ? readLast : 0;
  endPosition = readEnd < size ? readEnd : 0;
  endReached = readEndReached && size ? 1 : 0;
  ReadShadow();
  if (!buffer) return;
  buffer->SetCurrentPosition(position);
  PlayAsLoaded(playing != 0);
}

StreamedSound* FindStreamedSoundByName(const char* name) {
  if (!CurrentGameNode || !name) return nullptr;
  NodeList& list = CurrentGameNode->streamedSounds;
  for (Node* n = list.GetHead(); n && !n->IsEnd(); n = n->GetNext()) {
    auto* sound = static_cast<StreamedSound*>(n);
    if (std::strcmp(sound->GetName(), name) == 0) return sound;
  }
  return nullptr;
}

StreamedSoundHandle& GetStreamedSoundHandle(StreamedSoundHandle& handle, const char* name) {
  handle.Set(FindStreamedSoundByName(name));
  return handle;
}

}  // namespace quor
