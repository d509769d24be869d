// The X11 side of the scene's EGL context: the window's visual checked, the EGL display on the
// window's X connection, and the configuration and window surface for that visual.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "x11/SceneDrawable.h"
#include "x11/SceneVisual.h"

// The window keeps the visual it was made with; it must be one the scene can be drawn in, and
// EGL must have a configuration that draws into it.
std::shared_ptr<SceneEglDisplay> X11Drawable::OpenEglDisplay() {
  Display* x = display;
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(x, window, &attributes) == 0) {
    setupError = "cannot read the window's attributes";
    return nullptr;
  }
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(x, VisualIDMask, &wanted, &count);
  if (found == nullptr || count == 0) {
    setupError = "the window's visual " + HexId(wanted.visualid) + " is unknown";
    return nullptr;
  }
  visual_ = found[0];
  XFree(found);
  const std::string shortfall = SceneVisualShortfall(visual_);
  if (!shortfall.empty()) {
    setupError = "the window's visual " + HexId(visual_.visualid) + " " + shortfall;
    return nullptr;
  }

  const EGLDisplay egl = PlatformEglDisplay("x11", EGL_PLATFORM_X11_KHR, x);
  if (egl == EGL_NO_DISPLAY) {
    setupError = "EGL offers no X11 platform: no EGL driver for X11 is installed";
    return nullptr;
  }
  return SceneEglDisplay::Open(egl, "the X display", setupError);
}

bool X11Drawable::CreateSurface(EGLDisplay egl) {
  if ((config = ChooseSceneConfig(egl, display, visual_)) == nullptr) {
    setupError = "EGL has no configuration with " + std::to_string(kSceneColourBits) +
                 " bits per colour and a depth buffer for the window's visual " +
                 HexId(visual_.visualid);
    return false;
  }
  surface = eglCreateWindowSurface(egl, config, window, nullptr);
  if (surface != EGL_NO_SURFACE) return true;
  setupError = "cannot make an EGL surface on the window" + EglError();
  return false;
}
