// The scene's OpenGL context on Linux, the same for X11 and Wayland: an EGL context on the EGL
// display and window surface that the drawable's platform makes, and a failed set-up recorded
// for the program to report and end with.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <type_traits>

#include "egl/SceneDrawable.h"
#include "scene/GL.h"
#include "scene/Tplanets.h"

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

}  // namespace

EGLDisplay PlatformEglDisplay(const std::string& name, EGLenum platform, void* native) {
  const char* platforms = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (platforms == nullptr) return eglGetDisplay(static_cast<EGLNativeDisplayType>(native));
  if (HasWord(platforms, "EGL_KHR_platform_" + name)) {
    return eglGetPlatformDisplay(platform, native, nullptr);
  }
  if (HasWord(platforms, "EGL_EXT_platform_" + name)) {
    const auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getDisplay != nullptr) return getDisplay(platform, native, nullptr);
  }
  return EGL_NO_DISPLAY;
}

std::string EglError() {
  char text[48];
  std::snprintf(text, sizeof text, " (EGL error 0x%x)", static_cast<unsigned>(eglGetError()));
  return text;
}

std::shared_ptr<SceneEglDisplay> SceneEglDisplay::Open(EGLDisplay display, const std::string& where,
                                                       std::string& error) {
  if (!eglInitialize(display, nullptr, nullptr)) {
    error = "cannot set up EGL on " + where + EglError();
    return nullptr;
  }
  auto opened = std::make_shared<SceneEglDisplay>(display);
  // The scene is OpenGL 1.1 and GLU: desktop OpenGL, and a context without a version asked
  // for, which is a compatibility context.
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error = "EGL on " + where + " cannot draw desktop OpenGL";
    return nullptr;
  }
  return opened;
}

SceneEglDisplay::~SceneEglDisplay() {
  eglTerminate(display_);
  eglReleaseThread();
}

bool TPlanets::CreateContext() {
  HasContext = SetupPixelFormat();
  if (!HasContext) return false;
  RC = eglCreateContext(DC, Form->config, EGL_NO_CONTEXT, nullptr);
  if (RC == EGL_NO_CONTEXT) {
    Form->setupError = "cannot make an OpenGL context" + EglError();
  } else if (!eglMakeCurrent(DC, Form->surface, Form->surface, RC)) {
    Form->setupError = "cannot make the OpenGL context current on the window" + EglError();
  } else {
    if (Form->swapAtOnce) eglSwapInterval(DC, 0);
    if (Form->fitToViewport) {
      GLint largest[2] = {0, 0};
      glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
      Form->fitToViewport(largest[0], largest[1]);
    }
    return true;
  }
  // Other scenes may share the display: what this one made goes, the display stays theirs.
  if (RC != EGL_NO_CONTEXT) eglDestroyContext(DC, RC);
  RC = EGL_NO_CONTEXT;
  eglDestroySurface(DC, Form->surface);
  Form->surface = EGL_NO_SURFACE;
  Form->egl.reset();
  DC = EGL_NO_DISPLAY;
  HasContext = false;
  return false;
}

// The platform checks the window, gives the EGL display and makes the window surface.
bool TPlanets::SetupPixelFormat() {
  Form->egl = Form->OpenEglDisplay();
  if (!Form->egl) return false;
  DC = Form->egl->Handle();
  if (Form->CreateSurface(DC)) return true;
  Form->egl.reset();
  DC = EGL_NO_DISPLAY;
  return false;
}

void TPlanets::ReleaseContext() {
  if (!HasContext) return;
  eglMakeCurrent(DC, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(DC, RC);
  eglDestroySurface(DC, Form->surface);
  Form->surface = EGL_NO_SURFACE;
  // The display is terminated with the last scene that holds it.
  Form->egl.reset();
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
