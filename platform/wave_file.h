// RIFF wave files read chunk by chunk. Every length in the file is checked against the
// file itself: a chunk that claims more bytes than the file holds is cut to the file, and
// nothing is ever read past its end. Bad input fails cleanly, never by a crash.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// A chunk as the walker found it: its id, its size (for the data chunk: the bytes not yet
// read), the form type of a RIFF chunk and the file offset of its first data byte.
struct WaveChunk {
  uint32_t id = 0;
  uint32_t size = 0;
  uint32_t formType = 0;
  uint32_t dataOffset = 0;
};

// The format block of a wave file: the 16 common bytes and the extra bytes that follow
// for formats other than PCM.
struct WaveFormat {
  static constexpr uint16_t kPcm = 1;

  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t averageBytesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  std::vector<uint8_t> extra;

  // True for PCM of 8 or 16 bits, one or two channels, a usable rate, and a block size and
  // byte rate that agree with them: the formats the mixer plays.
  bool IsPlayablePcm() const;
};

constexpr uint32_t FourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
         static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

// An open file with a position, walked by chunks.
class WaveFile {
 public:
  WaveFile() = default;
  WaveFile(const WaveFile&) = delete;
  WaveFile& operator=(const WaveFile&) = delete;
  ~WaveFile();

  // Opens a Windows-style or Linux path for reading, as OpenFileForReading does; a file
  // larger than any wave file can be is refused as a missing one is.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  uint64_t Size() const { return size_; }

  // Moves to an offset inside the file; false past its end.
  bool Seek(uint64_t offset);
  uint64_t Position() const { return position_; }
  // Reads up to n bytes; the count read (short only at the end of the file or on an error).
  size_t Read(void* destination, size_t n);

  // Reads the chunk header at the current position (and a RIFF chunk's form type); the
  // position is then at the chunk's data (after the form type for RIFF).
  bool Descend(WaveChunk& chunk);
  // Searches from the current position, inside parent when given, for the chunk with this
  // id; the position is then at its data.
  bool DescendTo(uint32_t id, const WaveChunk* parent, WaveChunk& chunk);
  // Moves past the end of the chunk (and its pad byte).
  bool Ascend(const WaveChunk& chunk);

 private:
  std::FILE* file_ = nullptr;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
};

// The outer "RIFF"/"WAVE" chunk and the format block; false for anything else.
bool ReadWaveHeader(WaveFile& file, WaveChunk& riff, WaveFormat& format);
// Places the file at the start of the "data" chunk inside riff.
bool StartWaveDataRead(WaveFile& file, WaveChunk& data, const WaveChunk& riff);
// Reads min(n, data.size) bytes, lowering data.size by that many; read is the count copied.
bool ReadWaveData(WaveFile& file, uint32_t n, uint8_t* destination, WaveChunk& data,
                  uint32_t& read);
// The same walk without copying.
bool SkipWaveData(WaveFile& file, uint32_t n, WaveChunk& data);

}  // namespace platform
