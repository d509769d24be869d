// The Win32 clock for Clock.h: the performance counter.
#include "framework/Clock.h"

#include <windows.h>

std::int64_t MonotonicNs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER count{};
  // Neither fails since Windows XP.
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  // Whole seconds and the rest apart, so that the product cannot overflow.
  const std::int64_t perSecond = frequency.QuadPart;
  return count.QuadPart / perSecond * 1'000'000'000 +
         count.QuadPart % perSecond * 1'000'000'000 / perSecond;
}
