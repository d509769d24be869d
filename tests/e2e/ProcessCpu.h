// The CPU time a running saver has used. Under Wine the system's own count leaves out the
// threads Wine did not make (Mesa's drawing threads), so there the whole Linux process is read
// from its /proc entry through drive Z:; on Windows it is GetProcessTimes.
#pragma once

#include <windows.h>

#include <string>

#include "tests/kit/Wait.h"

namespace e2e {

class ProcessCpu {
public:
  // Watches the process `processId`, which runs the program file `programPath`.
  ProcessCpu(DWORD processId, const std::string& programPath);
  ~ProcessCpu() { CloseHandle(process_); }
  ProcessCpu(const ProcessCpu&) = delete;
  ProcessCpu& operator=(const ProcessCpu&) = delete;

  // User and kernel time so far, in milliseconds (Linux counts in steps of 10 ms).
  double usedMs() const;
  // Milliseconds of CPU per second of running, over the next `stretch`.
  double msPerSecond(kit::Milliseconds stretch) const;
  // Where the time is read: the /proc folder, or "GetProcessTimes".
  std::string source() const { return linuxFolder_.empty() ? "GetProcessTimes" : linuxFolder_; }

private:
  HANDLE process_;
  std::string linuxFolder_;
};

}  // namespace e2e
