// The X side of the Linux tests: an Xvfb display of the test's own, pictures of its windows,
// and a window of the test's own for the hack to draw into.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <string>

#include "tests/kit/Picture.h"
#include "tests/kit/Process.h"

namespace kit {

// A private Xvfb server (black background, GLX, `depth` bits a pixel, its root window and
// default visual of class `visualClass`) from scripts/test-display, ended with the object.
// connection() is a connection of the test's own.
class TestDisplay {
public:
  explicit TestDisplay(int width = 1024, int height = 768, int depth = 24,
                       int visualClass = TrueColor);
  ~TestDisplay();
  TestDisplay(const TestDisplay&) = delete;
  TestDisplay& operator=(const TestDisplay&) = delete;

  const std::string& name() const { return name_; }
  Display* connection() const { return connection_; }
  // "DISPLAY=<name>", for a program's environment.
  std::string variable() const { return "DISPLAY=" + name_; }
  // Sends the server a signal: SIGSTOP makes it stop answering, SIGCONT answer again.
  void signalServer(int number) const { server_->signal(number); }

private:
  std::unique_ptr<Process> server_;
  std::string name_;
  Display* connection_ = nullptr;
};

// The pixels of a window (or of the screen, for the root window), in the colours its colormap
// shows them in: a TrueColor window's values are its colours, other classes' go through it.
Picture grabWindow(Display* display, Window window);

// A top-level window of the test's own at (x, y), of the visual velorium's own window takes, as
// XScreenSaver's settings program makes one of an OpenGL visual for its preview; mapped and shown.
Window makeGLWindow(Display* display, int x, int y, int width, int height);

// A display the test plays on a TCP port of its own (name()): a program connects to it and
// waits for the X server's answer, which comes only when the test hands it one.
class PlayedDisplay {
public:
  PlayedDisplay();
  ~PlayedDisplay();
  PlayedDisplay(const PlayedDisplay&) = delete;
  PlayedDisplay& operator=(const PlayedDisplay&) = delete;

  const std::string& name() const { return name_; }
  // Waits for a connection and reads its set-up request; false when none came.
  bool takeConnection();
  // Passes the set-up request to the real display (":N") and its answer back, then hangs up.
  void answerFromThenHangUp(const std::string& realDisplay);

private:
  std::string name_, request_;
  int listener_ = -1;
  int client_ = -1;
};

}  // namespace kit
