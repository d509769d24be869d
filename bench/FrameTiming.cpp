// The frame benchmarks' timing loop and table.
#include "bench/FrameTiming.h"

#include <algorithm>
#include <cstdio>

namespace framebench {

namespace {

struct Timing {
  double wallMs;  // mean per frame
  double wallP95Ms;
  double cpuMs;  // mean per frame, all threads of the process
};

// Frames of all option sets take turns, so that a busy neighbour on the machine slows
// every set alike rather than whichever happened to run at the time.
std::vector<Timing> TimeFrames(const DrawFrame& draw, const Clocks& clocks) {
  const std::vector<Options>& sets = OptionSets();
  std::vector<std::vector<double>> wall(sets.size());
  std::vector<double> cpu(sets.size(), 0.0);
  for (int round = 0; round < kWarmUpFrames + kMeasuredFrames; ++round) {
    for (std::size_t set = 0; set < sets.size(); ++set) {
      const double cpuStart = clocks.cpuMs();
      const double start = clocks.wallMs();
      draw(sets[set]);
      wall[set].push_back(clocks.wallMs() - start);
      cpu[set] += clocks.cpuMs() - cpuStart;
      if (round < kWarmUpFrames) {
        wall[set].clear();
        cpu[set] = 0;
      }
    }
  }
  std::vector<Timing> timings;
  for (std::size_t set = 0; set < sets.size(); ++set) {
    std::vector<double>& times = wall[set];
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double ms : times) sum += ms;
    timings.push_back(
        {sum / kMeasuredFrames, times[times.size() * 95 / 100], cpu[set] / kMeasuredFrames});
  }
  return timings;
}

}  // namespace

const std::vector<Options>& OptionSets() {
  static const std::vector<Options> sets = {
      {true, true}, {false, true}, {true, false}, {false, false}};
  return sets;
}

void TimeAndPrint(const DrawFrame& draw, const Clocks& clocks) {
  std::printf("%-6s %-6s %10s %10s %10s %10s\n", "comet", "orbits", "wall ms", "p95 ms", "cpu ms",
              "of 40 ms");
  const std::vector<Timing> timings = TimeFrames(draw, clocks);
  const std::vector<Options>& sets = OptionSets();
  for (std::size_t set = 0; set < sets.size(); ++set) {
    const Timing& timing = timings[set];
    std::printf("%-6s %-6s %10.2f %10.2f %10.2f %9.0f%%\n", sets[set].comet ? "on" : "off",
                sets[set].orbits ? "on" : "off", timing.wallMs, timing.wallP95Ms, timing.cpuMs,
                100 * timing.wallMs / kBudgetMs);
  }
  auto share = [&](std::size_t with, std::size_t without) {
    return 100 * (timings[with].wallMs - timings[without].wallMs) / timings[with].wallMs;
  };
  std::printf("comet's share of a frame: %.0f%% with orbits, %.0f%% without\n", share(0, 1),
              share(2, 3));
}

}  // namespace framebench
