// A saver's CPU time from Linux's /proc under Wine, from GetProcessTimes elsewhere.
#include "tests/e2e/ProcessCpu.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {
namespace {

std::string fileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The Linux process running `programPath` under Wine: the one whose program (the first word
// of its command line) is that file and whose Wine prefix is ours; empty when there is no
// /proc (on Windows). Other programs may name the file among their arguments.
std::string linuxProcessFolder(const std::string& programPath) {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix == nullptr) return "";
  const std::string file = programPath.substr(programPath.find_last_of('\\') + 1);
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return "";
  std::string found;
  do {
    const std::string name = entry.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string folder = "Z:\\proc\\" + name;
    const std::string commandLine = fileText(folder + "\\cmdline");
    if (commandLine.substr(0, commandLine.find('\0')).find(file) == std::string::npos) continue;
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

ProcessCpu::ProcessCpu(DWORD processId, const std::string& programPath)
    : process_(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)),
      linuxFolder_(linuxProcessFolder(programPath)) {}

double ProcessCpu::usedMs() const {
  if (!linuxFolder_.empty()) return linuxCpuMs(linuxFolder_);
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process_, &created, &exited, &kernel, &user)) return 0;
  auto ms = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 1e4; };
  return ms(kernel) + ms(user);
}

double ProcessCpu::msPerSecond(kit::Milliseconds stretch) const {
  const double start = usedMs();
  kit::pause(stretch);
  return (usedMs() - start) * 1000.0 / static_cast<double>(stretch.count());
}

}  // namespace e2e
