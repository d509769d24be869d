// The first-frame benchmarks' timing through the test kit's process runner, and XGetImage.
#include "bench/FirstFrame.h"

#include <signal.h>

#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "tests/kit/Process.h"
#include "tests/kit/Wait.h"

namespace firstframe {
namespace {

// Whether a part of the root window has any pixel that is not black.
bool partDrawn(Display* display, int x, int y, int width, int height) {
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  bool drawn = false;
  for (int row = 0; row < height && !drawn; ++row) {
    for (int column = 0; column < width && !drawn; ++column) {
      drawn = (XGetPixel(image, column, row) & 0xFFFFFF) != 0;
    }
  }
  XDestroyImage(image);
  return drawn;
}

}  // namespace

FirstFrame timeFirstFrame(const std::vector<std::string>& command,
                          const std::vector<std::string>& environment,
                          const std::function<bool()>& drawn, const std::function<void()>& clear) {
  if (drawn()) return {};
  const auto started = std::chrono::steady_clock::now();
  kit::Process program(command, environment);
  const bool shown = kit::waitUntil(drawn, kit::kPatience, kit::Milliseconds{1});
  const std::chrono::duration<double, std::milli> time = std::chrono::steady_clock::now() - started;
  const double cpuMs = program.cpuSeconds() * 1000;
  program.signal(SIGTERM);
  program.wait();
  clear();
  if (!shown) return {};
  return {time.count(), cpuMs};
}

bool screenDrawn(Display* display) {
  const int width = DisplayWidth(display, DefaultScreen(display));
  const int height = DisplayHeight(display, DefaultScreen(display));
  for (int quarter = 1; quarter <= 3; ++quarter) {
    if (partDrawn(display, 0, height * quarter / 4, width, 1) ||
        partDrawn(display, width * quarter / 4, 0, 1, height)) {
      return true;
    }
  }
  return false;
}

double quantile(const std::vector<double>& sorted, double q) {
  const double at = q * static_cast<double>(sorted.size() - 1);
  const std::size_t below = static_cast<std::size_t>(at);
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

std::string spread(std::vector<double> values, const char* format) {
  std::sort(values.begin(), values.end());
  std::string text;
  const char* labels[] = {"median ", ", quartiles ", " to ", ", range ", " to "};
  const double points[] = {0.5, 0.25, 0.75, 0, 1};
  for (int k = 0; k < 5; ++k) {
    char number[32];
    std::snprintf(number, sizeof number, format, quantile(values, points[k]));
    text += labels[k];
    text += number;
  }
  return text;
}

}  // namespace firstframe
