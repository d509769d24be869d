// Which monitors a full-screen window leaves uncovered: portable arithmetic on monitor
// rectangles (virtual-screen pixels, which may be negative left of or above the primary).
#pragma once

#include <vector>

struct MonitorRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const MonitorRect&) const = default;
};

// The rectangles of `monitors` other than `covered`, in the order given, each once: mirrored
// monitors that share a rectangle need one window, and empty rectangles none.
std::vector<MonitorRect> UncoveredMonitors(const std::vector<MonitorRect>& monitors,
                                           const MonitorRect& covered);
