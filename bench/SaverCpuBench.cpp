// CPU time of the whole full-screen saver process per second of running, on the desktop it is
// started on: with one monitor, and with the black window over a second one (scripts/bench
// runs it on both desktops). Prints each measured stretch, then the mean. Under Wine the
// system's own count leaves out threads that Wine did not make (Mesa's drawing threads), so
// there the whole process is read from Linux's /proc, through drive Z:.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/ProcessTimes_win32.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"

namespace {

constexpr e2e::Milliseconds kSettleTime{2000};
constexpr e2e::Milliseconds kStretch{5000};
constexpr int kStretches = 3;

std::string fileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The Linux process running the saver under Wine: the one whose command line names this
// saver and whose Wine prefix is ours; empty when there is no /proc (on Windows).
std::string linuxProcessFolder(const std::string& saverPath) {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr) return "";
  const std::string file = saverPath.substr(saverPath.find_last_of('\\') + 1);
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return "";
  std::string found;
  do {
    const std::string name = entry.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string folder = "Z:\\proc\\" + name;
    if (fileText(folder + "\\cmdline").find(file) == std::string::npos) continue;
    if (fileText(folder + "\\environ").find(std::string("WINEPREFIX=") + prefix + '\0') ==
        std::string::npos)
      continue;
    found = folder;
  } while (found.empty() && FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

// User and system time of every thread of the Linux process, from its stat line.
double linuxCpuMs(const std::string& folder) {
  const std::string stat = fileText(folder + "\\stat");
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  // After the name: state is field 3; utime and stime are fields 14 and 15.
  for (int index = 3; index <= 15 && fields >> field; ++index) {
    if (index >= 14) ticks += std::atof(field.c_str());
  }
  // Linux counts in clock ticks of 10 ms.
  return ticks * 10.0;
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
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, saver.id());
    if (process == nullptr) {
      std::fprintf(stderr, "cannot watch the saver's process\n");
      return 1;
    }
    e2e::pause(kSettleTime);
    const std::string linux = linuxProcessFolder(e2e::saverPath());
    auto cpuNow = [&] { return linux.empty() ? ProcessCpuMs(process) : linuxCpuMs(linux); };
    std::printf("saver CPU with %d monitor(s), %zu visible window(s) of the saver, read from %s\n",
                monitors, saver.visibleWindows().size(),
                linux.empty() ? "GetProcessTimes" : linux.c_str());
    double total = 0;
    for (int stretch = 1; stretch <= kStretches; ++stretch) {
      const double start = cpuNow();
      e2e::pause(kStretch);
      const double perSecond = (cpuNow() - start) * 1000.0 / kStretch.count();
      std::printf("stretch %d: %.0f ms CPU per second\n", stretch, perSecond);
      total += perSecond;
    }
    std::printf("mean: %.0f ms CPU per second with %d monitor(s)\n", total / kStretches, monitors);
    CloseHandle(process);
    if (saver.waitForForeground()) e2e::pressKey(VK_SPACE);
    saver.wait();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
