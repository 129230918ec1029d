// A wave sound of a scene: one sound buffer filled from a RIFF wave file that stays open
// for the sound's whole life. Static sounds hold the whole data chunk; streamed ones hold
// two seconds and are refilled while they play. Without a readable file a sound has no
// buffer, and then every operation on it does nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/class_record.h"
#include "engine/core/node.h"
#include "platform/sound_buffer.h"
#include "platform/wave_file.h"

namespace quor {

// Opens path and reads its header; the file is left closed on failure.
bool OpenWaveFile(const std::string& path, platform::WaveFile& file,
                  platform::WaveFormat& format, platform::WaveChunk& riff);

class SoundBase : public Node {
 public:
  // Buffer kinds, as the buffer description records them.
  static constexpr uint32_t kStaticBufferFlags = 0x500C2;
  static constexpr uint32_t kStreamedBufferFlags = 0x100C0;
  // How often a lost buffer is asked back (10 ms apart) before the sound gives up.
  static constexpr int kRestoreAttempts = 50;

  SoundBase();
  SoundBase(const char* name, const char* path, uint32_t looping, uint8_t streamed);
  SoundBase(const SoundBase&) = delete;
  SoundBase& operator=(const SoundBase&) = delete;
  ~SoundBase() override;

  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return SoundBaseClassRecord; }
  virtual void Play() {}
  virtual void Stop() {}

  // Opens the file and reads its header, then rewinds to the data.
  bool OpenWave(const std::string& path);
  // Back to the first data byte; bytes streamed = 0.
  bool Rewind();
  bool ReadData(uint32_t count, uint8_t* destination, uint32_t* read);
  bool SkipData(uint32_t count);
  void CloseWave();

  bool IsPlaying();
  // True without a buffer.
  bool IsBufferLost();
  // Stops a playing buffer, keeping its cursor as the resume position.
  void Pause();
  // A loaded sound that its saved game had playing, or had paused with the game: plays, or
  // in a paused game waits with the other sounds for the pause to end.
  void PlayAsLoaded(bool wasPlaying);
  void SetVolume(int32_t hundredths);
  void SetPan(int32_t pan);
  // Silence over the whole buffer, then data from the file's present position.
  void FillBuffer();
  // Gives a lost buffer back (not its contents); false without a buffer or when the output
  // stays taken.
  bool RestoreBuffer();
  void SetId(uint32_t value) { id = value; }
  const char* GetName() const { return name.c_str(); }
  const std::string& GetFile() const { return file; }
  platform::SoundBuffer* GetBuffer() const { return buffer.get(); }
  uint32_t GetBufferBytes() const { return buffer ? buffer->Bytes() : 0; }
  uint8_t SilenceByte() const { return format && format->bitsPerSample == 8 ? 0x80 : 0; }

  // --- fields, in the order they are documented ---
  std::unique_ptr<platform::WaveFormat> format;
  std::unique_ptr<platform::WaveFile> waveFile;
  platform::WaveChunk dataChunk;
  platform::WaveChunk riffChunk;
  uint8_t streamed = 0;
  uint8_t paused = 0;
  uint32_t id = 0;
  // Held whole (wave paths run longer than the 31 characters that a saved record keeps).
  std::string name;
  std::string file;
  std::unique_ptr<platform::SoundBuffer> buffer;
  uint32_t bufferFlags = 0;
  uint32_t resumePosition = 0;
  uint8_t looping = 0;
  int32_t volume = 0;
  int32_t pan = 0;
  uint32_t bytesStreamed = 0;

 protected:
  // Makes the buffer by the kind of sound: the data chunk's size, or two seconds.
  void CreateBuffer();
};

}  // namespace quor
