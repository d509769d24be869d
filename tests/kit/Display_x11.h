// The X side of the Linux tests: an Xvfb display of the test's own, pictures of its windows,
// and a window of the test's own for the hack to draw into.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "tests/kit/Picture.h"
#include "tests/kit/Process.h"

namespace kit {

// A private Xvfb server (black background, GLX) from scripts/test-display, ended with the
// object. connection() is a connection of the test's own.
class TestDisplay {
 public:
  explicit TestDisplay(int width = 1024, int height = 768);
  ~TestDisplay();
  TestDisplay(const TestDisplay&) = delete;
  TestDisplay& operator=(const TestDisplay&) = delete;

  const std::string& name() const { return name_; }
  Display* connection() const { return connection_; }
  // "DISPLAY=<name>", for a program's environment.
  std::string variable() const { return "DISPLAY=" + name_; }

 private:
  std::unique_ptr<Process> server_;
  std::string name_;
  Display* connection_ = nullptr;
};

// The pixels of a window (or of the screen, for the root window).
Picture grabWindow(Display* display, Window window);

// A top-level window of the test's own at (x, y) with a double-buffered GLX visual with a
// depth buffer, as XScreenSaver's settings program makes for its preview; mapped and shown.
Window makeGLWindow(Display* display, int x, int y, int width, int height);

}  // namespace kit
