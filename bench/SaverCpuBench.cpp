// CPU time of the whole full-screen saver process per second of running, on the desktop it is
// started on: with one monitor, and with the black window over a second one (scripts/bench
// runs it on both desktops). Prints each measured stretch, then the mean. Under Wine the
// system's own count leaves out threads that Wine did not make (Mesa's drawing threads), so
// there the whole process is read from Linux's /proc, through drive Z:.
#include <windows.h>

#include <cstdio>
#include <exception>

#include "tests/e2e/ProcessCpu.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"

namespace {

constexpr e2e::Milliseconds kSettleTime{2000};
constexpr e2e::Milliseconds kStretch{5000};
constexpr int kStretches = 3;

}  // namespace

int main() {
  try {
    const int monitors = GetSystemMetrics(SM_CMONITORS);
    e2e::SaverProcess saver("/s");
    if (!saver.waitForFullScreenWindow()) {
      std::fprintf(stderr, "no full-screen window appeared\n");
      return 1;
    }
    e2e::pause(kSettleTime);
    const e2e::ProcessCpu cpu(saver.id(), e2e::saverPath());
    std::printf("saver CPU with %d monitor(s), %zu visible window(s) of the saver, read from %s\n",
                monitors, saver.visibleWindows().size(), cpu.source().c_str());
    double total = 0;
    for (int stretch = 1; stretch <= kStretches; ++stretch) {
      const double perSecond = cpu.msPerSecond(kStretch);
      std::printf("stretch %d: %.0f ms CPU per second\n", stretch, perSecond);
      total += perSecond;
    }
    std::printf("mean: %.0f ms CPU per second with %d monitor(s)\n", total / kStretches, monitors);
    if (saver.waitForForeground()) e2e::pressKey(VK_SPACE);
    saver.wait();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
