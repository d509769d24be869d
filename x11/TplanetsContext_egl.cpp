// The scene on Linux: its owner is an X window, its context comes from EGL on that window's X
// connection, and a failed set-up is recorded for the program to report and end with.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <string_view>
#include <type_traits>

#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "x11/SceneDrawable.h"
#include "x11/SceneVisual.h"

static_assert(std::is_same_v<TDrawingHandle, EGLDisplay> &&
              std::is_same_v<TRenderContext, EGLContext>);

namespace {

// Whether a list of names that EGL gives, separated by spaces, has `word`.
bool HasWord(const char* words, std::string_view word) {
  for (std::string_view rest = words != nullptr ? words : ""; !rest.empty();) {
    const std::size_t end = std::min(rest.find(' '), rest.size());
    if (rest.substr(0, end) == word) return true;
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return false;
}

// The EGL display on the X connection, through EGL's X11 platform: EGL 1.5's call where the
// library names the platform, its extension's where only that is named, and EGL 1.4's native
// display where the library names no platforms at all. EGL_NO_DISPLAY when there is no X11
// platform (as with no EGL driver installed).
EGLDisplay X11Display(Display* x) {
  const char* platforms = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (platforms == nullptr) return eglGetDisplay(x);
  if (HasWord(platforms, "EGL_KHR_platform_x11")) {
    return eglGetPlatformDisplay(EGL_PLATFORM_X11_KHR, x, nullptr);
  }
  if (HasWord(platforms, "EGL_EXT_platform_x11")) {
    const auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getDisplay != nullptr) return getDisplay(EGL_PLATFORM_X11_EXT, x, nullptr);
  }
  return EGL_NO_DISPLAY;
}

std::string EglError() {
  return " (EGL error " + HexId(static_cast<unsigned long>(eglGetError())) + ")";
}

}  // namespace

bool TPlanets::CreateContext() {
  HasContext = SetupPixelFormat();
  if (!HasContext) return false;
  RC = eglCreateContext(DC, Form->config, EGL_NO_CONTEXT, nullptr);
  if (RC == EGL_NO_CONTEXT) {
    Form->setupError = "cannot make an OpenGL context" + EglError();
  } else if (!eglMakeCurrent(DC, Form->surface, Form->surface, RC)) {
    Form->setupError = "cannot make the OpenGL context current on the window" + EglError();
  } else {
    if (Form->fitToViewport) {
      GLint largest[2] = {0, 0};
      glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
      Form->fitToViewport(largest[0], largest[1]);
    }
    return true;
  }
  // Everything made on the display goes with it.
  eglTerminate(DC);
  DC = EGL_NO_DISPLAY;
  HasContext = false;
  return false;
}

// The window keeps the visual it was made with; it must be one the scene can be drawn in, and
// EGL must have a configuration that draws into it.
bool TPlanets::SetupPixelFormat() {
  Display* x = Form->display;
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(x, Form->window, &attributes) == 0) {
    Form->setupError = "cannot read the window's attributes";
    return false;
  }
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(x, VisualIDMask, &wanted, &count);
  if (found == nullptr || count == 0) {
    Form->setupError = "the window's visual " + HexId(wanted.visualid) + " is unknown";
    return false;
  }
  const XVisualInfo visual = found[0];
  XFree(found);
  const std::string shortfall = SceneVisualShortfall(visual);
  if (!shortfall.empty()) {
    Form->setupError = "the window's visual " + HexId(visual.visualid) + " " + shortfall;
    return false;
  }

  DC = X11Display(x);
  if (DC == EGL_NO_DISPLAY) {
    Form->setupError = "EGL offers no X11 platform: no EGL driver for X11 is installed";
    return false;
  }
  if (!eglInitialize(DC, nullptr, nullptr)) {
    Form->setupError = "cannot set up EGL on the X display" + EglError();
    DC = EGL_NO_DISPLAY;
    return false;
  }
  // The scene is OpenGL 1.1 and GLU: desktop OpenGL, and a context without a version asked
  // for, which is a compatibility context.
  if (!eglBindAPI(EGL_OPENGL_API)) {
    Form->setupError = "EGL on the X display cannot draw desktop OpenGL";
  } else if ((Form->config = ChooseSceneConfig(DC, x, visual)) == nullptr) {
    Form->setupError = "EGL has no configuration with " + std::to_string(kSceneColourBits) +
                       " bits per colour and a depth buffer for the window's visual " +
                       HexId(visual.visualid);
  } else {
    bool gone = false;
    Form->surface = CreateSceneSurface(DC, Form->config, x, Form->window, gone);
    if (Form->surface != EGL_NO_SURFACE) return true;
    Form->setupError =
        gone ? "the window is gone" : "cannot make an EGL surface on the window" + EglError();
  }
  eglTerminate(DC);
  DC = EGL_NO_DISPLAY;
  return false;
}

void TPlanets::ReleaseContext() {
  if (!HasContext) return;
  eglMakeCurrent(DC, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(DC, RC);
  eglDestroySurface(DC, Form->surface);
  Form->surface = EGL_NO_SURFACE;
  eglTerminate(DC);
  eglReleaseThread();
  HasContext = false;
}

int TPlanets::ClientWidth() const {
  return Form->width;
}

int TPlanets::ClientHeight() const {
  return Form->height;
}

void TPlanets::SwapFrame() {
  if (Form->drawOverlay) Form->drawOverlay();
  eglSwapBuffers(DC, Form->surface);
}

void TPlanets::EndAfterFailedSetup() {
  Form->setupFailed = true;
}
