#include "platform/mixer.h"

#include <algorithm>

namespace platform {

namespace {
constexpr size_t kChunkFrames = 1024;
constexpr uint64_t kMaxCatchUpFrames = 60 * uint64_t{Mixer::kRate};
}

Mixer::Mixer() = default;

Mixer::~Mixer() {
  std::lock_guard<std::mutex> guard(mutex_);
  // Buffers may outlive the mixer (engine objects destroyed late); they then fail quietly.
  for (SoundBuffer* buffer : buffers_) buffer->mixer_ = nullptr;
  buffers_.clear();
  sources_.clear();
}

std::unique_ptr<SoundBuffer> Mixer::CreateBuffer(const WaveFormat& format, uint32_t bytes) {
  if (!format.IsPlayablePcm()) return nullptr;
  if (bytes < format.blockAlign || bytes > kMaxBufferBytes) return nullptr;
  std::unique_ptr<SoundBuffer> buffer(new SoundBuffer(this, format, bytes));
  if (!buffer->stream_) {
    buffer->mixer_ = nullptr;
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(mutex_);
  AdvanceLocked();
  buffers_.push_back(buffer.get());
  return buffer;
}

void Mixer::Forget(SoundBuffer* buffer) {
  std::lock_guard<std::mutex> guard(mutex_);
  AdvanceLocked();
  buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
}

void Mixer::AddSource(MixSource* source) {
  std::lock_guard<std::mutex> guard(mutex_);
  AdvanceLocked();
  sources_.push_back(source);
}

void Mixer::RemoveSource(MixSource* source) {
  std::lock_guard<std::mutex> guard(mutex_);
  AdvanceLocked();
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void Mixer::Mix(int16_t* out, size_t frames) {
  std::lock_guard<std::mutex> guard(mutex_);
  while (frames > 0) {
    size_t n = std::min(frames, kChunkFrames);
    MixLocked(out, n);
    out += n * kChannels;
    frames -= n;
  }
}

void Mixer::MixLocked(int16_t* out, size_t frames) {
  accumulator_.assign(frames * kChannels, 0);
  for (SoundBuffer* buffer : buffers_)
    if (buffer->Audible()) buffer->MixInto(accumulator_.data(), frames);
  for (MixSource* source : sources_)
    if (source->Audible()) source->MixInto(accumulator_.data(), frames);
  for (size_t i = 0; i < frames * kChannels; ++i)
    out[i] = static_cast<int16_t>(std::clamp(accumulator_[i], -32768, 32767));
}

void Mixer::SetClock(std::function<uint32_t()> clock) {
  std::lock_guard<std::mutex> guard(mutex_);
  clock_ = std::move(clock);
  clockStarted_ = false;
}

void Mixer::Synchronise() {
  std::lock_guard<std::mutex> guard(mutex_);
  AdvanceLocked();
}

void Mixer::AdvanceLocked() {
  if (!clock_) return;
  uint32_t now = clock_();
  if (!clockStarted_) {
    clockStarted_ = true;
    lastClock_ = now;
    return;
  }
  elapsedMs_ += static_cast<uint32_t>(now - lastClock_);
  lastClock_ = now;
  uint64_t due = elapsedMs_ * kRate / 1000;
  uint64_t frames = due - mixedFrames_;
  mixedFrames_ = due;
  if (frames == 0) return;
  // A clock that leaps hours ahead would stall here mixing what nobody hears; unless the
  // mix is being kept, the cursors then move by a bounded stretch.
  if (!capture_) frames = std::min<uint64_t>(frames, kMaxCatchUpFrames);
  bool anyAudible = capture_;
  for (SoundBuffer* buffer : buffers_) anyAudible = anyAudible || buffer->Audible();
  for (MixSource* source : sources_) anyAudible = anyAudible || source->Audible();
  if (!anyAudible) return;
  while (frames > 0) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(frames, kChunkFrames));
    scratch_.resize(n * kChannels);
    MixLocked(scratch_.data(), n);
    if (capture_) captured_.insert(captured_.end(), scratch_.begin(), scratch_.end());
    frames -= n;
  }
}

void Mixer::SetCapture(bool on) {
  std::lock_guard<std::mutex> guard(mutex_);
  AdvanceLocked();
  capture_ = on;
  captured_.clear();
}

std::vector<int16_t> Mixer::TakeCapture() {
  std::lock_guard<std::mutex> guard(mutex_);
  AdvanceLocked();
  std::vector<int16_t> taken;
  taken.swap(captured_);
  return taken;
}

void Mixer::LoseAllBuffers() {
  std::lock_guard<std::mutex> guard(mutex_);
  AdvanceLocked();
  for (SoundBuffer* buffer : buffers_) buffer->Lose();
}

void Mixer::FailRestores(uint32_t n) {
  std::lock_guard<std::mutex> guard(mutex_);
  restoreFailures_ = n;
}

}  // namespace platform
