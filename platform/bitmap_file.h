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
// Reads (as ReadWholeFile does) and decodes the file; false when it cannot be read or
// decoded.
bool LoadBmpFile(const std::string& name, Image& out);

}  // namespace platform
