// velorium --full-screen on one 1024x768 output of a headless sway beside velorium --root on a
// private 1024x768 X display: (1) from its start to its first eglSwapBuffers call, and to its
// first picture on the screen (XGetImage; grim, which adds its own start and the compositor's
// next refresh), N rounds (first argument, at least and by default 15), the two taking turns;
// (2) CPU time per frame, three stretches of 5 s each by turns, every thread of the process
// counted and the frames counted by the swap counter preloaded into it. Prints every run, then
// the spreads and the Wayland program's figures over the X11 program's against the goal of at
// most 1.10.
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "bench/FirstFrame.h"
#include "tests/kit/Display_x11.h"
#include "tests/kit/Session_wayland.h"

namespace {

using namespace firstframe;

constexpr int kLeastRounds = 15;
constexpr double kGoalRatio = 1.10;
constexpr int kStretches = 3;
constexpr kit::Milliseconds kSettle{2000}, kStretch{5000};
// The wallpaper's row across the middle of the output: grim's copy of it comes with the next
// refresh, so the output refreshes 240 times a second for the first pictures.
const std::string kMiddleRow = "0,384 1024x1";

// The frames swapped so far by the programs started with its environment, which preloads the
// swap counter: read without disturbing them, so that the screen is looked at only once the
// first frame is swapped (grim's start, every few milliseconds, would slow theirs).
class SwapCount {
public:
  explicit SwapCount(std::string file) : file_(std::move(file)) { reset(); }
  void reset() const { std::ofstream(file_, std::ios::binary).write("\0\0\0\0\0\0\0\0", 8); }
  long long read() const {
    long long count = 0;
    std::ifstream(file_, std::ios::binary).read(reinterpret_cast<char*>(&count), sizeof count);
    return count;
  }
  std::vector<std::string> environment() const {
    return {"LD_PRELOAD=" BENCH_SWAP_COUNTER, "SWAP_COUNT_FILE=" + file_};
  }

private:
  std::string file_;
};

struct Platform {
  const char* name;
  std::vector<std::string> command, environment;
  // Whether the first picture shows on the screen.
  std::function<bool()> shown;
  std::function<void()> clear;
  std::vector<double> swapMs = {}, shownMs = {}, swapCpuMs = {}, shownCpuMs = {},
                      cpuPerFrameMs = {};
};

bool rowIsWallpaper(const kit::WaylandSession& session) {
  const kit::Picture row = session.pictureOfRegion(kMiddleRow);
  return !row.pixels.empty() && std::all_of(row.pixels.begin(), row.pixels.end(),
                                            [](auto pixel) { return pixel == kit::kWallpaper; });
}

// The CPU milliseconds per frame of one stretch of the program, after kSettle.
double cpuPerFrameMs(const Platform& platform, const SwapCount& swaps) {
  swaps.reset();
  const kit::Process program(platform.command, platform.environment);
  kit::pause(kSettle);
  const double cpuFrom = program.cpuSeconds();
  const long long swapsFrom = swaps.read();
  kit::pause(kStretch);
  const double cpu = program.cpuSeconds() - cpuFrom;
  const long long frames = swaps.read() - swapsFrom;
  const double perFrameMs = frames > 0 ? 1000 * cpu / static_cast<double>(frames) : -1;
  std::printf("%s: %lld frames in %.0f s, %.2f ms CPU per frame\n", platform.name, frames,
              kStretch.count() / 1000.0, perFrameMs);
  return perFrameMs;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return quantile(values, 0.5);
}

void report(const char* what, const Platform& x11, const Platform& wayland,
            const std::vector<double> Platform::*values, bool byRound) {
  for (const Platform* platform : {&x11, &wayland}) {
    std::printf("%-8s %s: %s ms\n", platform->name, what,
                spread(platform->*values, "%.2f").c_str());
  }
  std::vector<double> ratios;
  for (std::size_t k = 0; byRound && k < (x11.*values).size(); ++k) {
    ratios.push_back((wayland.*values)[k] / (x11.*values)[k]);
  }
  if (byRound) std::printf("Wayland / X11 round by round: %s\n", spread(ratios, "%.3f").c_str());
  const double ratio = median(wayland.*values) / median(x11.*values);
  std::printf("Wayland's median over X11's: %.3f (goal: at most %.2f: %s)\n\n", ratio, kGoalRatio,
              ratio <= kGoalRatio ? "met" : "not met");
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = std::max(kLeastRounds, argc > 1 ? std::atoi(argv[1]) : 0);
  const kit::TestDisplay display(1024, 768);
  Display* x = display.connection();
  kit::WaylandSession session(1, 1024, 768, 240);
  const SwapCount swaps(session.runtimeFolder() + "/swaps");
  // Both programs keep the benchmark's HOME, and so Mesa's shader cache in it.
  auto withSwaps = [&](std::vector<std::string> environment) {
    std::erase_if(environment, [](const std::string& entry) { return entry.starts_with("HOME="); });
    const std::vector<std::string> counting = swaps.environment();
    environment.insert(environment.end(), counting.begin(), counting.end());
    return environment;
  };
  Platform x11{"X11",
               {VELORIUM_HACK, "--root"},
               withSwaps({display.variable()}),
               [&] { return swaps.read() > 0 && screenDrawn(x); },
               [&] {
                 kit::pause(kit::Milliseconds(100));
                 XClearWindow(x, DefaultRootWindow(x));
                 XSync(x, False);
                 swaps.reset();
               }};
  Platform wayland{"Wayland",
                   {VELORIUM_HACK, "--full-screen"},
                   withSwaps(session.environment()),
                   [&] { return swaps.read() > 0 && !rowIsWallpaper(session); },
                   [&] {
                     kit::waitUntil([&] { return rowIsWallpaper(session); });
                     swaps.reset();
                   }};
  for (int round = 1; round <= rounds; ++round) {
    for (int turn = 0; turn < 4; ++turn) {
      Platform& platform = (round + turn) % 2 ? wayland : x11;
      // Each platform's start timed to its first swap, then to its first picture on the screen.
      const bool toSwap = turn < 2;
      const FirstFrame frame = timeFirstFrame(
          platform.command, platform.environment,
          toSwap ? std::function<bool()>([&] { return swaps.read() > 0; }) : platform.shown,
          platform.clear);
      if (frame.wallMs < 0) {
        std::fprintf(stderr, "%s, round %d: no first picture\n", platform.name, round);
        return 1;
      }
      std::printf("%s, round %d: %s %.1f ms (CPU %.1f ms)\n", platform.name, round,
                  toSwap ? "first swap" : "first picture", frame.wallMs, frame.cpuMs);
      (toSwap ? platform.swapMs : platform.shownMs).push_back(frame.wallMs);
      (toSwap ? platform.swapCpuMs : platform.shownCpuMs).push_back(frame.cpuMs);
    }
  }
  std::printf("\n%d rounds\n", rounds);
  report("start to first swap", x11, wayland, &Platform::swapMs, true);
  report("start to first picture", x11, wayland, &Platform::shownMs, true);
  report("CPU by the first swap", x11, wayland, &Platform::swapCpuMs, true);
  report("CPU by the first picture", x11, wayland, &Platform::shownCpuMs, true);

  // Frames at the usual refresh of 60 a second, as a desktop's.
  const kit::WaylandSession usual(1, 1024, 768, 60);
  wayland.environment = withSwaps(usual.environment());
  for (int stretch = 0; stretch < kStretches; ++stretch) {
    for (Platform* platform : {&x11, &wayland}) {
      platform->cpuPerFrameMs.push_back(cpuPerFrameMs(*platform, swaps));
    }
  }
  report("CPU per frame", x11, wayland, &Platform::cpuPerFrameMs, false);
  return 0;
}
