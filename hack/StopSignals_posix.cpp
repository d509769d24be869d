// The self-pipe and the alarm behind StopSignals. A signal handler may only do
// async-signal-safe things, so it writes one byte and the loop does the rest, or ends the
// program at once.
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
  // The loop may not look for a while: a driver waiting for an X server that does not answer
  // holds it, with the signal caught, for as long as the server is silent. A second later the
  // alarm ends the program whatever it does, and a second signal ends it at once.
  gEndAtOnce = 1;
  alarm(1);
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already says everything this byte would.
  [[maybe_unused]] ssize_t written = write(gWriteEnd, &byte, 1);
  errno = savedErrno;
}

extern "C" void OnAlarm(int) {
  _exit(0);
}

// Handles `signal` with `handler`, or with the default handling for SIG_DFL.
bool Handle(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait in poll() ends at once with EINTR.
  action.sa_flags = 0;
  return sigaction(signal, &action, nullptr) == 0;
}

}  // namespace

StopSignals::StopSignals() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("cannot make a pipe");
  readEnd_ = ends[0];
  gWriteEnd = ends[1];
  gEndAtOnce = 1;
  bool handled = Handle(SIGALRM, OnAlarm);
  for (int signal : kStopSignals) handled = handled && Handle(signal, OnStopSignal);
  if (!handled) {
    Release();
    throw std::runtime_error("cannot catch the stop signals");
  }
}

StopSignals::~StopSignals() {
  Release();
}

void StopSignals::Release() {
  for (int signal : kStopSignals) Handle(signal, SIG_DFL);
  // No stop signal can arm it now; one that did would otherwise end the program by SIGALRM.
  alarm(0);
  Handle(SIGALRM, SIG_DFL);
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
