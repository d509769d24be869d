// The window velorium draws into, on its own display connection: a window of its own or a
// foreign one (the daemon's, the settings program's preview, the root window), its events,
// and X errors, which are caught and judged instead of ending the program.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "hack/HackCommandLine.h"
#include "x11/SceneDrawable.h"

// A failure the program reports in one line on standard error before it ends with status 1.
class HackError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class HackWindow {
public:
  // Opens the display and the window the options name; throws HackError when either cannot
  // be had, or when the program's own window finds no suitable visual.
  explicit HackWindow(const HackOptions& options);
  // Destroys the program's own window, if any, and closes the display.
  ~HackWindow();
  HackWindow(const HackWindow&) = delete;
  HackWindow& operator=(const HackWindow&) = delete;

  X11Drawable& Scene() { return scene_; }
  // For poll(): readable when the X server has sent something.
  int ConnectionDescriptor() const;
  // Sends what is buffered and reads what has arrived; whether events wait to be handled.
  bool EventsWaiting();

  struct Events {
    bool resized = false;  // the size in Scene() changed
    bool closed = false;   // the user closed the program's own window (button, Escape, q)
    bool gone = false;     // the window was destroyed by someone else
  };
  // Whether the window drawn in can be seen: it and every window above it are mapped, and it
  // is not wholly covered by other windows (a compositing manager hides that: under one it is
  // never covered). Always true for a root window.
  bool Seen() const { return viewable_ && !covered_; }
  // Handles every event that has arrived, and judges the X errors since the last call:
  // errors from a window that no longer exists mean it is gone; any other error throws
  // HackError with its text.
  Events HandleEvents();

private:
  void OpenOwnWindow();
  void OpenForeignWindow(Window window);
  void OpenDrawnWindow();
  bool FitDrawnWindow();
  void FollowViewable(bool ancestorsToo);
  bool Quietly(const std::function<void()>& requests);
  bool WindowExists();
  void JudgeErrors(Events& events);

  X11Drawable scene_;
  bool own_ = false;
  bool gone_ = false;
  bool viewable_ = true;
  bool covered_ = false;
  Colormap colormap_ = 0;
  Atom deleteWindow_ = 0;
  // The window that holds the window the scene is drawn in (the program's own or a foreign
  // one), when there is one, its size, the part of it drawn in, and the largest viewport once
  // known (the context's, or the screen's size for the program's own window).
  Window host_ = 0;
  int hostWidth_ = 0;
  int hostHeight_ = 0;
  XRectangle drawnPart_{};
  int largestWidth_ = 0;
  int largestHeight_ = 0;
  std::string displayName_;
};
