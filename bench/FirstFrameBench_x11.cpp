// How soon velorium's first frame shows, beside XScreenSaver's gears: from starting the program
// with --root on a private 1920x1080 display to the first pixel of the screen that is no longer
// black. The two take turns, N runs each (first argument, default 15), so that a machine busy
// with other work slows both alike. Prints every run, then the median, min and max of each,
// and of the CPU time that the program's threads had used by then, which load changes less.
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

constexpr int kDefaultRuns = 15;
constexpr char kGears[] = "/usr/libexec/xscreensaver/gears";
constexpr kit::Milliseconds kSettling{100};

using MillisecondsF = std::chrono::duration<double, std::milli>;

// Whether a part of the root window has any pixel that is not black.
bool partDrawn(Display* display, int x, int y, int width, int height) {
  XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes,
                            ZPixmap);
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
  const bool drawn = kit::waitUntil([&] { return screenDrawn(connection); }, kit::kPatience,
                                    kit::Milliseconds{1});
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

void printSummary(const char* name, const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const std::size_t count = times.size();
  const double median = (times[(count - 1) / 2] + times[count / 2]) / 2;
  std::printf("%-8s %s, %zu runs: median %.1f ms, min %.1f ms, max %.1f ms\n", name, what, count,
              median, times.front(), times.back());
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRuns;
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
  for (const Runs& runs : programs) printSummary(runs.name, "start to first frame", runs.wallMs);
  for (const Runs& runs : programs) printSummary(runs.name, "CPU by the first frame", runs.cpuMs);
  return 0;
}
