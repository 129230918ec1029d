// Wave files made in memory for the sound tests, and written to a scratch folder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace wavetest {

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutId(std::vector<uint8_t>& out, const char* id) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(id[i]));
}

struct Pcm {
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint16_t bits = 16;
};

// The 16 common bytes of a format chunk.
inline std::vector<uint8_t> FormatBytes(const Pcm& pcm, uint16_t tag = 1) {
  std::vector<uint8_t> f;
  uint16_t align = static_cast<uint16_t>(pcm.channels * pcm.bits / 8);
  Put16(f, tag);
  Put16(f, pcm.channels);
  Put32(f, pcm.rate);
  Put32(f, pcm.rate * align);
  Put16(f, align);
  Put16(f, pcm.bits);
  return f;
}

inline void Chunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body,
                  int64_t claimedSize = -1) {
  PutId(out, id);
  Put32(out, claimedSize < 0 ? static_cast<uint32_t>(body.size())
                             : static_cast<uint32_t>(claimedSize));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() & 1) out.push_back(0);
}

// RIFF + "WAVE" around the given chunks.
inline std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks, const char* form = "WAVE",
                                 int64_t claimedSize = -1) {
  std::vector<uint8_t> out;
  PutId(out, "RIFF");
  Put32(out, claimedSize < 0 ? static_cast<uint32_t>(chunks.size() + 4)
                             : static_cast<uint32_t>(claimedSize));
  PutId(out, form);
  out.insert(out.end(), chunks.begin(), chunks.end());
  return out;
}

inline std::vector<uint8_t> Wave(const Pcm& pcm, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> chunks;
  Chunk(chunks, "fmt ", FormatBytes(pcm));
  Chunk(chunks, "data", data);
  return Riff(chunks);
}

// Bytes that never repeat within a short span, so misplaced bytes show.
inline std::vector<uint8_t> Pattern(size_t n, uint32_t seed = 1) {
  std::vector<uint8_t> out(n);
  uint32_t s = seed;
  for (auto& b : out) {
    s = s * 1103515245u + 12345u;
    b = static_cast<uint8_t>(s >> 16);
  }
  return out;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// A fresh scratch folder under the build tree for one test.
inline std::string ScratchDir(const std::string& name) {
  std::string dir = std::string(QUOR_BINARY_DIR) + "/test_scratch/" + name;
  std::error_code error;
  std::filesystem::remove_all(dir, error);
  std::filesystem::create_directories(dir, error);
  return dir;
}

}  // namespace wavetest
