// SIGTERM, SIGINT and SIGHUP as something to poll: each makes a pipe readable, so that the
// frame loop notices it while it waits and ends cleanly instead of dying in mid-frame. Until
// the program has something to release, they end it with 0 at once.
#pragma once

class StopSignals {
public:
  // Installs the handlers, which end the program with 0 at once; they stay until the object
  // is destroyed. Throws std::runtime_error when the pipe cannot be made or a handler cannot
  // be installed.
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // For poll(): readable once one of the signals has come.
  int Descriptor() const { return readEnd_; }
  // Whether one of the signals has come.
  bool Received() const;
  // From now on a signal only makes the pipe readable (once the window exists, so that the
  // program ends cleanly, releasing its context and display).
  void DeferToLoop();

private:
  // The signals' default handling back, and the pipe closed.
  void Release();

  int readEnd_ = -1;
};
