// How soon velorium ends on SIGTERM while it draws: from the signal to its exit, N runs each
// (first argument, default 10) into the root window and into a foreign window of 32705x32705,
// the largest X allows, which it draws through a bounded child. Prints every run, then the
// median, min and max of each.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/kit/Display_x11.h"
#include "tests/kit/Process.h"
#include "tests/kit/Wait.h"
#include "x11/SceneVisual.h"

namespace {

constexpr int kDefaultRuns = 10;
// Long enough for the first frames to be drawing when the signal comes.
constexpr kit::Milliseconds kDrawingFor{1500};

using MillisecondsF = std::chrono::duration<double, std::milli>;

// One run of velorium with the arguments: the milliseconds from SIGTERM to its exit, or a
// negative number when it did not end with status 0.
double timeOneStop(const kit::TestDisplay& display, const std::vector<std::string>& arguments) {
  std::vector<std::string> command{VELORIUM_HACK};
  command.insert(command.end(), arguments.begin(), arguments.end());
  kit::Process hack(command, {display.variable()});
  kit::pause(kDrawingFor);
  const auto signalled = std::chrono::steady_clock::now();
  hack.signal(SIGTERM);
  kit::waitUntil([&] { return !hack.running(); }, kit::kPatience, kit::Milliseconds{1});
  const MillisecondsF stopped = std::chrono::steady_clock::now() - signalled;
  return hack.wait() == 0 ? stopped.count() : -1;
}

bool benchStops(const char* what, const kit::TestDisplay& display,
                const std::vector<std::string>& arguments, int runs) {
  std::vector<double> times;
  for (int run = 1; run <= runs; ++run) {
    const double time = timeOneStop(display, arguments);
    if (time < 0) {
      std::fprintf(stderr, "%s, run %d: velorium did not end with status 0\n", what, run);
      return false;
    }
    std::printf("%s, run %d: %.1f ms\n", what, run, time);
    times.push_back(time);
  }
  std::sort(times.begin(), times.end());
  const double median = (times[(runs - 1) / 2] + times[runs / 2]) / 2;
  std::printf("%s, SIGTERM to exit, %d runs: median %.1f ms, min %.1f ms, max %.1f ms\n", what,
              runs, median, times.front(), times.back());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
  const kit::TestDisplay display(1024, 768);
  // The middle of the window, where the scene is drawn, at the screen's centre: a part off the
  // screen could not be seen, and velorium draws nothing there.
  constexpr int kLargest = 32705;
  const Window largest = kit::makeGLWindow(display.connection(), 512 - kLargest / 2,
                                           384 - kLargest / 2, kLargest, kLargest);
  const bool rootDone = benchStops("--root", display, {"--root"}, runs);
  const bool largestDone =
      benchStops("32705x32705 window", display, {"--window-id", HexId(largest)}, runs);
  return rootDone && largestDone ? 0 : 1;
}
