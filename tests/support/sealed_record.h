// The text of a save's record of the present shape, as a hostile hand (or a benchmark) may write
// one: its lines sealed with the checksum a record carries, and a file told by its bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace testing_support {

// The checksum of a record's lines, and of a file's bytes in a record's lines.
inline uint64_t RecordSum(const std::string& bytes) {
  uint64_t sum = 0xcbf29ce484222325u;
  for (size_t at = 0; at < bytes.size(); at += 8, sum ^= sum >> 29) {
    uint64_t word = 0;
    const size_t part = std::min<size_t>(bytes.size() - at, 8);
    std::memcpy(&word, bytes.data() + at, part);
    sum = (sum ^ word ^ part) * 0x9e3779b97f4a7c15u;
  }
  return sum;
}

inline std::string SealedRecord(const std::string& lines) {
  return "quor-save-record 5 " + std::to_string(RecordSum(lines)) + "\n" + lines;
}

// A file of these bytes, as a line of a record tells it.
inline std::string FilePrint(const std::string& bytes) {
  return "f " + std::to_string(bytes.size()) + " " + std::to_string(RecordSum(bytes)) + " 0 0";
}

}  // namespace testing_support
