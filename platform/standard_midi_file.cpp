#include "platform/standard_midi_file.h"

#include <cstring>
#include <utility>

namespace platform {

namespace {

uint32_t Be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// A chunk's data, found at `at`: false when its header or its data would leave the file.
bool ReadChunk(const std::vector<uint8_t>& b, size_t at, const char*& id, size_t& start,
               size_t& length) {
  if (at > b.size() || b.size() - at < 8) return false;
  id = reinterpret_cast<const char*>(&b[at]);
  length = Be32(&b[at + 4]);
  start = at + 8;
  return length <= b.size() - start;
}

// A variable-length quantity of at most four bytes, the most the format allows.
bool ReadQuantity(const uint8_t* p, size_t end, size_t& at, uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (at >= end) return false;
    uint8_t byte = p[at++];
    value = value << 7 | (byte & 0x7F);
    if (!(byte & 0x80)) return true;
  }
  return false;
}

bool IsWellFormedTrack(const uint8_t* p, size_t end) {
  size_t at = 0;
  uint8_t running = 0;
  while (at < end) {
    uint32_t delta = 0;
    if (!ReadQuantity(p, end, at, delta) || at >= end) return false;
    uint8_t status = p[at];
    if (status & 0x80) {
      ++at;
    } else if (running) {
      status = running;  // running status: the data starts here
    } else {
      return false;
    }
    if (status == 0xFF) {
      if (at >= end) return false;
      uint8_t type = p[at++];
      uint32_t length = 0;
      if (!ReadQuantity(p, end, at, length) || length > end - at) return false;
      at += length;
      running = 0;
      if (type == 0x2F) return true;  // the end of the track; what follows is never read
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      if (!ReadQuantity(p, end, at, length) || length > end - at) return false;
      at += length;
      running = 0;
    } else if (status > 0xF0) {
      return false;  // system common and real-time messages have no place in a file
    } else {
      const int data = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
      for (int i = 0; i < data; ++i)
        if (at >= end || (p[at++] & 0x80)) return false;
      running = status;
    }
  }
  return true;
}

}  // namespace

bool ReadStandardMidiFile(const std::vector<uint8_t>& b, std::vector<uint8_t>& playable) {
  playable.clear();
  const char* id = nullptr;
  size_t start = 0, length = 0;
  if (!ReadChunk(b, 0, id, start, length) || std::memcmp(id, "MThd", 4) != 0 || length < 6)
    return false;
  const uint16_t format = Be16(&b[start]);
  const uint16_t tracks = Be16(&b[start + 2]);
  const uint16_t division = Be16(&b[start + 4]);
  if (format > 2 || tracks == 0 || (format == 0 && tracks != 1)) return false;
  if (division & 0x8000) {
    // Frames a second (as a negative byte) and ticks a frame.
    const int frames = -static_cast<int8_t>(division >> 8);
    if ((frames != 24 && frames != 25 && frames != 29 && frames != 30) || (division & 0xFF) == 0)
      return false;
  } else if (division == 0) {
    return false;
  }
  std::vector<uint8_t> out(b.begin(), b.begin() + 14);
  out[7] = 6;  // a longer header's extra bytes stay behind
  size_t at = start + length;
  for (uint16_t found = 0; found < tracks;) {
    if (!ReadChunk(b, at, id, start, length)) return false;
    if (std::memcmp(id, "MTrk", 4) == 0) {
      if (!IsWellFormedTrack(b.data() + start, length)) return false;
      out.insert(out.end(), b.begin() + static_cast<long>(start - 8),
                 b.begin() + static_cast<long>(start + length));
      ++found;
    }
    // Chunks of other kinds are passed over, as the format asks of readers.
    at = start + length;
  }
  playable = std::move(out);
  return true;
}

}  // namespace platform
