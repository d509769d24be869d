// Start-up time of the full-screen saver: from CreateProcess to its full-screen window being
// visible, over N runs (first argument, default 10). Prints each run, then median, min and max.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <vector>

#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"

namespace {

constexpr int kDefaultRuns = 10;
// Fine enough to time a start-up of a few hundred milliseconds.
constexpr e2e::Milliseconds kStartPolling{2};

using MillisecondsF = std::chrono::duration<double, std::milli>;

// One start with /s; ends the saver with a key, as a user would. Nothing if no window came.
std::optional<double> timeOneStart() {
  const auto started = std::chrono::steady_clock::now();
  e2e::SaverProcess saver("/s");
  if (!saver.waitForFullScreenWindow(e2e::kPatience, kStartPolling)) return std::nullopt;
  const MillisecondsF elapsed = std::chrono::steady_clock::now() - started;
  if (saver.waitForForeground()) e2e::pressKey(VK_SPACE);
  if (!saver.wait()) std::fprintf(stderr, "the saver did not end on a key; terminated\n");
  return elapsed.count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
  std::vector<double> times;
  try {
    for (int run = 1; run <= runs; ++run) {
      const auto time = timeOneStart();
      if (!time) {
        std::fprintf(stderr, "run %d: no full-screen window appeared\n", run);
        return 1;
      }
      std::printf("run %d: %.1f ms\n", run, *time);
      times.push_back(*time);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  const auto [fastest, slowest] = std::minmax_element(times.begin(), times.end());
  std::printf("start-up to full-screen window, %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n",
              runs, median(times), *fastest, *slowest);
  return 0;
}
