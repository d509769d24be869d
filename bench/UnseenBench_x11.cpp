// What velorium costs while nobody can see it: its CPU time per second of running (all its
// threads, llvmpipe's included) while it draws into a 1024x768 window, while that window is
// unmapped and while another window covers it wholly, N stretches of 5 s each (first argument,
// default 3). Prints each stretch, then each case's mean and its share of drawing's.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/kit/Display_x11.h"
#include "tests/kit/Process.h"
#include "tests/kit/Wait.h"
#include "x11/SceneVisual.h"

namespace {

constexpr int kDefaultStretches = 3;
constexpr kit::Milliseconds kStretch{5000};
// Time for the first frames, or for a change to take effect, before a stretch is measured.
constexpr kit::Milliseconds kSettle{1000};

// CPU seconds per second over one stretch.
double cpuPerSecond(const kit::Process& hack) {
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = hack.cpuSeconds();
  kit::pause(kStretch);
  const double cpu = hack.cpuSeconds() - cpuStart;
  return cpu / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The mean of `stretches` stretches after `change` (and kSettle), each printed.
double measure(const char* what, const kit::Process& hack, int stretches,
               const std::function<void()>& change) {
  change();
  kit::pause(kSettle);
  double sum = 0;
  for (int stretch = 1; stretch <= stretches; ++stretch) {
    const double perSecond = cpuPerSecond(hack);
    std::printf("%s, stretch %d: %.3f ms CPU per second\n", what, stretch, perSecond * 1000);
    sum += perSecond;
  }
  return sum / stretches;
}

}  // namespace

int main(int argc, char** argv) {
  const int stretches = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultStretches;
  const kit::TestDisplay display(1024, 768);
  Display* x = display.connection();
  const Window host = kit::makeGLWindow(x, 0, 0, 1024, 768);
  XSetWindowAttributes over{};
  over.override_redirect = True;
  const Window cover = XCreateWindow(x, DefaultRootWindow(x), 0, 0, 1024, 768, 0, CopyFromParent,
                                     InputOutput, CopyFromParent, CWOverrideRedirect, &over);
  kit::Process hack({VELORIUM_HACK, "--window-id", HexId(host)}, {display.variable()});
  const double drawing = measure("drawing", hack, stretches, [] {});
  const double unmapped = measure("host unmapped", hack, stretches, [&] {
    XUnmapWindow(x, host);
    XSync(x, False);
  });
  const double covered = measure("host covered", hack, stretches, [&] {
    XMapWindow(x, host);
    XMapRaised(x, cover);
    XSync(x, False);
  });
  std::printf("drawing: %.2f ms CPU per second\n", drawing * 1000);
  std::printf("host unmapped: %.3f ms CPU per second, %.3f%% of drawing\n", unmapped * 1000,
              100 * unmapped / drawing);
  std::printf("host covered: %.3f ms CPU per second, %.3f%% of drawing\n", covered * 1000,
              100 * covered / drawing);
  if (!hack.running()) {
    std::fprintf(stderr, "velorium ended early: %s\n", hack.errors().c_str());
    return 1;
  }
  return 0;
}
