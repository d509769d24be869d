// One output of the Wayland desktop covered by a surface of the saver's own: a layer-shell
// overlay anchored to every edge, or a full-screen xdg_toplevel, drawn through EGL at the
// output's size and scale, its frames paced by the compositor's frame callbacks.
#pragma once

#include <cstdint>
#include <functional>

#include "egl/SceneDrawable.h"

struct wl_callback;
struct wl_compositor;
struct wl_egl_window;
struct wl_output;
struct wl_surface;
struct xdg_surface;
struct xdg_toplevel;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

// What a cover needs of the desktop it is on: the compositor, the shell and the shared EGL
// display.
struct CoverShells {
  wl_compositor* compositor = nullptr;
  // Layer-shell where the compositor offers it and it is not refused, else xdg-shell.
  zwlr_layer_shell_v1* layerShell = nullptr;
  xdg_wm_base* wmBase = nullptr;
  // The EGL display every cover's scene shares, opened when the first needs it.
  std::function<std::shared_ptr<SceneEglDisplay>(std::string& error)> eglDisplay;
};

class OutputCover : public SceneDrawable {
public:
  // Covers `output` (the registry's global `name`) with a new surface of the shell that
  // `shells` offers, and commits it: the compositor answers with its size.
  OutputCover(const CoverShells& shells, wl_output* output, std::uint32_t name);
  // Destroys the surface, its role and the output: the scene on it must be released first.
  ~OutputCover() override;
  OutputCover(const OutputCover&) = delete;
  OutputCover& operator=(const OutputCover&) = delete;

  std::uint32_t Name() const { return name_; }
  // The output went or the compositor closed the surface: the cover is to be let go.
  bool Gone() const { return gone_; }
  void LetGo() { gone_ = true; }
  // The user closed the full-screen window (xdg-shell's close): the saver is to end.
  bool CloseAsked() const { return closeAsked_; }
  // Whether a frame drawn now would be shown: the size is known, and the frame callback of
  // the last frame has come.
  bool CanShow() const { return eglWindow_ != nullptr && frameCallback_ == nullptr; }
  // Before a frame that will be swapped: asks for the callback that says when it was shown.
  void RequestFrameCallback();
  // Takes a size or scale the compositor changed into the EGL window and the buffer scale, for
  // the next frame's swap; whether width and height changed.
  bool ApplySize();

  std::shared_ptr<SceneEglDisplay> OpenEglDisplay() override;
  bool CreateSurface(EGLDisplay display) override;

  // The protocol's events, from the listeners in OutputCover.cpp.
  void Configured(int logicalWidth, int logicalHeight);
  void ToplevelSize(int logicalWidth, int logicalHeight);
  void ToplevelSizeApplied();
  void OutputMode(int pixelWidth, int pixelHeight);
  void OutputScale(int scale);
  void FrameShown();
  void CloseAskedByUser() { closeAsked_ = true; }

private:
  void FollowSize();
  void MakeLayerSurface(const CoverShells& shells);
  void MakeToplevel(const CoverShells& shells);

  const CoverShells& shells_;
  wl_output* output_;
  std::uint32_t name_;
  wl_surface* surface_ = nullptr;
  zwlr_layer_surface_v1* layer_ = nullptr;
  xdg_surface* xdgSurface_ = nullptr;
  xdg_toplevel* toplevel_ = nullptr;
  wl_egl_window* eglWindow_ = nullptr;
  wl_callback* frameCallback_ = nullptr;
  // Surface-local size from the compositor (0: ours to choose) and the one drawn at, the
  // output's scale and its mode in pixels.
  bool configured_ = false;
  int requestedWidth_ = 0;
  int requestedHeight_ = 0;
  int logicalWidth_ = 0;
  int logicalHeight_ = 0;
  int pendingWidth_ = 0;
  int pendingHeight_ = 0;
  int scale_ = 1;
  int appliedScale_ = 1;
  int modeWidth_ = 0;
  int modeHeight_ = 0;
  bool gone_ = false;
  bool closeAsked_ = false;
};
