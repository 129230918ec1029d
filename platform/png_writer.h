// Pictures written as PNG files (8-bit RGB), for looking at frames without a display.
#pragma once

#include <string>

#include "platform/surface.h"

namespace platform {

// Writes the picture; false when the file cannot be written.
bool WritePng(const std::string& path, const Image& image);

}  // namespace platform
