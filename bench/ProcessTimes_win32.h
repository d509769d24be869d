// Kernel plus user time of a Windows process, in milliseconds, as the system counts it (under
// Wine: only the threads Wine made). 0 when it cannot be read.
#pragma once

#include <windows.h>

inline double ProcessCpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  auto ms = [](FILETIME t) {
    ULARGE_INTEGER value;
    value.LowPart = t.dwLowDateTime;
    value.HighPart = t.dwHighDateTime;
    return value.QuadPart / 10000.0;
  };
  return ms(kernel) + ms(user);
}
