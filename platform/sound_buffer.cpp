#include "platform/sound_buffer.h"

#include <SDL_audio.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/mixer.h"

namespace platform {

float AttenuationGain(int32_t hundredths) {
  if (hundredths <= kSilentVolume) return 0.0f;
  if (hundredths >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

SoundBuffer::SoundBuffer(Mixer* mixer, const WaveFormat& format, uint32_t bytes)
    : mixer_(mixer), format_(format) {
  data_.assign(bytes, SilenceByte());
  usable_ = bytes - bytes % format_.blockAlign;
  SDL_AudioFormat source = format_.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  stream_ = SDL_NewAudioStream(source, static_cast<Uint8>(format_.channels),
                               static_cast<int>(format_.samplesPerSecond), AUDIO_S16SYS,
                               Mixer::kChannels, Mixer::kRate);
}

SoundBuffer::~SoundBuffer() {
  if (mixer_) mixer_->Forget(this);
  if (stream_) SDL_FreeAudioStream(stream_);
}

void SoundBuffer::ResetStream() {
  if (stream_) SDL_AudioStreamClear(stream_);
  draining_ = false;
}

void SoundBuffer::Lose() {
  lost_ = true;
  playing_ = false;
  locked_ = false;
  ResetStream();
}

SoundResult SoundBuffer::GetStatus(uint32_t& status) {
  status = 0;
  if (!mixer_) return SoundResult::Failed;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  if (playing_) status |= kSoundPlaying | (looping_ ? uint32_t{kSoundLooping} : 0u);
  if (lost_) status |= kSoundBufferLost;
  return SoundResult::Ok;
}

SoundResult SoundBuffer::Play(bool looping) {
  if (!mixer_ || !stream_) return SoundResult::Failed;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  if (lost_) return SoundResult::BufferLost;
  if (!playing_) ResetStream();
  playing_ = true;
  looping_ = looping;
  return SoundResult::Ok;
}

SoundResult SoundBuffer::Stop() {
  if (!mixer_) return SoundResult::Failed;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  playing_ = false;
  ResetStream();
  return SoundResult::Ok;
}

SoundResult SoundBuffer::GetCurrentPosition(uint32_t& position) {
  position = 0;
  if (!mixer_) return SoundResult::Failed;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  position = cursor_;
  return SoundResult::Ok;
}

SoundResult SoundBuffer::SetCurrentPosition(uint32_t position) {
  if (!mixer_) return SoundResult::Failed;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  if (position >= Bytes()) return SoundResult::InvalidParameter;
  cursor_ = position - position % format_.blockAlign;
  // What the converter holds belongs to the old place.
  if (stream_) SDL_AudioStreamClear(stream_);
  draining_ = false;
  return SoundResult::Ok;
}

SoundResult SoundBuffer::Lock(uint32_t offset, uint32_t bytes, bool entireBuffer,
                              uint8_t** first, uint32_t* firstBytes, uint8_t** second,
                              uint32_t* secondBytes) {
  if (first) *first = nullptr;
  if (firstBytes) *firstBytes = 0;
  if (second) *second = nullptr;
  if (secondBytes) *secondBytes = 0;
  if (!mixer_) return SoundResult::Failed;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  if (lost_) return SoundResult::BufferLost;
  if (!first || !firstBytes || locked_) return SoundResult::InvalidParameter;
  uint32_t size = Bytes();
  if (entireBuffer) {
    offset = 0;
    bytes = size;
  }
  if (offset >= size || bytes == 0 || bytes > size) return SoundResult::InvalidParameter;
  uint32_t head = std::min(bytes, size - offset);
  uint32_t tail = bytes - head;
  if (tail && (!second || !secondBytes)) return SoundResult::InvalidParameter;
  staging_.resize(bytes);
  std::memcpy(staging_.data(), data_.data() + offset, head);
  if (tail) std::memcpy(staging_.data() + head, data_.data(), tail);
  lockOffset_ = offset;
  lockBytes_ = bytes;
  locked_ = true;
  *first = staging_.data();
  *firstBytes = head;
  if (tail) {
    *second = staging_.data() + head;
    *secondBytes = tail;
  }
  return SoundResult::Ok;
}

SoundResult SoundBuffer::Unlock() {
  if (!mixer_) return SoundResult::Failed;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  if (!locked_) return SoundResult::InvalidParameter;
  locked_ = false;
  uint32_t size = Bytes();
  uint32_t head = std::min(lockBytes_, size - lockOffset_);
  std::memcpy(data_.data() + lockOffset_, staging_.data(), head);
  if (lockBytes_ > head) std::memcpy(data_.data(), staging_.data() + head, lockBytes_ - head);
  return SoundResult::Ok;
}

SoundResult SoundBuffer::SetVolume(int32_t hundredths) {
  if (!mixer_) return SoundResult::Failed;
  if (hundredths > 0 || hundredths < kSilentVolume) return SoundResult::InvalidParameter;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  volume_ = hundredths;
  UpdateGains();
  return SoundResult::Ok;
}

SoundResult SoundBuffer::SetPan(int32_t pan) {
  if (!mixer_) return SoundResult::Failed;
  if (pan < kFullPanLeft || pan > kFullPanRight) return SoundResult::InvalidParameter;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  pan_ = pan;
  UpdateGains();
  return SoundResult::Ok;
}

void SoundBuffer::UpdateGains() {
  float v = AttenuationGain(volume_);
  // Panning to one side attenuates the other side only.
  leftGain_ = v * AttenuationGain(pan_ > 0 ? -pan_ : 0);
  rightGain_ = v * AttenuationGain(pan_ < 0 ? pan_ : 0);
}

SoundResult SoundBuffer::Restore() {
  if (!mixer_) return SoundResult::Failed;
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  if (!lost_) return SoundResult::Ok;
  if (mixer_->restoreFailures_ > 0) {
    --mixer_->restoreFailures_;
    return SoundResult::BufferLost;
  }
  lost_ = false;
  std::fill(data_.begin(), data_.end(), SilenceByte());
  return SoundResult::Ok;
}

size_t SoundBuffer::Pull(int16_t* destination, size_t frames) {
  const int want = static_cast<int>(frames * 4);
  while (playing_) {
    int available = SDL_AudioStreamAvailable(stream_);
    if (available >= want) break;
    uint64_t missing = (static_cast<uint64_t>(want - available) + 3) / 4;
    // Source frames for the missing output frames, rounded up.
    uint64_t sourceFrames =
        format_.samplesPerSecond == Mixer::kRate
            ? missing
            : (missing * format_.samplesPerSecond + Mixer::kRate - 1) / Mixer::kRate;
    uint32_t remaining = cursor_ < usable_ ? usable_ - cursor_ : 0;
    uint32_t bytes = static_cast<uint32_t>(
        std::min<uint64_t>(sourceFrames * format_.blockAlign, remaining));
    if (bytes && SDL_AudioStreamPut(stream_, data_.data() + cursor_, static_cast<int>(bytes)) != 0)
      break;
    cursor_ += bytes;
    if (cursor_ >= usable_) {
      cursor_ = 0;
      if (!looping_) {
        playing_ = false;
        draining_ = true;
        SDL_AudioStreamFlush(stream_);
      }
    }
  }
  int got = SDL_AudioStreamGet(stream_, destination, want);
  if (got < 0) got = 0;
  if (draining_ && SDL_AudioStreamAvailable(stream_) == 0) draining_ = false;
  return static_cast<size_t>(got) / 4;
}

void SoundBuffer::MixInto(int32_t* accumulator, size_t frames) {
  if (!stream_) return;
  if (converted_.size() < frames * 2) converted_.resize(frames * 2);
  size_t got = Pull(converted_.data(), frames);
  if (leftGain_ == 1.0f && rightGain_ == 1.0f) {
    for (size_t i = 0; i < got * 2; ++i) accumulator[i] += converted_[i];
    return;
  }
  for (size_t i = 0; i < got; ++i) {
    accumulator[2 * i] += static_cast<int32_t>(std::lrint(converted_[2 * i] * leftGain_));
    accumulator[2 * i + 1] +=
        static_cast<int32_t>(std::lrint(converted_[2 * i + 1] * rightGain_));
  }
}

}  // namespace platform
