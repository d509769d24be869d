// The Wayland desktop that velorium covers: the connection to the compositor, its globals,
// one OutputCover per output, arriving and leaving while it runs, and its seats' input,
// reported to the saver's input rule. Everything arrives through DispatchPending().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/SaverInput.h"
#include "wayland/OutputCover.h"
#include "wayland/SeatInput.h"

struct wl_display;
struct wl_registry;

class WaylandDesktop {
public:
  // Which shell makes the covers.
  enum class Shell {
    Any,    // layer-shell where the compositor offers it, else xdg-shell
    Layer,  // layer-shell only
    Xdg,    // xdg-shell only
  };
  // Connects as libwayland does (WAYLAND_SOCKET, else WAYLAND_DISPLAY, else wayland-0) and
  // learns the compositor's globals, outputs and seats. Throws std::runtime_error, one line,
  // when no compositor answers there within a few seconds or it lacks what `shell` needs.
  WaylandDesktop(Shell shell, SaverInput& input);
  // Lets every cover and seat go, then the EGL display and the connection.
  ~WaylandDesktop();
  WaylandDesktop(const WaylandDesktop&) = delete;
  WaylandDesktop& operator=(const WaylandDesktop&) = delete;

  // Handles every event already read. Throws std::runtime_error when the connection has
  // failed: the compositor ended, or ended the connection for an error.
  void DispatchPending();
  // Sends what is buffered and waits at most `ms` milliseconds (-1: no limit) for the
  // compositor to send something or `otherFd` to become readable; reads what has come.
  void Wait(int ms, int otherFd);

  // One cover per output, in the order the outputs came. A cover whose output went stays
  // here, Gone(), until RemoveGoneCovers().
  const std::vector<std::unique_ptr<OutputCover>>& Covers() const { return covers_; }
  // Destroys the covers that are gone: the scenes on them must have been released.
  void RemoveGoneCovers();

  // The registry's events, from its listener in WaylandDesktop.cpp.
  void GlobalAdded(std::uint32_t name, const std::string& interface, std::uint32_t version);
  void GlobalRemoved(std::uint32_t name);

private:
  void Close();
  void RoundTrip();
  void Fail(const std::string& doing);
  std::shared_ptr<SceneEglDisplay> SharedEglDisplay(std::string& error);

  SaverInput& input_;
  Shell shell_;
  std::string where_;
  wl_display* display_ = nullptr;
  wl_registry* registry_ = nullptr;
  CoverShells shells_;
  std::shared_ptr<SceneEglDisplay> egl_;
  // Outputs that came before the shells were known.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> earlyOutputs_;
  bool started_ = false;
  std::vector<std::unique_ptr<OutputCover>> covers_;
  std::vector<std::unique_ptr<SeatInput>> seats_;
};
