// A surface on one output: its shell role, the size the compositor gives it, the output's
// scale, the EGL window and surface it is drawn through, and the frame callbacks.
#include "wayland/OutputCover.h"

#include <wayland-client.h>
#include <wayland-egl.h>

#include <climits>
#include <utility>
#include <vector>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

// What Windows' pixel format asks for, as on X11: 8 bits per primary and a depth buffer.
constexpr EGLint kColourBits = 8;
constexpr EGLint kLeastDepthBits = 16;

OutputCover* Cover(void* data) {
  return static_cast<OutputCover*>(data);
}

const zwlr_layer_surface_v1_listener kLayerListener = {
    [](void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial, std::uint32_t width,
       std::uint32_t height) {
      zwlr_layer_surface_v1_ack_configure(layer, serial);
      Cover(data)->Configured(static_cast<int>(width), static_cast<int>(height));
    },
    [](void* data, zwlr_layer_surface_v1*) { Cover(data)->LetGo(); },
};

const xdg_surface_listener kXdgSurfaceListener = {
    [](void* data, xdg_surface* surface, std::uint32_t serial) {
      xdg_surface_ack_configure(surface, serial);
      Cover(data)->ToplevelSizeApplied();
    },
};

const xdg_toplevel_listener kToplevelListener = {
    [](void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*) {
      Cover(data)->ToplevelSize(width, height);
    },
    [](void* data, xdg_toplevel*) { Cover(data)->CloseAskedByUser(); },
    [](void*, xdg_toplevel*, std::int32_t, std::int32_t) {},
    [](void*, xdg_toplevel*, wl_array*) {},
};

const wl_output_listener kOutputListener = {
    [](void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
       const char*, const char*, std::int32_t) {},
    [](void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
       std::int32_t) {
      if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) Cover(data)->OutputMode(width, height);
    },
    [](void*, wl_output*) {},
    [](void* data, wl_output*, std::int32_t scale) { Cover(data)->OutputScale(scale); },
    [](void*, wl_output*, const char*) {},
    [](void*, wl_output*, const char*) {},
};

const wl_callback_listener kFrameListener = {
    [](void* data, wl_callback*, std::uint32_t) { Cover(data)->FrameShown(); },
};

EGLint ConfigAttribute(EGLDisplay display, EGLConfig config, EGLint attribute) {
  EGLint value = 0;
  return eglGetConfigAttrib(display, config, attribute, &value) ? value : 0;
}

// A window configuration of desktop OpenGL with the scene's colours and the largest depth
// buffer, opaque (no alpha) before any other, so that the compositor need not blend it.
EGLConfig ChooseWaylandConfig(EGLDisplay display) {
  // clang-format off
  const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                           EGL_RED_SIZE, kColourBits, EGL_GREEN_SIZE, kColourBits,
                           EGL_BLUE_SIZE, kColourBits, EGL_DEPTH_SIZE, kLeastDepthBits, EGL_NONE};
  // clang-format on
  EGLint count = 0;
  if (!eglChooseConfig(display, wanted, nullptr, 0, &count) || count <= 0) return nullptr;
  std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
  if (!eglChooseConfig(display, wanted, configs.data(), count, &count)) return nullptr;
  EGLConfig best = nullptr;
  std::pair<bool, EGLint> bestRank(false, -1);
  for (EGLint k = 0; k < count; ++k) {
    const std::pair<bool, EGLint> rank(ConfigAttribute(display, configs[k], EGL_ALPHA_SIZE) == 0,
                                       ConfigAttribute(display, configs[k], EGL_DEPTH_SIZE));
    if (rank > bestRank) {
      best = configs[k];
      bestRank = rank;
    }
  }
  return best;
}

}  // namespace

OutputCover::OutputCover(const CoverShells& shells, wl_output* output, std::uint32_t name)
    : shells_(shells), output_(output), name_(name) {
  swapAtOnce = true;
  wl_output_add_listener(output_, &kOutputListener, this);
  surface_ = wl_compositor_create_surface(shells.compositor);
  // The scene is opaque: the compositor draws nothing under it.
  wl_region* opaque = wl_compositor_create_region(shells.compositor);
  wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
  wl_surface_set_opaque_region(surface_, opaque);
  wl_region_destroy(opaque);
  if (shells.layerShell != nullptr) {
    MakeLayerSurface(shells);
  } else {
    MakeToplevel(shells);
  }
  wl_surface_commit(surface_);
}

