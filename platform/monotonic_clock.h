// A millisecond clock that never steps back, and a sleep to an instant of that same clock,
// so a wait ends at its deadline without polling.
#pragma once

#include <cstdint>

namespace platform {

class MonotonicClock {
 public:
  // Counting starts at 0 now.
  MonotonicClock();
  // Whole milliseconds since construction, wrapping at 2^32.
  uint32_t Milliseconds() const;
  // Returns once Milliseconds() has reached deadline, sleeping until then; a deadline that
  // has passed (up to half the clock's range ago) returns at once.
  void SleepUntil(uint32_t deadline) const;

 private:
  // Nanoseconds of the system's monotonic clock since its own origin.
  static uint64_t Now();
  uint64_t origin_;
};

}  // namespace platform
