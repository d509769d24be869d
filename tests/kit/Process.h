// A program run by a test as a separate process, the same way on both platforms: a time
// limit on every wait, its whole exit status, and its standard output and error collected in
// files. Whatever still runs when the object goes is ended.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/kit/Wait.h"

namespace kit {

// The whole exit status: Windows' 32-bit exit code (a crash such as 0xC0000005 included), or
// on POSIX the exit code, or 128 + the signal that ended the process.
using ExitStatus = long long;

class Process {
public:
  // Starts command[0] with the other words as its arguments; `environment` entries
  // ("NAME=value") replace the test's own of that name or are added. On Windows the words after the
  // program are joined with spaces as they are, so that a test gives a command line exactly as
  // written.
  explicit Process(const std::vector<std::string>& command,
                   const std::vector<std::string>& environment = {});
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  unsigned long id() const;
  bool running() const;
  // The exit status once the process has ended within `limit`; nothing while it runs.
  std::optional<ExitStatus> wait(Milliseconds limit = kPatience) const;
  // Ends it at once, as a crash would.
  void kill();
#ifndef _WIN32
  void signal(int number) const;
  // The processor time its threads that still run have used so far, in seconds.
  double cpuSeconds() const;
#endif
  std::string output() const;
  std::string errors() const;

private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};

struct Outcome {
  std::optional<ExitStatus> status;
  std::string output;
  std::string errors;
};

#ifndef _WIN32
// The processes that run the file `executable` (not ended or only waiting to be reaped), such
// as a hack started by a screen-saver daemon.
std::vector<long> processesRunning(const std::string& executable);
#endif

// Runs a command to its end, or for `limit`.
Outcome runToEnd(const std::vector<std::string>& command,
                 const std::vector<std::string>& environment = {}, Milliseconds limit = kPatience);

}  // namespace kit
