// Frame benchmark: wall-clock and CPU time of one Tick (a whole frame, finished with
// glFinish) at two window sizes, with the comet and the orbit lines on and off, against
// the 40 ms timer; and the process's peak memory. Prints a table.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/Forms.h"
#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "tests/win/SceneWindow.h"

namespace {

constexpr double kBudgetMs = 40;
constexpr int kWarmUpFrames = 10;
constexpr int kMeasuredFrames = 150;

struct Size {
  int width, height;
};

struct Options {
  bool comet, orbits;
};

struct Timing {
  double wallMs;  // mean per frame
  double wallP95Ms;
  double cpuMs;  // mean per frame, all threads of the process
};

double CpuTimeMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    ULARGE_INTEGER value;
    value.LowPart = t.dwLowDateTime;
    value.HighPart = t.dwHighDateTime;
    return value.QuadPart / 10000.0;
  };
  return ms(kernel) + ms(user);
}

double NowMs() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return now.QuadPart * 1000.0 / frequency.QuadPart;
}

// One frame with the given options: wall and CPU time from the tick to the finished frame.
void TimeOneFrame(TPlanets& scene, Options options, std::vector<double>& wallMs, double& cpuMs) {
  scene.ShowComet = options.comet ? 1 : 0;
  scene.ShowOrbits = options.orbits ? 1 : 0;
  const double cpuStart = CpuTimeMs();
  const double start = NowMs();
  scene.Tick();
  glFinish();
  wallMs.push_back(NowMs() - start);
  cpuMs += CpuTimeMs() - cpuStart;
  // The saver's timer lets messages through between frames; so does the benchmark.
  PumpMessages(0);
}

// Frames of all option sets take turns, so that a busy neighbour on the machine slows
// every set alike rather than whichever happened to run at the time.
std::vector<Timing> TimeFrames(TPlanets& scene, const std::vector<Options>& optionSets) {
  std::vector<std::vector<double>> wall(optionSets.size());
  std::vector<double> cpu(optionSets.size(), 0.0);
  for (int round = 0; round < kWarmUpFrames + kMeasuredFrames; ++round) {
    for (std::size_t set = 0; set < optionSets.size(); ++set) {
      TimeOneFrame(scene, optionSets[set], wall[set], cpu[set]);
      if (round < kWarmUpFrames) {
        wall[set].clear();
        cpu[set] = 0;
      }
    }
  }
  std::vector<Timing> timings;
  for (std::size_t set = 0; set < optionSets.size(); ++set) {
    std::vector<double>& times = wall[set];
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double ms : times) sum += ms;
    timings.push_back({sum / kMeasuredFrames, times[times.size() * 95 / 100],
                       cpu[set] / kMeasuredFrames});
  }
  return timings;
}

// Whether the window's back buffer really reaches its far corner (a window larger than
// the screen may be clipped).
bool DrawableCoversCorner(int width, int height) {
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  unsigned char corner[3] = {};
  glReadPixels(width - 1, height - 1, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, corner);
  return corner[0] == 255 && corner[1] == 0 && corner[2] == 0;
}

void BenchSize(TApplication& application, Size size) {
  auto* form = new TSceneF(&application, size.width, size.height);
  form->Show();
  PumpMessages(100);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  {
    TPlanets scene(form);
    scene.Tick();
    std::printf("\nwindow %dx%d: client %ldx%ld, back buffer reaches the far corner: %s (%s)\n",
                size.width, size.height, client.right, client.bottom,
                DrawableCoversCorner(size.width, size.height) ? "yes" : "no",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("%-6s %-6s %10s %10s %10s %10s\n", "comet", "orbits", "wall ms", "p95 ms",
                "cpu ms", "of 40 ms");
    const std::vector<Options> optionSets = {{true, true}, {false, true}, {true, false},
                                             {false, false}};
    const std::vector<Timing> timings = TimeFrames(scene, optionSets);
    for (std::size_t set = 0; set < optionSets.size(); ++set) {
      const Timing& timing = timings[set];
      std::printf("%-6s %-6s %10.2f %10.2f %10.2f %9.0f%%\n", optionSets[set].comet ? "on" : "off",
                  optionSets[set].orbits ? "on" : "off", timing.wallMs, timing.wallP95Ms,
                  timing.cpuMs, 100 * timing.wallMs / kBudgetMs);
    }
    auto share = [&](std::size_t with, std::size_t without) {
      return 100 * (timings[with].wallMs - timings[without].wallMs) / timings[with].wallMs;
    };
    std::printf("comet's share of a frame: %.0f%% with orbits, %.0f%% without\n", share(0, 1),
                share(2, 3));
  }
  TComponent::Free(form);
}

}  // namespace

int main() {
  TApplication application;
  application.Initialize();
  std::printf("Velorium frame benchmark: %d frames per row after %d warm-up frames,\n"
              "the rows' frames taking turns; cpu counts every thread of the process\n",
              kMeasuredFrames, kWarmUpFrames);
  for (Size size : {Size{1024, 768}, Size{1920, 1080}}) BenchSize(application, size);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("\npeak working set: %.1f MB\n", memory.PeakWorkingSetSize / (1024.0 * 1024.0));
  return 0;
}
