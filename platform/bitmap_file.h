// Windows bitmap files (BMP of every depth, compressed or not) decoded into pictures.
// A damaged or truncated file fails cleanly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace platform {

// Decodes a BMP held in memory; false on a damaged file.
bool DecodeBmp(const std::vector<uint8_t>& bytes, Image& out);
// Reads and decodes the file at a Linux path; false when it cannot be read or decoded.
bool LoadBmpFile(const std::string& path, Image& out);
// Reads a whole file; false when it does not open.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace platform
