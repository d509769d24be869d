// The drawable a scene draws into on Linux, an X window, as TplanetsContext_glx.cpp needs it
// described: its display, size and visual. The program that owns the window keeps its size up
// to date and reads back a failed set-up.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <functional>
#include <string>

struct SceneDrawable {
  Display* display = nullptr;
  Window window = 0;
  // The window's size in pixels, followed from ConfigureNotify.
  int width = 0;
  int height = 0;
  // The window's visual, found by SetupPixelFormat.
  XVisualInfo visual{};
  // Set when the first tick could not make the context: why, in one line.
  bool setupFailed = false;
  std::string setupError;
  // Drawn over each finished frame just before the swap, when set (the --fps counter).
  std::function<void()> drawOverlay;
  // When set, called once the context is current, before the first projection, with its
  // largest viewport (GL_MAX_VIEWPORT_DIMS): the owner may make the window smaller then.
  std::function<void(int largestWidth, int largestHeight)> fitToViewport;
};
