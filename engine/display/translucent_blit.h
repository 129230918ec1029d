// Mixing one surface into another pixel by pixel with a weight in percent for each side,
// leaving out source pixels of the source's colour key. Weights may sum above 100 to add
// light; each channel is clamped to its maximum.
#pragma once

#include <cstdint>

#include "engine/core/rect.h"
#include "platform/surface.h"

namespace quor {

// Mixes source's rectangle (all of it for null) into destination with its top-left corner
// at (x, y), clipped to both surfaces. Returns 0, the code of a failed lock, or E_FAIL
// (0x80004005) for a depth other than 8, 16, 24 and 32 bits or two different formats.
// Both surfaces are unlocked again on every path.
uint32_t TranslucentBlit(platform::Surface* destination, int32_t x, int32_t y, int32_t destinationWeight,
                         platform::Surface* source, const Rect* sourceRect, int32_t sourceWeight,
                         bool useColorKey);

}  // namespace quor
