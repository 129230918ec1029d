#include "tools/standins/file_formats.h"

#include <algorithm>
#include <cmath>

namespace standins {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutId(std::vector<uint8_t>& out, const char* id) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(id[i]));
}

}  // namespace

uint64_t Fingerprint(const uint8_t* bytes, size_t n) {
  uint64_t h = 1469598103934665603ull;
  for (size_t i = 0; i < n; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
  return h;
}

std::vector<uint8_t> EncodeBmp(const platform::Image& image) {
  const uint32_t rowBytes = (uint32_t(image.width) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * uint32_t(image.height);
  std::vector<uint8_t> out;
  out.reserve(54 + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + pixelBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, uint32_t(image.width));
  Put32(out, uint32_t(image.height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, pixelBytes);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  // Rows from the bottom up, each pixel blue, green, red.
  for (int y = image.height - 1; y >= 0; --y) {
    const size_t start = out.size();
    for (int x = 0; x < image.width; ++x) {
      const uint32_t c = image.At(x, y);
      out.push_back(platform::BlueOf(c));
      out.push_back(platform::GreenOf(c));
      out.push_back(platform::RedOf(c));
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
}

std::vector<uint8_t> EncodeWave(const std::vector<float>& samples) {
  const uint32_t dataBytes = uint32_t(samples.size()) * 4;
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutId(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 2);
  Put32(out, kSampleRate);
  Put32(out, kSampleRate * 4);
  Put16(out, 4);
  Put16(out, 16);
  PutId(out, "data");
  Put32(out, dataBytes);
  for (float s : samples) {
    const auto value = static_cast<int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
    Put16(out, uint16_t(value));
    Put16(out, uint16_t(value));
  }
  return out;
}

}  // namespace standins
