// The Wayland side of the Linux tests: a headless compositor of the test's own (sway, or cage,
// which has no layer-shell), run as nobody when the test runs as root (sway refuses root), its
// pictures through grim, a key through wtype and a pointer of the test's own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/kit/Picture.h"
#include "tests/kit/Process.h"

struct wl_display;
struct zwlr_virtual_pointer_v1;

namespace kit {

// The wallpaper of every sway output: a colour the scene never draws (its lines and planets'
// colours, shaded or not, have two channels alike, or one channel at 0 and the others alike;
// the comet's lie on the line from blue-violet to white).
inline constexpr std::uint32_t kWallpaper = 0x5A1E9C;

class WaylandSession {
public:
  // Headless sway, without XWayland, with `outputs` outputs (HEADLESS-1, HEADLESS-2, ...) of
  // width x height pixels side by side, refreshed `refreshHz` times a second.
  explicit WaylandSession(int outputs = 2, int width = 320, int height = 240, int refreshHz = 60);
  // Headless cage running `app` (the words of a command) in its one output of 1280x720.
  explicit WaylandSession(const std::vector<std::string>& app);
  ~WaylandSession();
  WaylandSession(const WaylandSession&) = delete;
  WaylandSession& operator=(const WaylandSession&) = delete;

  // The environment of a client of the session: its runtime folder (also its HOME), display
  // and sway's IPC socket. Clients run as root connect too.
  std::vector<std::string> environment() const;
  const std::string& runtimeFolder() const { return folder_; }
  const std::string& socketName() const { return socket_; }
  std::string socketPath() const { return folder_ + "/" + socket_; }
  // sway's IPC socket: a socket that is no Wayland compositor.
  std::string ipcSocketPath() const { return folder_ + "/" + ipcSocket_; }
  // Starts `command` in the session as the session's user, `environment` added.
  std::unique_ptr<Process> start(const std::vector<std::string>& command,
                                 const std::vector<std::string>& environment = {}) const;
  // Runs `command` in the session to its end.
  Outcome run(const std::vector<std::string>& command) const;
  // Runs a sway command through swaymsg; true when sway did it.
  bool sway(const std::string& command) const;
  // grim's picture of one output by name, or of all of them; of a region of the layout, in
  // grim's words ("X,Y WIDTHxHEIGHT").
  Picture picture(const std::string& output = "") const;
  Picture pictureOfRegion(const std::string& region) const;
  // Presses and releases one key (an XKB name such as "space") through a keyboard that wtype
  // makes for it, half a second after the keyboard appears.
  bool typeKey(const std::string& key) const;

  // The test's own pointer, made with a sway session so that the seat has a pointer from the
  // start (cage's sessions have none): `count` moves of one pixel, each a motion event of the
  // surface below the cursor; a press and release of a button (a Linux input code, BTN_LEFT...);
  // one wheel step down.
  void movePointer(int count);
  void click(unsigned button);
  void scrollWheel();

  // Ends the compositor at once, as a crash would.
  void kill();

private:
  void startCompositor(const std::vector<std::string>& command,
                       const std::vector<std::string>& environment);
  void sendPointer();
  // grim with the words that choose what it copies.
  Picture grim(std::vector<std::string> command) const;

  std::string folder_, socket_, ipcSocket_;
  std::unique_ptr<Process> compositor_;
  wl_display* display_ = nullptr;
  zwlr_virtual_pointer_v1* pointer_ = nullptr;
  unsigned time_ = 0;
};

}  // namespace kit
