// Headless sway and cage through their own environment variables, as nobody through setpriv;
// the pointer through the virtual-pointer protocol on a connection of the test's own.
#include "tests/kit/Session_wayland.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace kit {
namespace {

namespace fs = std::filesystem;

// The command as the session's user: nobody when the test runs as root.
std::vector<std::string> asSessionUser(const std::vector<std::string>& command) {
  std::vector<std::string> words;
  if (geteuid() == 0) words = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
  words.insert(words.end(), command.begin(), command.end());
  return words;
}

// A new folder of the session's user that no one else may enter, as a runtime folder must be.
std::string makeRuntimeFolder() {
  std::string folder = "/tmp/velorium-wayland-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) throw std::runtime_error("cannot make a runtime folder");
  if (geteuid() == 0 &&
      chown(folder.c_str(), getpwnam("nobody")->pw_uid, getgrnam("nogroup")->gr_gid) != 0) {
    throw std::runtime_error("cannot give the runtime folder to nobody");
  }
  return folder;
}

// The name of the first entry of the folder that starts with `prefix` and is a socket.
std::string socketIn(const std::string& folder, const std::string& prefix) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename();
    if (name.starts_with(prefix) && entry.is_socket(error)) return name;
  }
  return "";
}

void bindPointerManager(void* data, wl_registry* registry, std::uint32_t name,
                        const char* interface, std::uint32_t) {
  if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
    *static_cast<zwlr_virtual_pointer_manager_v1**>(data) =
        static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
  }
}
void forgetGlobal(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener = {bindPointerManager, forgetGlobal};

}  // namespace

WaylandSession::WaylandSession(int outputs, int width, int height, int refreshHz)
    : folder_(makeRuntimeFolder()) {
  std::ofstream(folder_ + "/config")
      << "xwayland disable\noutput * mode --custom " << width << "x" << height << "@" << refreshHz
      << "Hz\noutput * bg #" << std::hex << std::setfill('0') << std::setw(6) << kWallpaper
      << " solid_color\n";
  startCompositor({"sway", "--config", folder_ + "/config"},
                  {"WLR_HEADLESS_OUTPUTS=" + std::to_string(outputs)});
  waitUntil([&] { return !(ipcSocket_ = socketIn(folder_, "sway-ipc.")).empty(); });
  // swaybg paints the wallpaper a moment after the outputs appear; a test that looks for it
  // must not find it missing for any other reason.
  const bool painted = waitUntil([&] {
    const std::vector<std::uint32_t> all = picture().pixels;
    return !all.empty() && std::all_of(all.begin(), all.end(),
                                       [](std::uint32_t pixel) { return pixel == kWallpaper; });
  });
  if (!painted) throw std::runtime_error("sway's wallpaper did not show");
  zwlr_virtual_pointer_manager_v1* manager = nullptr;
  wl_registry* registry = wl_display_get_registry(display_);
  wl_registry_add_listener(registry, &kRegistryListener, &manager);
  wl_display_roundtrip(display_);
  if (manager == nullptr) throw std::runtime_error("sway offers no virtual pointer");
  pointer_ = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
  // An eighth of the way across, a quarter down: inside the first output, off its edges and
  // its middle, where the scene is looked for.
  zwlr_virtual_pointer_v1_motion_absolute(pointer_, time_, 1, 1, 8, 4);
  sendPointer();
  zwlr_virtual_pointer_manager_v1_destroy(manager);
  wl_registry_destroy(registry);
}

WaylandSession::WaylandSession(const std::vector<std::string>& app) : folder_(makeRuntimeFolder()) {
  std::vector<std::string> command = {"cage", "--"};
  command.insert(command.end(), app.begin(), app.end());
  startCompositor(command, {"WLR_HEADLESS_OUTPUTS=1"});
}

