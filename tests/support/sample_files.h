// Small real files made in memory: bitmaps, wave files and a MIDI file (file_bytes.h writes
// and reads them).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/surface.h"
#include "tests/support/file_bytes.h"

namespace testing_support {

inline void WriteBitmap(const std::string& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_BGR24);
  SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
  SDL_SaveBMP(s, path.c_str());
  SDL_FreeSurface(s);
}

// A PCM wave of a rising tone: frames samples per channel.
inline std::vector<uint8_t> ToneWave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames) {
  uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  std::vector<uint8_t> data;
  for (uint32_t i = 0; i < frames * channels; ++i) {
    uint32_t v = (i * 37u) & 0xFF;
    if (bits == 8) {
      data.push_back(static_cast<uint8_t>(v));
    } else {
      Put16(data, (v << 8) ^ 0x8000u);
    }
  }
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  Put32(out, static_cast<uint32_t>(4 + 8 + 16 + 8 + data.size()));
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, channels);
  Put32(out, rate);
  Put32(out, rate * align);
  Put16(out, align);
  Put16(out, bits);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// One piano note held for four beats (two seconds at the default tempo), 96 ticks a beat.
inline std::vector<uint8_t> TinyMidi() {
  std::vector<uint8_t> track = {0x00, 0xC0, 0x00,                    // program 0
                                0x00, 0x90, 0x3C, 0x64,              // note on
                                0x83, 0x00, 0x80, 0x3C, 0x40,        // 384 ticks later off
                                0x00, 0xFF, 0x2F, 0x00};             // end of track
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                              'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(track.size())};
  for (uint8_t byte : track) out.push_back(byte);
  return out;
}

// The four colours every depth can hold exactly.
constexpr uint32_t kColors[4] = {0x000000, 0xFFFFFF, 0x0000FF, 0xFF0000};

inline platform::Image TestPicture(int colors) {
  platform::Image img;
  img.width = 5;
  img.height = 3;
  for (int i = 0; i < 15; ++i) img.colors.push_back(kColors[(i * 7 + i / 5) % colors]);
  return img;
}

// The colour's index in kColors; 0 for any other colour.
inline int ColorIndex(uint32_t c) {
  for (int i = 0; i < 4; ++i)
    if (kColors[i] == c) return i;
  return 0;
}

// A BMP's file and information headers and its palette of `colors` entries (kColors, then
// a filler), for pixel data of `dataSize` bytes that follows them.
inline std::vector<uint8_t> BmpHead(const platform::Image& img, int bits, uint32_t compression,
                                    uint32_t dataSize, uint32_t clrUsed, int colors) {
  uint32_t offBits = 14 + 40 + 4 * uint32_t(colors);
  std::vector<uint8_t> b{'B', 'M'};
  Put32(b, offBits + dataSize);
  Put32(b, 0);
  Put32(b, offBits);
  Put32(b, 40);
  Put32(b, uint32_t(img.width));
  Put32(b, uint32_t(img.height));
  Put16(b, 1);
  Put16(b, uint16_t(bits));
  Put32(b, compression);
  Put32(b, dataSize);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, clrUsed);
  Put32(b, 0);
  for (int i = 0; i < colors; ++i) {
    uint32_t c = i < 4 ? kColors[i] : 0x102030;
    b.push_back(platform::BlueOf(c));
    b.push_back(platform::GreenOf(c));
    b.push_back(platform::RedOf(c));
    b.push_back(0);
  }
  return b;
}

// A bottom-up BMP of the picture at the depth (16 bits is 5-5-5), palette from kColors.
inline std::vector<uint8_t> EncodeBmp(const platform::Image& img, int bits, uint32_t clrUsed = 0) {
  int colors = bits <= 8 ? (clrUsed ? int(clrUsed) : 1 << bits) : 0;
  int stride = ((img.width * bits + 31) / 32) * 4;
  std::vector<uint8_t> b = BmpHead(img, bits, 0, uint32_t(stride * img.height), clrUsed, colors);
  for (int y = img.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(size_t(stride), 0);
    for (int x = 0; x < img.width; ++x) {
      uint32_t c = img.At(x, y);
      uint8_t r = platform::RedOf(c), g = platform::GreenOf(c), bl = platform::BlueOf(c);
      switch (bits) {
        case 1: row[x / 8] |= uint8_t(ColorIndex(c) << (7 - x % 8)); break;
        case 4: row[x / 2] |= uint8_t(ColorIndex(c) << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = uint8_t(ColorIndex(c)); break;
        case 16: {
          uint16_t v = uint16_t(((r >> 3) << 10) | ((g >> 3) << 5) | (bl >> 3));
          row[2 * x] = uint8_t(v);
          row[2 * x + 1] = uint8_t(v >> 8);
          break;
        }
        case 24: row[3 * x] = bl, row[3 * x + 1] = g, row[3 * x + 2] = r; break;
        case 32: row[4 * x] = bl, row[4 * x + 1] = g, row[4 * x + 2] = r, row[4 * x + 3] = 0; break;
      }
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return b;
}

// A run-length BMP (8 bits: compression 1, 4 bits: compression 2) of a picture of the four
// colours, each row as runs of equal indices and an end-of-line mark, then end of bitmap.
inline std::vector<uint8_t> EncodeRleBmp(const platform::Image& img, int bits) {
  std::vector<uint8_t> data;
  for (int y = img.height - 1; y >= 0; --y) {
    for (int x = 0; x < img.width;) {
      int i = ColorIndex(img.At(x, y)), run = 1;
      while (x + run < img.width && run < 255 && ColorIndex(img.At(x + run, y)) == i) ++run;
      data.push_back(uint8_t(run));
      data.push_back(uint8_t(bits == 8 ? i : (i << 4) | i));
      x += run;
    }
    data.push_back(0);
    data.push_back(0);
  }
  data.push_back(0);
  data.push_back(1);
  std::vector<uint8_t> b =
      BmpHead(img, bits, bits == 8 ? 1 : 2, uint32_t(data.size()), 0, 1 << bits);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

}  // namespace testing_support
