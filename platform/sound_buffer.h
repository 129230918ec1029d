// A sound buffer: bytes in its wave file's own PCM format, played once or looping by the
// mixer from a play cursor, written through Lock and Unlock, with a volume in hundredths
// of a decibel and a pan. A buffer can be lost (the output was taken away); a lost buffer
// refuses to play or lock until it is restored, and then holds silence.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/wave_file.h"

struct _SDL_AudioStream;

namespace platform {

class Mixer;

enum class SoundResult { Ok, Failed, BufferLost, InvalidParameter };

// Bits of a buffer's status.
enum SoundStatusBits : uint32_t {
  kSoundPlaying = 1,
  kSoundBufferLost = 2,
  kSoundLooping = 4,
};

constexpr int32_t kSilentVolume = -10000;  // hundredths of a decibel
constexpr int32_t kFullPanLeft = -10000, kFullPanRight = 10000;

// The gain of an attenuation in hundredths of a decibel: 10^(v / 2000); -10000 is silence.
float AttenuationGain(int32_t hundredths);

class SoundBuffer {
 public:
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;
  ~SoundBuffer();

  uint32_t Bytes() const { return static_cast<uint32_t>(data_.size()); }
  const WaveFormat& Format() const { return format_; }
  // The byte that sounds as nothing in this format.
  uint8_t SilenceByte() const { return format_.bitsPerSample == 8 ? 0x80 : 0; }

  SoundResult GetStatus(uint32_t& status);
  // Starts playing from the cursor; a looping buffer wraps to its start at its end.
  SoundResult Play(bool looping);
  // Stops where it is; the cursor stays.
  SoundResult Stop();
  // The byte offset that is being played.
  SoundResult GetCurrentPosition(uint32_t& position);
  SoundResult SetCurrentPosition(uint32_t position);

  // Hands out the region of bytes from offset (the whole buffer when entireBuffer), split in
  // two where it wraps past the end. What is written there is played after Unlock.
  SoundResult Lock(uint32_t offset, uint32_t bytes, bool entireBuffer, uint8_t** first,
                   uint32_t* firstBytes, uint8_t** second, uint32_t* secondBytes);
  SoundResult Unlock();

  SoundResult SetVolume(int32_t hundredths);
  SoundResult SetPan(int32_t pan);
  int32_t Volume() const { return volume_; }
  int32_t Pan() const { return pan_; }

  // Gives a lost buffer back its memory, filled with silence.
  SoundResult Restore();

 private:
  friend class Mixer;
  SoundBuffer(Mixer* mixer, const WaveFormat& format, uint32_t bytes);

  // Under the mixer's lock.
  bool Audible() const { return playing_ || draining_; }
  void MixInto(int32_t* accumulator, size_t frames);
  size_t Pull(int16_t* destination, size_t frames);
  void ResetStream();
  void Lose();
  // The per-side gains from the volume and the pan; the mixer lock must be held.
  void UpdateGains();

  Mixer* mixer_;
  WaveFormat format_;
  std::vector<uint8_t> data_;
  uint32_t usable_ = 0;  // whole sample frames
  uint32_t cursor_ = 0;
  bool playing_ = false;
  bool looping_ = false;
  bool draining_ = false;  // stopped at its end, the converter still holds its tail
  bool lost_ = false;
  int32_t volume_ = 0;
  int32_t pan_ = 0;
  float leftGain_ = 1.0f, rightGain_ = 1.0f;
  _SDL_AudioStream* stream_ = nullptr;
  std::vector<int16_t> converted_;
  std::vector<uint8_t> staging_;
  uint32_t lockOffset_ = 0, lockBytes_ = 0;
  bool locked_ = false;
};

}  // namespace platform
