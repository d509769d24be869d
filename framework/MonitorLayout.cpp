// Which monitors a full-screen window leaves uncovered.
#include "framework/MonitorLayout.h"

#include <algorithm>

std::vector<MonitorRect> UncoveredMonitors(const std::vector<MonitorRect>& monitors,
                                           const MonitorRect& covered) {
  std::vector<MonitorRect> uncovered;
  for (const MonitorRect& monitor : monitors) {
    if (monitor.right <= monitor.left || monitor.bottom <= monitor.top) continue;
    if (monitor == covered) continue;
    if (std::find(uncovered.begin(), uncovered.end(), monitor) != uncovered.end()) continue;
    uncovered.push_back(monitor);
  }
  return uncovered;
}
