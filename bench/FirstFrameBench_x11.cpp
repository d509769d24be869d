// How soon velorium's first frame shows, beside XScreenSaver's gears: from starting the program
// with --root on a private 1920x1080 display to the first pixel of the screen that is no longer
// black. The two take turns, N runs each (first argument, at least and by default 15), so that a
// machine busy with other work slows both alike. Prints every run; then for each program the
// median, quartiles and range of the times and of the CPU time its threads had used by then
// (which load changes less); velorium's time over gears' in each round (the two runs next to
// each other in time), their median and quartiles, against the goal of at most 1.03; and the
// ratio of the two medians.
#include <signal.h>

#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/kit/Display_x11.h"
#include "tests/kit/Process.h"
#include "tests/kit/Wait.h"

namespace {

constexpr int kLeastRuns = 15;
constexpr double kGoalRatio = 1.03;
constexpr char kGears[] = "/usr/libexec/xscreensaver/gears";
constexpr kit::Milliseconds kSettling{100};

using MillisecondsF = std::chrono::duration<double, std::milli>;

// Whether a part of the root window has any pixel that is not black.
bool partDrawn(Display* display, int x, int y, int width, int height) {
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  bool drawn = false;
  for (int row = 0; row < height && !drawn; ++row) {
    for (int column = 0; column < width && !drawn; ++column) {
      drawn = (XGetPixel(image, column, row) & 0xFFFFFF) != 0;
    }
  }
  XDestroyImage(image);
  return drawn;
}

// Whether anything has been drawn on the screen: a look at three rows and three columns, a
// quarter of the screen apart, which any picture of the middle of the screen crosses, at a
// fraction of the cost of reading the whole screen.
bool screenDrawn(Display* display) {
  const int width = DisplayWidth(display, DefaultScreen(display));
  const int height = DisplayHeight(display, DefaultScreen(display));
  for (int quarter = 1; quarter <= 3; ++quarter) {
    if (partDrawn(display, 0, height * quarter / 4, width, 1) ||
        partDrawn(display, width * quarter / 4, 0, 1, height)) {
      return true;
    }
  }
  return false;
}

// The CPU milliseconds that every thread of a running process has used so far (the first
// number of each thread's schedstat, in nanoseconds).
double cpuMilliseconds(unsigned long process) {
  const std::filesystem::path tasks = "/proc/" + std::to_string(process) + "/task";
  double total = 0;
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    double ns = 0;
    if (std::ifstream(task.path() / "schedstat") >> ns) total += ns / 1e6;
  }
  return total;
}

struct FirstFrame {
  double wallMs = -1;
  double cpuMs = 0;
};

// One start of the program: the milliseconds from starting it to its first frame on the black
// screen and its CPU time by then; a negative time when the screen was not black or no frame
// came within the kit's patience. The screen is black again afterwards.
FirstFrame timeFirstFrame(const kit::TestDisplay& display, const std::string& program) {
  Display* connection = display.connection();
  if (screenDrawn(connection)) return {};
  const auto started = std::chrono::steady_clock::now();
  kit::Process hack({program, "--root"}, {display.variable()});
  const bool drawn =
      kit::waitUntil([&] { return screenDrawn(connection); }, kit::kPatience, kit::Milliseconds{1});
  const MillisecondsF shown = std::chrono::steady_clock::now() - started;
  const double cpuMs = cpuMilliseconds(hack.id());
  hack.signal(SIGTERM);
  hack.wait();
  // The X server may still be taking in a last frame that the program sent before it ended.
  kit::pause(kSettling);
  XClearWindow(connection, DefaultRootWindow(connection));
  XSync(connection, False);
  if (!drawn) return {};
  return {shown.count(), cpuMs};
}

struct Runs {
  const char* name;
  std::string program;
  std::vector<double> wallMs, cpuMs;
};

// The q-quantile (0 to 1) of sorted values, between the two nearest where it falls between.
double quantile(const std::vector<double>& sorted, double q) {
  const double at = q * static_cast<double>(sorted.size() - 1);
  const std::size_t below = static_cast<std::size_t>(at);
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

// "median M, quartiles Q1 to Q3, range MIN to MAX" of the values, each with `format`.
std::string spread(std::vector<double> values, const char* format) {
  std::sort(values.begin(), values.end());
  std::string text;
  const char* labels[] = {"median ", ", quartiles ", " to ", ", range ", " to "};
  const double points[] = {0.5, 0.25, 0.75, 0, 1};
  for (int k = 0; k < 5; ++k) {
    char number[32];
    std::snprintf(number, sizeof number, format, quantile(values, points[k]));
    text += labels[k];
    text += number;
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = std::max(kLeastRuns, argc > 1 ? std::atoi(argv[1]) : 0);
  const kit::TestDisplay display(1920, 1080);
  Runs programs[] = {{"velorium", VELORIUM_HACK, {}, {}}, {"gears", kGears, {}, {}}};
  for (int run = 1; run <= count; ++run) {
    // Each takes the first turn every other round.
    for (int turn = 0; turn < 2; ++turn) {
      Runs& runs = programs[(run + turn) % 2];
      const FirstFrame frame = timeFirstFrame(display, runs.program);
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
