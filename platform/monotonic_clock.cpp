#include "platform/monotonic_clock.h"

#include <sys/prctl.h>

#include <cerrno>
#include <ctime>

namespace platform {

namespace {
constexpr uint64_t kNanosPerMilli = 1000000;
}

MonotonicClock::MonotonicClock() : origin_(Now()) {}

uint64_t MonotonicClock::Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return uint64_t(t.tv_sec) * 1000000000u + uint64_t(t.tv_nsec);
}

uint32_t MonotonicClock::Milliseconds() const {
  return uint32_t((Now() - origin_) / kNanosPerMilli);
}

void MonotonicClock::SleepUntil(uint32_t deadline) const {
  uint64_t sinceOrigin = (Now() - origin_) / kNanosPerMilli;
  int32_t ahead = int32_t(deadline - uint32_t(sinceOrigin));
  if (ahead <= 0) return;
  // The instant the clock turns to the deadline, on the same system clock it is read from,
  // so waking there reads exactly the deadline.
  uint64_t target = origin_ + (sinceOrigin + uint64_t(ahead)) * kNanosPerMilli;
  // The kernel may otherwise let a sleep run 50 us past its time to group wake-ups; a frame
  // wants its deadline. The slack belongs to the calling thread, so it is set here.
  prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
  timespec at{};
  at.tv_sec = time_t(target / 1000000000u);
  at.tv_nsec = long(target % 1000000000u);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
  }
}

}  // namespace platform
