// How soon velorium's first frame shows, beside XScreenSaver's gears: from starting the program
// with --root on a private 1920x1080 display to the first pixel of the screen that is no longer
// black. The two take turns, N runs each (first argument, at least and by default 15), so that a
// machine busy with other work slows both alike. Prints every run; then for each program the
// median, quartiles and range of the times and of the CPU time its threads had used by then
// (which load changes less); velorium's time over gears' in each round (the two runs next to
// each other in time), their median and quartiles, against the goal of at most 1.03; and the
// ratio of the two medians.
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/FirstFrame.h"
#include "tests/kit/Display_x11.h"
#include "tests/kit/Wait.h"

namespace {

using namespace firstframe;

constexpr int kLeastRuns = 15;
constexpr double kGoalRatio = 1.03;
constexpr char kGears[] = "/usr/libexec/xscreensaver/gears";
constexpr kit::Milliseconds kSettling{100};

// One start of the program with --root on the black screen; the screen is black again
// afterwards.
FirstFrame timeRootFirstFrame(const kit::TestDisplay& display, const std::string& program) {
  Display* connection = display.connection();
  return timeFirstFrame(
      {program, "--root"}, {display.variable()}, [&] { return screenDrawn(connection); },
      [&] {
        // The X server may still be taking in a last frame that the program sent before it
        // ended.
        kit::pause(kSettling);
        XClearWindow(connection, DefaultRootWindow(connection));
        XSync(connection, False);
      });
}

struct Runs {
  const char* name;
  std::string program;
  std::vector<double> wallMs, cpuMs;
};

}  // namespace

int main(int argc, char** argv) {
  const int count = std::max(kLeastRuns, argc > 1 ? std::atoi(argv[1]) : 0);
  const kit::TestDisplay display(1920, 1080);
  Runs programs[] = {{"velorium", VELORIUM_HACK, {}, {}}, {"gears", kGears, {}, {}}};
  for (int run = 1; run <= count; ++run) {
    // Each takes the first turn every other round.
    for (int turn = 0; turn < 2; ++turn) {
      Runs& runs = programs[(run + turn) % 2];
      const FirstFrame frame = timeRootFirstFrame(display, runs.program);
      if (frame.wallMs < 0) {
        std::fprintf(stderr, "%s, run %d: no frame was drawn on a black screen\n", runs.name, run);
        return 1;
      }
      std::printf("%s, run %d: %.1f ms (CPU %.1f ms)\n", runs.name, run, frame.wallMs, frame.cpuMs);
      runs.wallMs.push_back(frame.wallMs);
      runs.cpuMs.push_back(frame.cpuMs);
    }
  }
  std::printf("\n%d runs each\n", count);
  for (const Runs& runs : programs) {
    std::printf("%-8s start to first frame: %s ms\n", runs.name,
                spread(runs.wallMs, "%.1f").c_str());
  }
  for (const Runs& runs : programs) {
    std::printf("%-8s CPU by the first frame: %s ms\n", runs.name,
                spread(runs.cpuMs, "%.1f").c_str());
  }
  std::vector<double> ratios;
  for (int run = 0; run < count; ++run) {
    ratios.push_back(programs[0].wallMs[run] / programs[1].wallMs[run]);
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("velorium / gears, round by round: %s (goal: median at most %.2f: %s)\n",
              spread(ratios, "%.3f").c_str(), kGoalRatio,
              quantile(ratios, 0.5) <= kGoalRatio ? "met" : "not met");
  std::vector<double> medians;
  for (Runs& runs : programs) {
    std::sort(runs.wallMs.begin(), runs.wallMs.end());
    medians.push_back(quantile(runs.wallMs, 0.5));
  }
  std::printf("velorium's median over gears': %.3f\n", medians[0] / medians[1]);
  return 0;
}
