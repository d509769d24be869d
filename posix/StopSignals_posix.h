// SIGTERM, SIGINT and SIGHUP as something to poll: each makes a pipe readable, so that the
// frame loop notices it while it waits and ends cleanly instead of dying in mid-frame.
#pragma once

class StopSignals {
public:
  // Installs the handlers; they stay until the object is destroyed. Throws
  // std::runtime_error when the pipe cannot be made or a handler cannot be installed.
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // For poll(): readable once one of the signals has come.
  int Descriptor() const { return readEnd_; }
  // Whether one of the signals has come.
  bool Received() const;

private:
  // The signals' default handling back, and the pipe closed.
  void Release();

  int readEnd_ = -1;
};
