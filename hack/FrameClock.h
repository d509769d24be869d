// The hack's frame cadence: frames on absolute deadlines a fixed period apart, so that the
// animation keeps its pace however long each frame took. Portable; times are nanoseconds of
// a monotonic clock.
#pragma once

#include <cstdint>

// The frame period: the Windows saver's 40 ms timer.
inline constexpr std::int64_t kFramePeriodNs = 40'000'000;

// The deadline after a frame that was due at `due` and has just been drawn at `now`: the
// first of due + period, due + 2 * period, ... that lies after now. A late frame thus moves
// on to the next deadline instead of drawing the missed ones in a burst.
std::int64_t NextFrameDeadline(std::int64_t due, std::int64_t now, std::int64_t periodNs);

// Milliseconds to wait from `now` until `deadline` for poll(): 0 when it has passed,
// rounded up so that the wait never ends before the deadline.
int MillisecondsUntil(std::int64_t deadline, std::int64_t now);
