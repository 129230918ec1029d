#include "engine/sound_input/sound_base.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/sound_input/saved_name.h"
#include "engine/sound_input/sound_device.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/mixer.h"

namespace quor {

namespace {

// A saved record keeps 31 characters of a path. When that no longer names a file, the one
// file of its folder whose name starts with those characters is the sound that was saved.
std::string FindSavedWavePath(const std::string& saved) {
  if (saved.size() < kSavedNameLength || platform::FileExists(saved)) return saved;
  size_t cut = saved.find_last_of("\\/");
  std::string folder = cut == std::string::npos ? "." : saved.substr(0, cut);
  std::string stem = cut == std::string::npos ? saved : saved.substr(cut + 1);
  std::error_code error;
  std::filesystem::directory_iterator it(platform::MapPath(folder), error), end;
  std::string found;
  int matches = 0;
  for (; !error && it != end; it.increment(error)) {
    std::string entry = it->path().filename().string();
    if (entry.size() >= stem.size() && strncasecmp(entry.c_str(), stem.c_str(), stem.size()) == 0) {
      found = entry;
      ++matches;
    }
  }
  if (matches != 1) return saved;
  return cut == std::string::npos ? found : saved.substr(0, cut + 1) + found;
}

}  // namespace

bool OpenWaveFile(const std::string& path, platform::WaveFile& file,
                  platform::WaveFormat& format, platform::WaveChunk& riff) {
  if (!file.Open(path)) return false;
  if (!platform::ReadWaveHeader(file, riff, format)) {
    file.Close();
    return false;
  }
  return true;
}

SoundBase::SoundBase() = default;

SoundBase::SoundBase(const char* name_, const char* path, uint32_t looping_, uint8_t streamed_)
    : streamed(streamed_ ? 1 : 0), name(name_ ? name_ : ""), file(path ? path : "") {
  looping = looping_ ? 1 : 0;
  OpenWave(file);
  Rewind();
  CreateBuffer();
  Rewind();
  RestoreBuffer();
  FillBuffer();
}

SoundBase::~SoundBase() {
  if (buffer && IsPlaying()) buffer->Stop();
  buffer.reset();
  CloseWave();
  format.reset();
}

bool SoundBase::OpenWave(const std::string& path) {
  CloseWave();
  auto opened = std::make_unique<platform::WaveFile>();
  platform::WaveFormat read;
  if (!OpenWaveFile(path, *opened, read, riffChunk)) return false;
  waveFile = std::move(opened);
  format = std::make_unique<platform::WaveFormat>(std::move(read));
  return Rewind();
}

bool SoundBase::Rewind() {
  bytesStreamed = 0;
  // A file without its data chunk reads as empty.
  dataChunk = platform::WaveChunk();
  if (!waveFile) return false;
  return platform::StartWaveDataRead(*waveFile, dataChunk, riffChunk);
}

bool SoundBase::ReadData(uint32_t count, uint8_t* destination, uint32_t* read) {
  uint32_t got = 0;
  bool ok = waveFile && platform::ReadWaveData(*waveFile, count, destination, dataChunk, got);
  if (read) *read = got;
  return ok;
}

bool SoundBase::SkipData(uint32_t count) {
  return waveFile && platform::SkipWaveData(*waveFile, count, dataChunk);
}

void SoundBase::CloseWave() {
  if (waveFile) waveFile->Close();
  waveFile.reset();
}

void SoundBase::CreateBuffer() {
  buffer.reset();
  bufferFlags = streamed ? kStreamedBufferFlags : kStaticBufferFlags;
  // A sound whose header could not be read, or whose file holds no data, gets no buffer
  // and stays silent. (The rewind before this found the data chunk whole.)
  if (!format || dataChunk.size == 0) return;
  uint64_t bytes = streamed ? uint64_t{2} * format->averageBytesPerSecond : dataChunk.size;
  GetSoundDevice();
  platform::Mixer* mixer = GetDirectSound();
  if (!mixer || bytes > platform::Mixer::kMaxBufferBytes) return;
  buffer = mixer->CreateBuffer(*format, static_cast<uint32_t>(bytes));
}

bool SoundBase::IsPlaying() {
  if (!buffer) return false;
  uint32_t status = 0;
  if (buffer->GetStatus(status) != platform::SoundResult::Ok) return false;
  return (status & platform::kSoundPlaying) != 0;
}

bool SoundBase::IsBufferLost() {
  if (!buffer) return true;
  uint32_t status = 0;
  if (buffer->GetStatus(status) != platform::SoundResult::Ok) return true;
  return (status & platform::kSoundBufferLost) != 0;
}

void SoundBase::Pause() {
  if (!IsPlaying()) return;
  buffer->GetCurrentPosition(resumePosition);
  buffer->Stop();
}

void SoundBase::PlayAsLoaded(bool wasPlaying) {
  if (!wasPlaying && !paused) return;
  if (Paused) {
    paused = 1;
    return;
  }
  paused = 0;
  Play();
}

void SoundBase::SetVolume(int32_t hundredths) {
  if (!buffer) return;
  volume = std::clamp(hundredths, platform::kSilentVolume, 0);
  buffer->SetVolume(volume);
}

void SoundBase::SetPan(int32_t value) {
  if (!buffer) return;
  pan = std::clamp(value, platform::kFullPanLeft, platform::kFullPanRight);
  buffer->SetPan(pan);
}

void SoundBase::FillBuffer() {
  if (!buffer) return;
  uint8_t* region = nullptr;
  uint32_t length = 0;
  uint8_t* second = nullptr;
  uint32_t secondLength = 0;
  if (buffer->Lock(0, buffer->Bytes(), true, &region, &length, &second, &secondLength) !=
      platform::SoundResult::Ok)
    return;
  std::memset(region, SilenceByte(), length);
  uint32_t read = 0;
  ReadData(length, region, &read);
  buffer->Unlock();
}

bool SoundBase::RestoreBuffer() {
  if (!buffer) return false;
  uint32_t status = 0;
  if (buffer->GetStatus(status) != platform::SoundResult::Ok) return false;
  if (!(status & platform::kSoundBufferLost)) return true;
  // The output may never come back; a sound then stays silent rather than hang the game.
  for (int attempt = 0; attempt < kRestoreAttempts; ++attempt) {
    if (attempt > 0) platform::CurrentHost().Sleep(10);
    if (buffer->Restore() == platform::SoundResult::Ok) return true;
  }
  return false;
}

void SoundBase::Save(ObjectStream& stream) {
  WriteFixedName(stream, name);
  WriteFixedName(stream, file);
  stream.WriteLong(volume);
  stream.WriteLong(pan);
  stream.WriteLong(bytesStreamed);
  stream.WriteLong(id);
  stream.WriteLong(resumePosition);
  stream.WriteByte(looping);
  stream.WriteByte(paused);
  stream.WriteByte(streamed);
}

void SoundBase::Load(ObjectStream& stream) {
  std::string readName = ReadFixedName(stream);
  std::string readFile = ReadFixedName(stream);
  int32_t readVolume = 0, readPan = 0;
  uint32_t readStreamed = 0, readId = 0, readResume = 0;
  uint8_t readLooping = 0, readPaused = 0, readKind = 0;
  stream.ReadLong(&readVolume);
  stream.ReadLong(&readPan);
  stream.ReadLong(&readStreamed);
  stream.ReadLong(&readId);
  stream.ReadLong(&readResume);
  stream.ReadByte(&readLooping);
  stream.ReadByte(&readPaused);
  stream.ReadByte(&readKind);
  if (!stream.Good()) return;
  name = readName;
  file = FindSavedWavePath(readFile);
  volume = std::clamp(readVolume, platform::kSilentVolume, 0);
  pan = std::clamp(readPan, platform::kFullPanLeft, platform::kFullPanRight);
  id = readId;
  resumePosition = readResume;
  looping = readLooping ? 1 : 0;
  paused = readPaused ? 1 : 0;
  streamed = readKind ? 1 : 0;

  OpenWave(file);
  Rewind();
  CreateBuffer();
  Rewind();
  if (readStreamed != 0) SkipData(readStreamed);
  RestoreBuffer();
  FillBuffer();
  SetVolume(volume);
  SetPan(pan);
}

}  // namespace quor
