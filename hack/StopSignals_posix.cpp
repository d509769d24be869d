// The self-pipe behind StopSignals. A signal handler may only do async-signal-safe things,
// so it writes one byte and the loop does the rest.
#include "hack/StopSignals_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler has no other way to reach the pipe; there is one StopSignals per process.
volatile sig_atomic_t gWriteEnd = -1;
volatile sig_atomic_t gEndAtOnce = 1;

extern "C" void OnStopSignal(int) {
  if (gEndAtOnce != 0) _exit(0);
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already says everything this byte would.
  [[maybe_unused]] ssize_t written = write(gWriteEnd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

StopSignals::StopSignals() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("cannot make a pipe");
  readEnd_ = ends[0];
  gWriteEnd = ends[1];
  gEndAtOnce = 1;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait in poll() ends at once with EINTR.
  action.sa_flags = 0;
  for (int signal : kStopSignals) {
    if (sigaction(signal, &action, nullptr) != 0) {
      Release();
      throw std::runtime_error("cannot catch the stop signals");
    }
  }
}

StopSignals::~StopSignals() {
  Release();
}

void StopSignals::Release() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal : kStopSignals) sigaction(signal, &action, nullptr);
  close(gWriteEnd);
  gWriteEnd = -1;
  close(readEnd_);
}

void StopSignals::DeferToLoop() {
  gEndAtOnce = 0;
}

bool StopSignals::Received() const {
  pollfd entry{readEnd_, POLLIN, 0};
  return poll(&entry, 1, 0) > 0;
}
