// The POSIX clock for Clock.h: CLOCK_MONOTONIC.
#include "framework/Clock.h"

#include <time.h>

std::int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}
