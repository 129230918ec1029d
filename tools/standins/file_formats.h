// The two file formats the game reads its art and sound from, written plainly: bitmaps as
// uncompressed 24-bit BMP, sounds as 44100 Hz 16-bit stereo PCM wave files.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/surface.h"

namespace standins {

constexpr int kSampleRate = 44100;

std::vector<uint8_t> EncodeBmp(const platform::Image& image);
// One sample per frame, the same on both channels, each clamped to -1..1.
std::vector<uint8_t> EncodeWave(const std::vector<float>& samples);

}  // namespace standins
