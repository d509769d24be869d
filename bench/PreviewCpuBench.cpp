// CPU time of the preview per second while it draws and while its host window is hidden,
// where it only looks at the host four times a second. The whole saver process is read (under
// Wine from Linux's /proc). Prints each stretch, the two means and their ratio; the goal is
// at most 1% of drawing while hidden.
#include <windows.h>

#include <cstdio>
#include <exception>

#include "tests/e2e/PreviewHost.h"
#include "tests/e2e/ProcessCpu.h"

namespace {

constexpr e2e::Milliseconds kSettleTime{2000};
constexpr e2e::Milliseconds kStretch{5000};
constexpr int kStretches = 3;

double meanMsPerSecond(const e2e::ProcessCpu& cpu, const char* state) {
  double total = 0;
  for (int stretch = 1; stretch <= kStretches; ++stretch) {
    const double perSecond = cpu.msPerSecond(kStretch);
    std::printf("%s, stretch %d: %.1f ms CPU per second\n", state, stretch, perSecond);
    total += perSecond;
  }
  return total / kStretches;
}

}  // namespace

int main() {
  try {
    e2e::PreviewHost host("decimal");
    if (host.waitForPreview() == nullptr) {
      std::fprintf(stderr, "no preview appeared in the host\n");
      return 1;
    }
    e2e::pause(kSettleTime);
    const e2e::ProcessCpu cpu(host.saverProcessId(), e2e::saverPath());
    std::printf("preview CPU, read from %s\n", cpu.source().c_str());
    const double drawing = meanMsPerSecond(cpu, "drawing");
    ShowWindow(host.window(), SW_HIDE);
    e2e::pause(kSettleTime);
    const double hidden = meanMsPerSecond(cpu, "host hidden");
    std::printf("mean: drawing %.1f ms, host hidden %.2f ms CPU per second: %.2f%% of drawing\n",
                drawing, hidden, drawing > 0 ? hidden * 100.0 / drawing : 0.0);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
