// CPU time of the whole full-screen saver process per second of running, on the desktop it is
// started on: with one monitor, and with the black window over a second one (scripts/bench
// runs it on both desktops). Prints each measured stretch, then the mean.
#include <windows.h>

#include <cstdio>
#include <exception>

#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"

namespace {

constexpr e2e::Milliseconds kSettleTime{2000};
constexpr e2e::Milliseconds kStretch{5000};
constexpr int kStretches = 3;

double cpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  auto ms = [](FILETIME t) {
    ULARGE_INTEGER value;
    value.LowPart = t.dwLowDateTime;
    value.HighPart = t.dwHighDateTime;
    return value.QuadPart / 10000.0;
  };
  return ms(kernel) + ms(user);
}

}  // namespace

int main() {
  try {
    const int monitors = GetSystemMetrics(SM_CMONITORS);
    e2e::SaverProcess saver("/s");
    if (!saver.waitForFullScreenWindow()) {
      std::fprintf(stderr, "no full-screen window appeared\n");
      return 1;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, saver.processId());
    if (process == nullptr) {
      std::fprintf(stderr, "cannot watch the saver's process\n");
      return 1;
    }
    e2e::pause(kSettleTime);
    std::printf("saver CPU with %d monitor(s), %zu visible window(s) of the saver\n", monitors,
                saver.visibleWindows().size());
    double total = 0;
    for (int stretch = 1; stretch <= kStretches; ++stretch) {
      const double start = cpuMs(process);
      e2e::pause(kStretch);
      const double perSecond = (cpuMs(process) - start) * 1000.0 / kStretch.count();
      std::printf("stretch %d: %.0f ms CPU per second\n", stretch, perSecond);
      total += perSecond;
    }
    std::printf("mean: %.0f ms CPU per second with %d monitor(s)\n", total / kStretches, monitors);
    CloseHandle(process);
    if (saver.waitForForeground()) e2e::pressKey(VK_SPACE);
    saver.waitForExit();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
