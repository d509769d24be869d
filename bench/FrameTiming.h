// The frame benchmarks' shared measurement: frames of several option sets taking turns, wall
// and CPU time per frame against the 40 ms timer, printed as one table per window size.
// Portable; each platform's benchmark supplies the frame and its clocks.
#pragma once

#include <functional>
#include <vector>

namespace framebench {

inline constexpr double kBudgetMs = 40;
inline constexpr int kWarmUpFrames = 10;
inline constexpr int kMeasuredFrames = 150;

struct Options {
  bool comet, orbits;
};

// The option sets of every table: both, comet only... in this order.
const std::vector<Options>& OptionSets();

struct Clocks {
  std::function<double()> wallMs;  // monotonic
  std::function<double()> cpuMs;   // all threads of the process
};

// Draws one finished frame (tick and glFinish) with the given options.
using DrawFrame = std::function<void(Options)>;

// Times every option set's frames, taking turns, and prints the table and the comet's share.
void TimeAndPrint(const DrawFrame& draw, const Clocks& clocks);

}  // namespace framebench
