// The connection, its registry and its event loop. A compositor that does not answer, and a
// connection that fails, are errors of one line; outputs and seats come and go at any time.
#include "wayland/WaylandDesktop.h"

#include <EGL/eglext.h>
#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "egl/SceneDrawable.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

// How long the compositor has to answer the first round trip.
constexpr int kAnswerMs = 5000;

WaylandDesktop* Desktop(void* data) {
  return static_cast<WaylandDesktop*>(data);
}

const wl_registry_listener kRegistryListener = {
    [](void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
      Desktop(data)->GlobalAdded(name, interface, version);
    },
    [](void* data, wl_registry*, std::uint32_t name) { Desktop(data)->GlobalRemoved(name); },
};

const xdg_wm_base_listener kWmBaseListener = {
    [](void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

const wl_callback_listener kDoneListener = {
    [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; },
};

// What libwayland last said on its own (XDG_RUNTIME_DIR unset, say), which would otherwise go
// to standard error beside the program's one line. Its handler takes no user data.
std::string gLibraryMessage;

extern "C" void KeepLibraryMessage(const char* format, va_list arguments) {
  char text[256];
  std::vsnprintf(text, sizeof text, format, arguments);
  gLibraryMessage = text;
  while (!gLibraryMessage.empty() && gLibraryMessage.back() == '\n') gLibraryMessage.pop_back();
  if (gLibraryMessage.starts_with("error: ")) gLibraryMessage.erase(0, 7);
}

// The socket libwayland connects to, as a user would name it.
std::string SocketName() {
  if (const char* socket = std::getenv("WAYLAND_SOCKET")) {
    return std::string("the socket in WAYLAND_SOCKET (") + socket + ")";
  }
  const char* name = std::getenv("WAYLAND_DISPLAY");
  return std::string("'") + (name != nullptr && *name != '\0' ? name : "wayland-0") + "'";
}

template <typename Interface>
Interface* Bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface,
                std::uint32_t offered, std::uint32_t wanted) {
  return static_cast<Interface*>(
      wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

}  // namespace

WaylandDesktop::WaylandDesktop(Shell shell, SaverInput& input)
    : input_(input), shell_(shell), where_(SocketName()) {
  wl_log_set_handler_client(KeepLibraryMessage);
  gLibraryMessage.clear();
  display_ = wl_display_connect(nullptr);
  if (display_ == nullptr) {
    const int error = errno;
    throw std::runtime_error("no Wayland compositor at " + where_ + ": " +
                             (gLibraryMessage.empty() ? std::strerror(error) : gLibraryMessage));
  }
  shells_.eglDisplay = [this](std::string& error) { return SharedEglDisplay(error); };
  try {
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    RoundTrip();
    if (shells_.compositor == nullptr) {
      throw std::runtime_error("the Wayland compositor at " + where_ + " offers no wl_compositor");
    }
    if (shells_.layerShell == nullptr && shells_.wmBase == nullptr) {
      throw std::runtime_error(
          "the Wayland compositor at " + where_ +
          (shell_ == Shell::Layer ? " offers no layer-shell (zwlr_layer_shell_v1)"
           : shell_ == Shell::Xdg ? " offers no xdg-shell (xdg_wm_base)"
                                  : " offers neither layer-shell nor xdg-shell"));
    }
    started_ = true;
    for (auto [name, version] : earlyOutputs_) GlobalAdded(name, wl_output_interface.name, version);
    earlyOutputs_.clear();
  } catch (...) {
    Close();
    throw;
  }
}

WaylandDesktop::~WaylandDesktop() {
  Close();
}

void WaylandDesktop::Close() {
  covers_.clear();
  seats_.clear();
  egl_.reset();
  if (shells_.layerShell != nullptr) zwlr_layer_shell_v1_destroy(shells_.layerShell);
  if (shells_.wmBase != nullptr) xdg_wm_base_destroy(shells_.wmBase);
  if (shells_.compositor != nullptr) wl_compositor_destroy(shells_.compositor);
  shells_ = {};
  if (registry_ != nullptr) wl_registry_destroy(registry_);
  registry_ = nullptr;
  if (display_ != nullptr) wl_display_disconnect(display_);
  display_ = nullptr;
}

// wl_display_roundtrip without its endless wait: a socket where nothing answers is an error.
void WaylandDesktop::RoundTrip() {
  bool done = false;
  wl_callback* sync = wl_display_sync(display_);
  wl_callback_add_listener(sync, &kDoneListener, &done);
  while (!done) {
    while (wl_display_prepare_read(display_) != 0) {
      if (wl_display_dispatch_pending(display_) < 0) Fail("lost the connection to");
    }
    wl_display_flush(display_);
    pollfd wait{wl_display_get_fd(display_), POLLIN, 0};
    const int ready = poll(&wait, 1, kAnswerMs);
    if (ready <= 0) {
      wl_display_cancel_read(display_);
      if (ready < 0 && errno == EINTR) continue;
      wl_callback_destroy(sync);
      throw std::runtime_error("no Wayland compositor answers at " + where_);
    }
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) {
      Fail("no Wayland compositor answers at");
    }
  }
  wl_callback_destroy(sync);
}

void WaylandDesktop::Fail(const std::string& doing) {
  const int protocolError = wl_display_get_error(display_);
  std::string why = doing + " " + where_;
  if (protocolError == EPROTO) {
    const wl_interface* interface = nullptr;
    const std::uint32_t code = wl_display_get_protocol_error(display_, &interface, nullptr);
    why = "the Wayland compositor at " + where_ + " ended the connection: error " +
          std::to_string(code) + " on " + (interface != nullptr ? interface->name : "?");
  }
  throw std::runtime_error(why);
}

void WaylandDesktop::DispatchPending() {
  if (wl_display_dispatch_pending(display_) < 0 || wl_display_get_error(display_) != 0) {
    Fail("lost the connection to the Wayland compositor at");
  }
}

void WaylandDesktop::Wait(int ms, int otherFd) {
  if (wl_display_prepare_read(display_) != 0) return;
  // A full socket buffer is sent once the compositor has read some of it.
  if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
    wl_display_cancel_read(display_);
    Fail("lost the connection to the Wayland compositor at");
  }
  pollfd waits[2] = {{wl_display_get_fd(display_), POLLIN, 0}, {otherFd, POLLIN, 0}};
  if (poll(waits, 2, ms) > 0 && (waits[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
    if (wl_display_read_events(display_) < 0)
      Fail("lost the connection to the Wayland compositor at");
  } else {
    wl_display_cancel_read(display_);
  }
}

void WaylandDesktop::GlobalAdded(std::uint32_t name, const std::string& interface,
                                 std::uint32_t version) {
  if (interface == wl_compositor_interface.name) {
    shells_.compositor = Bind<wl_compositor>(registry_, name, wl_compositor_interface, version, 4);
  } else if (interface == zwlr_layer_shell_v1_interface.name && shell_ != Shell::Xdg) {
    shells_.layerShell =
        Bind<zwlr_layer_shell_v1>(registry_, name, zwlr_layer_shell_v1_interface, version, 4);
  } else if (interface == xdg_wm_base_interface.name && shell_ != Shell::Layer) {
    shells_.wmBase = Bind<xdg_wm_base>(registry_, name, xdg_wm_base_interface, version, 3);
    xdg_wm_base_add_listener(shells_.wmBase, &kWmBaseListener, this);
  } else if (interface == wl_output_interface.name && !started_) {
    earlyOutputs_.emplace_back(name, version);
  } else if (interface == wl_output_interface.name) {
    covers_.push_back(std::make_unique<OutputCover>(
        shells_, Bind<wl_output>(registry_, name, wl_output_interface, version, 3), name));
  } else if (interface == wl_seat_interface.name) {
    seats_.push_back(std::make_unique<SeatInput>(
        Bind<wl_seat>(registry_, name, wl_seat_interface, version, 5), name, input_));
  }
}

void WaylandDesktop::GlobalRemoved(std::uint32_t name) {
  for (auto& cover : covers_) {
    if (cover->Name() == name) cover->LetGo();
  }
  std::erase_if(seats_, [name](const auto& seat) { return seat->Name() == name; });
}

void WaylandDesktop::RemoveGoneCovers() {
  std::erase_if(covers_, [](const auto& cover) { return cover->Gone(); });
}

std::shared_ptr<SceneEglDisplay> WaylandDesktop::SharedEglDisplay(std::string& error) {
  if (egl_) return egl_;
  const EGLDisplay display = PlatformEglDisplay("wayland", EGL_PLATFORM_WAYLAND_KHR, display_);
  if (display == EGL_NO_DISPLAY) {
    error = "EGL offers no Wayland platform: no EGL driver for Wayland is installed";
    return nullptr;
  }
  egl_ = SceneEglDisplay::Open(display, "the Wayland display", error);
  return egl_;
}
