#include "platform/wave_file.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"

namespace platform {

namespace {

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

bool WaveFormat::IsPlayablePcm() const {
  if (formatTag != kPcm) return false;
  if (channels != 1 && channels != 2) return false;
  if (bitsPerSample != 8 && bitsPerSample != 16) return false;
  if (samplesPerSecond < 100 || samplesPerSecond > 200000) return false;
  if (blockAlign != channels * bitsPerSample / 8) return false;
  return averageBytesPerSecond == samplesPerSecond * blockAlign;
}

WaveFile::~WaveFile() { Close(); }

bool WaveFile::Open(const std::string& path) {
  Close();
  // Chunk sizes are 32 bits: no wave file is larger than its outer chunk's 4 GiB and header.
  file_ = OpenFileForReading(path, uint64_t{0xFFFFFFFF} + 8);
  if (!file_) return false;
  if (std::fseek(file_, 0, SEEK_END) != 0) {
    Close();
    return false;
  }
  long end = std::ftell(file_);
  if (end < 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
    Close();
    return false;
  }
  size_ = static_cast<uint64_t>(end);
  position_ = 0;
  return true;
}

void WaveFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  size_ = 0;
  position_ = 0;
}

bool WaveFile::Seek(uint64_t offset) {
  if (!file_ || offset > size_) return false;
  if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  position_ = offset;
  return true;
}

size_t WaveFile::Read(void* destination, size_t n) {
  if (!file_) return 0;
  size_t got = std::fread(destination, 1, n, file_);
  position_ += got;
  return got;
}

bool WaveFile::Descend(WaveChunk& chunk) {
  uint8_t header[8];
  if (Read(header, 8) != 8) return false;
  WaveChunk found;
  found.id = Le32(header);
  found.size = Le32(header + 4);
  found.dataOffset = static_cast<uint32_t>(position_);
  // A chunk never reaches past the file, whatever its header claims.
  uint64_t room = size_ - position_;
  if (found.size > room) found.size = static_cast<uint32_t>(room);
  if (found.id == FourCC('R', 'I', 'F', 'F') || found.id == FourCC('L', 'I', 'S', 'T')) {
    uint8_t form[4];
    if (found.size < 4 || Read(form, 4) != 4) return false;
    found.formType = Le32(form);
  }
  chunk = found;
  return true;
}

bool WaveFile::DescendTo(uint32_t id, const WaveChunk* parent, WaveChunk& chunk) {
  uint64_t end = size_;
  if (parent) end = std::min<uint64_t>(end, uint64_t{parent->dataOffset} + parent->size);
  while (position_ + 8 <= end) {
    WaveChunk found;
    if (!Descend(found)) return false;
    if (found.id == id) {
      chunk = found;
      return true;
    }
    if (!Ascend(found)) return false;
  }
  return false;
}

bool WaveFile::Ascend(const WaveChunk& chunk) {
  uint64_t end = uint64_t{chunk.dataOffset} + chunk.size + (chunk.size & 1);
  return Seek(std::min(end, size_));
}

bool ReadWaveHeader(WaveFile& file, WaveChunk& riff, WaveFormat& format) {
  format = WaveFormat();
  if (!file.Seek(0)) return false;
  WaveChunk outer;
  if (!file.Descend(outer)) return false;
  if (outer.id != FourCC('R', 'I', 'F', 'F') || outer.formType != FourCC('W', 'A', 'V', 'E'))
    return false;
  WaveChunk fmt;
  if (!file.DescendTo(FourCC('f', 'm', 't', ' '), &outer, fmt)) return false;
  if (fmt.size < 16) return false;
  uint8_t common[16];
  if (file.Read(common, 16) != 16) return false;
  WaveFormat read;
  read.formatTag = Le16(common);
  read.channels = Le16(common + 2);
  read.samplesPerSecond = Le32(common + 4);
  read.averageBytesPerSecond = Le32(common + 8);
  read.blockAlign = Le16(common + 12);
  read.bitsPerSample = Le16(common + 14);
  if (read.formatTag != WaveFormat::kPcm) {
    uint8_t extraSize[2];
    if (file.Read(extraSize, 2) != 2) return false;
    uint16_t n = Le16(extraSize);
    // The extra bytes belong to the chunk; a size that leaves it is a broken header.
    if (uint32_t{18} + n > fmt.size) return false;
    read.extra.resize(n);
    if (n && file.Read(read.extra.data(), n) != n) return false;
  }
  if (!file.Ascend(fmt)) return false;
  riff = outer;
  format = std::move(read);
  return true;
}

bool StartWaveDataRead(WaveFile& file, WaveChunk& data, const WaveChunk& riff) {
  if (!file.Seek(uint64_t{riff.dataOffset} + 4)) return false;
  return file.DescendTo(FourCC('d', 'a', 't', 'a'), &riff, data);
}

bool ReadWaveData(WaveFile& file, uint32_t n, uint8_t* destination, WaveChunk& data,
                  uint32_t& read) {
  read = 0;
  uint32_t k = std::min(n, data.size);
  data.size -= k;
  size_t got = k ? file.Read(destination, k) : 0;
  read = static_cast<uint32_t>(got);
  return got == k;
}

bool SkipWaveData(WaveFile& file, uint32_t n, WaveChunk& data) {
  uint32_t k = std::min(n, data.size);
  data.size -= k;
  return file.Seek(file.Position() + k);
}

}  // namespace platform
