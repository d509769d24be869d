// The OpenGL calls of a program's first frames, for tests that compare two programs' frames:
// traced by Debian's apitrace-tracers, preloaded as `apitrace trace --api glx` and `--api egl`
// do (without apitrace's own process between the test and the program): each records every GLX
// or EGL call and every OpenGL call to TRACE_FILE. gl_frames.py prints the calls.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/linux/Hack.h"

namespace linuxtest {

inline constexpr char kGlxTracer[] = "/usr/lib/x86_64-linux-gnu/apitrace/wrappers/glxtrace.so";
inline constexpr char kEglTracer[] = "/usr/lib/x86_64-linux-gnu/apitrace/wrappers/egltrace.so";
inline constexpr int kComparedFrames = 3;

// The standard output of a shell command, which must succeed.
inline std::string runShell(const std::string& shellCommand) {
  const Outcome shell = runToEnd({"sh", "-c", shellCommand}, {}, Milliseconds(120000));
  EXPECT_EQ(shell.status, 0) << shellCommand << "\n" << shell.errors;
  return shell.output;
}

// Waits until the trace holds more than the compared frames of either program (a frame of the
// scene takes about 1.2 MB of trace, written a frame at a time); false after a minute.
inline bool waitForFrames(const std::string& trace) {
  return waitUntil(
      [&] {
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(trace, error);
        return !error && bytes >= 8'000'000;
      },
      Milliseconds(60000));
}

// velorium with `arguments` and `environment` (its own window at 1024x768 on $DISPLAY by
// default), traced to `trace` until it has drawn the compared frames; then SIGTERM ends it
// with 0. Returns `trace`.
inline std::string traceVelorium(const std::string& trace,
                                 const std::vector<std::string>& arguments,
                                 std::vector<std::string> environment = {}) {
  environment.insert(environment.end(),
                     {std::string("LD_PRELOAD=") + kEglTracer, "TRACE_FILE=" + trace});
  Process hack(commandOf(hackPath(), arguments), environment);
  EXPECT_TRUE(waitForFrames(trace)) << "the traced velorium drew too little: " << hack.errors();
  hack.signal(SIGTERM);
  EXPECT_EQ(hack.wait(), 0) << hack.errors();
  return trace;
}

// The drawing calls of a trace's first kComparedFrames frames, one a line, each frame ending
// with a line "-- frame N --".
inline std::vector<std::string> frameCalls(const std::string& trace) {
  std::vector<std::string> lines;
  std::istringstream in(runShell("apitrace pickle -s '" + trace +
                                 "' | python3 '" VELORIUM_GL_FRAMES "' " +
                                 std::to_string(kComparedFrames)));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace linuxtest
