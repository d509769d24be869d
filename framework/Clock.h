// The program's clock: a monotonic count of nanoseconds, which frame deadlines are kept on.
// Portable declaration; one implementation per platform (Clock_posix.cpp, Clock_win32.cpp).
#pragma once

#include <cstdint>

// Nanoseconds since a moment fixed while the program runs; never goes back, and does not
// follow changes of the wall clock.
std::int64_t MonotonicNs();
