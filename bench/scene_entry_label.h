// The verdict printed beside a scene's entry: it must fit in one frame of the 16 ms budget
// and cost at most kEntryFloorBound times the floor, SDL's own loading of the same bitmaps.
#pragma once

#include <string>

namespace bench {

constexpr double kEntryFrameMs = 16.0;
constexpr double kEntryFloorBound = 1.5;

// "within one frame and 1.5 x floor" when both bounds hold, else "OVER" and each bound the
// entry breaks.
inline std::string EntryLabel(double enterMs, double floorMs) {
  const bool frame = enterMs <= kEntryFrameMs, floor = enterMs <= kEntryFloorBound * floorMs;
  if (frame && floor) return "within one frame and 1.5 x floor";
  if (!frame && !floor) return "OVER one frame and 1.5 x floor";
  return frame ? "OVER 1.5 x floor" : "OVER one frame";
}

}  // namespace bench
