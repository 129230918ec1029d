// The mixer: every sound buffer and music source of the process summed into 44100 Hz,
// 16-bit stereo. A device's callback pulls it on the device's own thread; without a
// device it follows a clock instead, so play cursors still move (the tests' virtual clock,
// or the real one when no output could be opened). Every operation on a buffer takes the
// mixer's lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sound_buffer.h"
#include "platform/wave_file.h"

namespace platform {

// Something other than a buffer that sounds through the mixer (music). Its methods are
// called under the mixer's lock.
class MixSource {
 public:
  virtual ~MixSource() = default;
  virtual bool Audible() = 0;
  // Adds frames of 44100 Hz stereo to the accumulator (left, right interleaved).
  virtual void MixInto(int32_t* accumulator, size_t frames) = 0;
};

class Mixer {
 public:
  static constexpr uint32_t kRate = 44100;
  static constexpr uint32_t kChannels = 2;
  static constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;

  Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;
  ~Mixer();

  // A stopped buffer of bytes, filled with silence; null when the format is not playable
  // PCM or the size holds no whole sample frame or is too large.
  std::unique_ptr<SoundBuffer> CreateBuffer(const WaveFormat& format, uint32_t bytes);

  void AddSource(MixSource* source);
  void RemoveSource(MixSource* source);

  // Writes frames of interleaved 16-bit stereo, moving every playing cursor.
  void Mix(int16_t* out, size_t frames);

  // Makes the mixer follow a millisecond clock: before each operation it mixes what the time
  // since the last one is due. An empty function returns it to being pulled by a device.
  void SetClock(std::function<uint32_t()> clock);
  // Mixes up to the clock's present time.
  void Synchronise();

  // Keeps what the clock-driven mixing produces, for tests to read.
  void SetCapture(bool on);
  std::vector<int16_t> TakeCapture();

  // Loses every buffer, as when another program takes the output away.
  void LoseAllBuffers();
  // The next n restores fail (the output is still taken).
  void FailRestores(uint32_t n);

  // The lock every buffer and source operation holds.
  std::mutex& Lock() { return mutex_; }
  // Under the lock: mixes up to the clock's time.
  void AdvanceLocked();

 private:
  friend class SoundBuffer;
  void MixLocked(int16_t* out, size_t frames);
  void Forget(SoundBuffer* buffer);

  std::mutex mutex_;
  std::vector<SoundBuffer*> buffers_;
  std::vector<MixSource*> sources_;
  std::vector<int32_t> accumulator_;
  std::vector<int16_t> scratch_;
  std::function<uint32_t()> clock_;
  bool clockStarted_ = false;
  uint32_t lastClock_ = 0;
  uint64_t elapsedMs_ = 0;
  uint64_t mixedFrames_ = 0;
  bool capture_ = false;
  std::vector<int16_t> captured_;
  uint32_t restoreFailures_ = 0;
};

}  // namespace platform
