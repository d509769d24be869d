// What the first-frame benchmarks share: a program's start timed to its first picture on a
// screen, the X screen's look for one, and the spread of many runs.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <vector>

namespace firstframe {

struct FirstFrame {
  double wallMs = -1;
  double cpuMs = 0;
};

// One start of `command` (with `environment` added): the milliseconds from posix_spawn until
// `drawn` (asked every millisecond) says its first picture shows, and the CPU time all its
// threads had used by then; then SIGTERM ends it and `clear` makes the screen as it was. A
// negative time when the screen showed a picture before the start or none came within the
// kit's patience.
FirstFrame timeFirstFrame(const std::vector<std::string>& command,
                          const std::vector<std::string>& environment,
                          const std::function<bool()>& drawn, const std::function<void()>& clear);

// Whether anything but black shows on the X screen: a look at three rows and three columns, a
// quarter of the screen apart, which any picture of the middle of the screen crosses, at a
// fraction of the cost of reading the whole screen.
bool screenDrawn(Display* display);

// The q-quantile (0 to 1) of sorted values, between the two nearest where it falls between.
double quantile(const std::vector<double>& sorted, double q);

// "median M, quartiles Q1 to Q3, range MIN to MAX" of the values, each with `format`.
std::string spread(std::vector<double> values, const char* format);

}  // namespace firstframe
