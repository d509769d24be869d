// The drawable a scene draws into on X11, an X window: its display and window beside what every
// drawable has, and the X11 side of the EGL context's set-up (TplanetsContext_egl.cpp). The
// program that owns the window keeps its size up to date and reads back a failed set-up.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "egl/SceneDrawable.h"

struct X11Drawable : SceneDrawable {
  Display* display = nullptr;
  Window window = 0;

  // Checks the window's visual, then gives the EGL display on the X connection, one per
  // window.
  std::shared_ptr<SceneEglDisplay> OpenEglDisplay() override;
  bool CreateSurface(EGLDisplay display) override;

private:
  // The window's visual, read by OpenEglDisplay.
  XVisualInfo visual_{};
};
