// The full-screen saver's frame period as a viewer sees it: for 30 s, the middle of the screen
// is copied as often as it can be, and each copy that differs from the one before marks a new
// frame (the camera moves on every frame). Prints the mean period over the whole run, the
// spread of the single periods and their range; a single period is only as exact as the time
// a copy takes, the mean is exact. Under Wine, whose timers fire to the millisecond, this
// cannot show what a 15.625 ms system tick does to a timer.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <vector>

#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"

namespace {

constexpr e2e::Milliseconds kSettleTime{2000};
constexpr std::chrono::seconds kRun{30};
// Around the sun, where planet 1 and the sun's lit side change on every frame.
constexpr int kWatchedSide = 160;

using MillisecondsF = std::chrono::duration<double, std::milli>;

// The times, in ms from the start, at which a new frame was first seen.
std::vector<double> frameTimes(const RECT& watched) {
  std::vector<double> times;
  const auto start = std::chrono::steady_clock::now();
  auto now = start;
  std::vector<std::uint32_t> last;
  for (; now - start < kRun; now = std::chrono::steady_clock::now()) {
    e2e::Picture copy = e2e::captureScreen(watched);
    if (copy.pixels != last) times.push_back(MillisecondsF(now - start).count());
    last = std::move(copy.pixels);
  }
  return times;
}

void printPeriods(const std::vector<double>& times) {
  std::vector<double> periods;
  for (size_t index = 2; index < times.size(); ++index) {
    periods.push_back(times[index] - times[index - 1]);
  }
  if (periods.empty()) {
    std::printf("no frames seen\n");
    return;
  }
  const double mean = (times.back() - times[1]) / static_cast<double>(periods.size());
  double squares = 0;
  for (const double period : periods) squares += (period - mean) * (period - mean);
  const auto [shortest, longest] = std::minmax_element(periods.begin(), periods.end());
  std::printf(
      "%zu frames in %lld s: mean period %.2f ms (%.2f frames a second), spread %.1f ms, "
      "single periods %.1f to %.1f ms\n",
      periods.size(), static_cast<long long>(kRun.count()), mean, 1000.0 / mean,
      std::sqrt(squares / static_cast<double>(periods.size())), *shortest, *longest);
}

}  // namespace

int main() {
  try {
    e2e::SaverProcess saver("/s");
    const auto window = saver.waitForFullScreenWindow();
    if (!window) {
      std::fprintf(stderr, "no full-screen window appeared\n");
      return 1;
    }
    e2e::pause(kSettleTime);
    const RECT& area = window->rect;
    const LONG x = (area.left + area.right - kWatchedSide) / 2;
    const LONG y = (area.top + area.bottom - kWatchedSide) / 2;
    // The first change only says the watch began; periods count from the second.
    printPeriods(frameTimes(RECT{x, y, x + kWatchedSide, y + kWatchedSide}));
    if (saver.waitForForeground()) e2e::pressKey(VK_SPACE);
    saver.wait();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