void WaylandSession::startCompositor(const std::vector<std::string>& command,
                                     const std::vector<std::string>& environment) {
  std::vector<std::string> variables = {"XDG_RUNTIME_DIR=" + folder_, "HOME=" + folder_,
                                        "WLR_BACKENDS=headless",      "WLR_LIBINPUT_NO_DEVICES=1",
                                        "WAYLAND_DISPLAY=",           "DISPLAY="};
  variables.insert(variables.end(), environment.begin(), environment.end());
  compositor_ = std::make_unique<Process>(asSessionUser(command), variables);
  // The socket answers once the compositor has set up its globals.
  const bool answered = waitUntil([&] {
    socket_ = socketIn(folder_, "wayland-");
    if (socket_.empty()) return false;
    display_ = wl_display_connect(socketPath().c_str());
    return display_ != nullptr && wl_display_roundtrip(display_) >= 0;
  });
  if (!answered) {
    throw std::runtime_error(command[0] + " did not start: " + compositor_->errors());
  }
}

WaylandSession::~WaylandSession() {
  if (pointer_ != nullptr) zwlr_virtual_pointer_v1_destroy(pointer_);
  if (display_ != nullptr) wl_display_disconnect(display_);
  compositor_->signal(SIGTERM);
  compositor_->wait(Milliseconds(5000));
  compositor_.reset();
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

std::vector<std::string> WaylandSession::environment() const {
  return {"XDG_RUNTIME_DIR=" + folder_, "HOME=" + folder_, "WAYLAND_DISPLAY=" + socket_,
          "SWAYSOCK=" + ipcSocketPath()};
}

std::unique_ptr<Process> WaylandSession::start(const std::vector<std::string>& command,
                                               const std::vector<std::string>& environment) const {
  std::vector<std::string> variables = this->environment();
  variables.insert(variables.end(), environment.begin(), environment.end());
  return std::make_unique<Process>(asSessionUser(command), variables);
}

Outcome WaylandSession::run(const std::vector<std::string>& command) const {
  const std::unique_ptr<Process> process = start(command);
  return {process->wait(), process->output(), process->errors()};
}

bool WaylandSession::sway(const std::string& command) const {
  return run({"swaymsg", command}).status == 0;
}

Picture WaylandSession::picture(const std::string& output) const {
  return grim(output.empty() ? std::vector<std::string>{} : std::vector<std::string>{"-o", output});
}

Picture WaylandSession::pictureOfRegion(const std::string& region) const {
  return grim({"-g", region});
}

Picture WaylandSession::grim(std::vector<std::string> command) const {
  command.insert(command.begin(), "grim");
  command.insert(command.end(), {"-t", "ppm", "-"});
  std::istringstream ppm(run(command).output);
  return readPpm(ppm);
}

bool WaylandSession::typeKey(const std::string& key) const {
  // wtype's keyboard is new to the seat: the pause lets a client bind it before the key.
  return run({"wtype", "-s", "500", "-k", key}).status == 0;
}

void WaylandSession::sendPointer() {
  zwlr_virtual_pointer_v1_frame(pointer_);
  wl_display_roundtrip(display_);
  time_ += 10;
}

void WaylandSession::movePointer(int count) {
  for (int k = 0; k < count; ++k) {
    // To and fro, so that the cursor never stops at an edge.
    zwlr_virtual_pointer_v1_motion(pointer_, time_, wl_fixed_from_int(k % 2 == 0 ? 1 : -1), 0);
    sendPointer();
  }
}

void WaylandSession::click(unsigned button) {
  zwlr_virtual_pointer_v1_button(pointer_, time_, button, WL_POINTER_BUTTON_STATE_PRESSED);
  sendPointer();
  zwlr_virtual_pointer_v1_button(pointer_, time_, button, WL_POINTER_BUTTON_STATE_RELEASED);
  sendPointer();
}

void WaylandSession::scrollWheel() {
  zwlr_virtual_pointer_v1_axis_source(pointer_, WL_POINTER_AXIS_SOURCE_WHEEL);
  zwlr_virtual_pointer_v1_axis_discrete(pointer_, time_, WL_POINTER_AXIS_VERTICAL_SCROLL,
                                        wl_fixed_from_int(15), 1);
  sendPointer();
}

void WaylandSession::kill() {
  compositor_->kill();
}

}  // namespace kit
