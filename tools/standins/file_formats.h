// The two file formats the game reads its art and sound from, written plainly: bitmaps as
// uncompressed 24-bit BMP, sounds as 44100 Hz 16-bit stereo PCM wave files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace standins {

constexpr int kSampleRate = 44100;

// A 64-bit fingerprint of bytes (FNV-1a): tells files apart, and seeds what a name varies.
uint64_t Fingerprint(const uint8_t* bytes, size_t n);
inline uint64_t Fingerprint(const std::vector<uint8_t>& bytes) {
  return Fingerprint(bytes.data(), bytes.size());
}
inline uint64_t Fingerprint(const std::string& text) {
  return Fingerprint(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::vector<uint8_t> EncodeBmp(const platform::Image& image);
// One sample per frame, the same on both channels, each clamped to -1..1.
std::vector<uint8_t> EncodeWave(const std::vector<float>& samples);

}  // namespace standins
