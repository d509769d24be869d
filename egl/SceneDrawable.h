// The drawable a scene draws into on Linux, as the shared EGL context (TplanetsContext_egl.cpp)
// needs it: its size, the EGL display and window surface that its platform (x11/, wayland/)
// makes, and a failed set-up for the program that owns it to read back.
#pragma once

#include <EGL/egl.h>

#include <functional>
#include <memory>
#include <string>

// An EGL display, initialised, with desktop OpenGL bound: several scenes on one connection
// share it, and it is terminated when the last of them lets it go.
class SceneEglDisplay {
public:
  // Initialises `display`; null, with `error` in one line naming `where` ("the X display"),
  // when EGL cannot set it up for desktop OpenGL.
  static std::shared_ptr<SceneEglDisplay> Open(EGLDisplay display, const std::string& where,
                                               std::string& error);
  explicit SceneEglDisplay(EGLDisplay display) : display_(display) {}
  // Terminates the display: everything still made on it goes with it.
  ~SceneEglDisplay();
  SceneEglDisplay(const SceneEglDisplay&) = delete;
  SceneEglDisplay& operator=(const SceneEglDisplay&) = delete;
  EGLDisplay Handle() const { return display_; }

private:
  EGLDisplay display_;
};

// The EGL display of a native display through EGL's platform `name` ("x11", "wayland"): EGL
// 1.5's call where the library names the platform, its extension's where only that is named,
// and EGL 1.4's native display where the library names no platforms at all. EGL_NO_DISPLAY
// when EGL has no such platform (as with no EGL driver installed).
EGLDisplay PlatformEglDisplay(const std::string& name, EGLenum platform, void* native);
// EGL's last error, " (EGL error 0x3003)", to end a message with.
std::string EglError();

struct SceneDrawable {
  virtual ~SceneDrawable() = default;
  // The drawable's size in pixels, kept up to date by its owner.
  int width = 0;
  int height = 0;
  // The EGL configuration chosen for the window and the window surface made with it, by
  // CreateSurface; the display they are made on, held while the context lives.
  EGLConfig config = nullptr;
  EGLSurface surface = EGL_NO_SURFACE;
  std::shared_ptr<SceneEglDisplay> egl;
  // Swap interval 0, so that no swap waits for the screen: where the compositor's frame
  // callbacks say when a frame can be shown.
  bool swapAtOnce = false;
  // Set when the first tick could not make the context: why, in one line.
  bool setupFailed = false;
  std::string setupError;
  // Drawn over each finished frame just before the swap, when set (the --fps counter).
  std::function<void()> drawOverlay;
  // When set, called once the context is current, before the first projection, with its
  // largest viewport (GL_MAX_VIEWPORT_DIMS): the owner may make the window smaller then.
  std::function<void(int largestWidth, int largestHeight)> fitToViewport;

  // The platform's part of the context's set-up, in this order. The EGL display of the
  // drawable's connection; null, with setupError set, when there is none for it.
  virtual std::shared_ptr<SceneEglDisplay> OpenEglDisplay() = 0;
  // Sets config and surface, the window surface on `display`; false, with setupError set,
  // when it cannot be made.
  virtual bool CreateSurface(EGLDisplay display) = 0;
};
