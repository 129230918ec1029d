// Sounds and music keep their names and paths as strings, but their saved records hold
// them in 32-byte fields.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/core/object_stream.h"

namespace quor {

// The longest text a saved name field holds before its terminator.
constexpr size_t kSavedNameLength = 31;

// Writes the first 31 characters, zero-padded to 32 bytes.
inline void WriteFixedName(ObjectStream& stream, const std::string& value) {
  char fixed[32] = {};
  std::memcpy(fixed, value.data(), std::min(value.size(), kSavedNameLength));
  stream.WriteName(fixed);
}

// The name read from a 32-byte field; empty when the read fails.
inline std::string ReadFixedName(ObjectStream& stream) {
  char fixed[32] = {};
  stream.ReadName(fixed);
  fixed[31] = 0;
  return fixed;
}

}  // namespace quor
