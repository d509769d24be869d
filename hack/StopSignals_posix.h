// SIGTERM, SIGINT and SIGHUP as something to poll: each makes a pipe readable, so that the
// frame loop notices it while it waits and ends cleanly instead of dying in mid-frame. Until
// the program has something to release, they end it with 0 at once; afterwards, a second after
// the first one (SIGALRM) or at a second one, whatever it is doing.
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
  // From now on a first signal makes the pipe readable (once the window exists, so that the
  // program ends cleanly, releasing its context and display) and ends the program with 0 a
  // second later if it has not ended by then.
  void DeferToLoop();

private:
  // The signals' default handling back, and the pipe closed.
  void Release();

  int readEnd_ = -1;
};
