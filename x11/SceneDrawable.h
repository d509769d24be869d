// The drawable a scene draws into on Linux, an X window, as TplanetsContext_egl.cpp needs it
// described: its display and size, and the EGL surface made on it. The program that owns the
// window keeps its size up to date and reads back a failed set-up.
#pragma once

#include <EGL/egl.h>
#include <X11/Xlib.h>

#include <functional>
#include <string>

struct SceneDrawable {
  Display* display = nullptr;
  Window window = 0;
  // The window's size in pixels, followed from ConfigureNotify.
  int width = 0;
  int height = 0;
  // The EGL configuration chosen for the window and the window surface made with it, by
  // SetupPixelFormat.
  EGLConfig config = nullptr;
  EGLSurface surface = EGL_NO_SURFACE;
  // Set when the first tick could not make the context: why, in one line.
  bool setupFailed = false;
  std::string setupError;
  // Drawn over each finished frame just before the swap, when set (the --fps counter).
  std::function<void()> drawOverlay;
  // When set, called once the context is current, before the first projection, with its
  // largest viewport (GL_MAX_VIEWPORT_DIMS): the owner may make the window smaller then.
  std::function<void(int largestWidth, int largestHeight)> fitToViewport;
};