// Over everything on its output, whatever others keep for themselves, with every key.
void OutputCover::MakeLayerSurface(const CoverShells& shells) {
  layer_ = zwlr_layer_shell_v1_get_layer_surface(shells.layerShell, surface_, output_,
                                                 ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "velorium");
  zwlr_layer_surface_v1_add_listener(layer_, &kLayerListener, this);
  zwlr_layer_surface_v1_set_size(layer_, 0, 0);
  zwlr_layer_surface_v1_set_anchor(
      layer_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                  ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
  zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
  zwlr_layer_surface_v1_set_keyboard_interactivity(
      layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
}

void OutputCover::MakeToplevel(const CoverShells& shells) {
  xdgSurface_ = xdg_wm_base_get_xdg_surface(shells.wmBase, surface_);
  xdg_surface_add_listener(xdgSurface_, &kXdgSurfaceListener, this);
  toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
  xdg_toplevel_add_listener(toplevel_, &kToplevelListener, this);
  xdg_toplevel_set_title(toplevel_, "Velorium");
  xdg_toplevel_set_app_id(toplevel_, "velorium");
  xdg_toplevel_set_fullscreen(toplevel_, output_);
}

OutputCover::~OutputCover() {
  if (frameCallback_ != nullptr) wl_callback_destroy(frameCallback_);
  if (eglWindow_ != nullptr) wl_egl_window_destroy(eglWindow_);
  if (layer_ != nullptr) zwlr_layer_surface_v1_destroy(layer_);
  if (toplevel_ != nullptr) xdg_toplevel_destroy(toplevel_);
  if (xdgSurface_ != nullptr) xdg_surface_destroy(xdgSurface_);
  wl_surface_destroy(surface_);
  if (wl_output_get_version(output_) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
    wl_output_release(output_);
  } else {
    wl_output_destroy(output_);
  }
}

void OutputCover::Configured(int logicalWidth, int logicalHeight) {
  requestedWidth_ = logicalWidth;
  requestedHeight_ = logicalHeight;
  configured_ = true;
  FollowSize();
}

// The compositor's size, where it gives one, else the output's mode in its scale (a mode or
// scale may come after the configure that left the size to us).
void OutputCover::FollowSize() {
  if (!configured_) return;
  logicalWidth_ = requestedWidth_ > 0 ? requestedWidth_ : modeWidth_ / scale_;
  logicalHeight_ = requestedHeight_ > 0 ? requestedHeight_ : modeHeight_ / scale_;
  if (logicalWidth_ <= 0 || logicalHeight_ <= 0 || eglWindow_ != nullptr) return;
  eglWindow_ = wl_egl_window_create(surface_, 1, 1);
  ApplySize();
}

void OutputCover::ToplevelSize(int logicalWidth, int logicalHeight) {
  pendingWidth_ = logicalWidth;
  pendingHeight_ = logicalHeight;
}

void OutputCover::ToplevelSizeApplied() {
  Configured(pendingWidth_, pendingHeight_);
}

void OutputCover::OutputMode(int pixelWidth, int pixelHeight) {
  modeWidth_ = pixelWidth;
  modeHeight_ = pixelHeight;
  FollowSize();
}

void OutputCover::OutputScale(int scale) {
  scale_ = scale > 0 ? scale : 1;
  FollowSize();
}

void OutputCover::FrameShown() {
  wl_callback_destroy(frameCallback_);
  frameCallback_ = nullptr;
}

void OutputCover::RequestFrameCallback() {
  frameCallback_ = wl_surface_frame(surface_);
  wl_callback_add_listener(frameCallback_, &kFrameListener, this);
}

bool OutputCover::ApplySize() {
  const int pixelWidth = logicalWidth_ * scale_;
  const int pixelHeight = logicalHeight_ * scale_;
  if (eglWindow_ == nullptr) return false;
  if (scale_ != appliedScale_) {
    wl_surface_set_buffer_scale(surface_, scale_);
    appliedScale_ = scale_;
  }
  if (pixelWidth == width && pixelHeight == height) return false;
  wl_egl_window_resize(eglWindow_, pixelWidth, pixelHeight, 0, 0);
  width = pixelWidth;
  height = pixelHeight;
  return true;
}

std::shared_ptr<SceneEglDisplay> OutputCover::OpenEglDisplay() {
  return shells_.eglDisplay(setupError);
}

bool OutputCover::CreateSurface(EGLDisplay display) {
  if ((config = ChooseWaylandConfig(display)) == nullptr) {
    setupError = "EGL has no configuration with " + std::to_string(kColourBits) +
                 " bits per colour and a depth buffer for Wayland";
    return false;
  }
  surface = eglCreateWindowSurface(display, config,
                                   reinterpret_cast<EGLNativeWindowType>(eglWindow_), nullptr);
  if (surface != EGL_NO_SURFACE) return true;
  setupError = "cannot make an EGL surface on the Wayland surface" + EglError();
  return false;
}
