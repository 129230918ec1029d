// What the system tells of a process, as /proc shows it.
#pragma once

#include <sys/types.h>

#include <cstdint>

namespace platform {

struct ProcessInfo {
  char state = 0;      // 'R', 'S'...; 'Z' or 'X' once it has ended
  pid_t parent = 0;
  uint64_t start = 0;  // when it started, in the system's ticks since boot
};

// False where there is no such process, or it may not be looked at.
bool ReadProcessInfo(pid_t pid, ProcessInfo& info);

}  // namespace platform
