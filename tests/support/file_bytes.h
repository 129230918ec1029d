// Little-endian bytes for files made in memory, and whole files written, read and measured
// by a test.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

inline void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}

inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// Writes the bytes as the whole file at path (nothing when it cannot be made).
inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// The whole file at path; empty when it cannot be opened.
inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  uint8_t buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return bytes;
}

// Copies the whole file at from over the one at to: whether to holds its bytes now.
inline bool CopyBytes(const std::string& from, const std::string& to) {
  const std::vector<uint8_t> bytes = ReadBytes(from);
  WriteBytes(to, bytes);
  return !bytes.empty() && ReadBytes(to) == bytes;
}

// The size in bytes of the file at path, -1 when it cannot be opened.
inline long FileSize(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  std::fseek(f, 0, SEEK_END);
  long size = std::ftell(f);
  std::fclose(f);
  return size;
}

}  // namespace testing_support
