// Xvfb through the one display allocator (scripts/test-display), and XGetImage.
#include "tests/kit/Display_x11.h"

#include "x11/SceneVisual.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace kit {
namespace {

// Exactly `count` bytes from a socket; fewer when it closes first.
std::string readExactly(int socket, std::size_t count) {
  std::string bytes(count, '\0');
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = read(socket, bytes.data() + done, count - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

// A 16-bit number of the X protocol at `at`, in the byte order that the first byte of the
// client's request names ('l' little-endian, 'B' big-endian).
unsigned card16(const std::string& bytes, const std::string& request, std::size_t at) {
  const bool little = request[0] == 'l';
  const auto low = static_cast<unsigned char>(bytes[at + (little ? 0 : 1)]);
  const auto high = static_cast<unsigned char>(bytes[at + (little ? 1 : 0)]);
  return low | high << 8;
}

}  // namespace

TestDisplay::TestDisplay(int width, int height, int depth, int visualClass) {
  const std::string screen =
      std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
  // A server of someone else's that takes the chosen number first ends ours at once; the
  // allocator then skips that number.
  for (int attempt = 0; attempt < 3 && connection_ == nullptr; ++attempt) {
    server_ = std::make_unique<Process>(std::vector<std::string>{
        VELORIUM_TEST_DISPLAY, "-screen", "0", screen, "+extension", "GLX", "-nolisten", "tcp",
        "-br", "-noreset", "-cc", std::to_string(visualClass)});
    waitUntil(
        [&] { return server_->output().find('\n') != std::string::npos || !server_->running(); });
    const std::string number = server_->output();
    const std::size_t end = number.find('\n');
    if (end == std::string::npos) continue;
    name_.assign(1, ':').append(number, 0, end);
    connection_ = XOpenDisplay(name_.c_str());
  }
  if (connection_ == nullptr) {
    throw std::runtime_error("no Xvfb display could be started: " + server_->errors());
  }
}

TestDisplay::~TestDisplay() {
  XCloseDisplay(connection_);
  server_->signal(SIGTERM);
  server_->wait(Milliseconds(5000));
}

Picture grabWindow(Display* display, Window window) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, window, &attributes);
  Picture picture;
  XImage* image =
      XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (image == nullptr) return picture;
  picture.width = attributes.width;
  picture.height = attributes.height;
  picture.pixels.reserve(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      picture.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    }
  }
  XDestroyImage(image);
  if (attributes.visual->c_class == TrueColor) return picture;
  std::vector<XColor> shown(picture.pixels.size());
  for (std::size_t k = 0; k < shown.size(); ++k) shown[k].pixel = picture.pixels[k];
  XQueryColors(display, attributes.colormap, shown.data(), static_cast<int>(shown.size()));
  for (std::size_t k = 0; k < shown.size(); ++k) {
    picture.pixels[k] =
        (shown[k].red & 0xFF00) << 8 | (shown[k].green & 0xFF00) | shown[k].blue >> 8;
  }
  return picture;
}

Window makeGLWindow(Display* display, int x, int y, int width, int height) {
  const int screen = DefaultScreen(display);
  const std::optional<XVisualInfo> visual = ChooseSceneVisual(display, screen);
  if (!visual) throw std::runtime_error("the test display has no 24-bit visual");
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  Colormap colormap = 0;
  const Window window = CreateVisualWindow(display, *visual, x, y, width, height, colormap,
                                           CWOverrideRedirect, attributes);
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}

PlayedDisplay::PlayedDisplay() : listener_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  sockaddr* bound = reinterpret_cast<sockaddr*>(&address);
  if (bind(listener_, bound, size) != 0 || listen(listener_, 1) != 0 ||
      getsockname(listener_, bound, &size) != 0) {
    throw std::runtime_error("cannot listen on a TCP port");
  }
  // Display N listens on TCP port 6000 + N.
  name_ = "127.0.0.1:" + std::to_string(ntohs(address.sin_port) - 6000);
}

PlayedDisplay::~PlayedDisplay() {
  if (client_ >= 0) close(client_);
  close(listener_);
}

bool PlayedDisplay::takeConnection() {
  pollfd waiting{listener_, POLLIN, 0};
  if (poll(&waiting, 1, static_cast<int>(kPatience.count())) != 1) return false;
  client_ = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
  // 12 bytes, then the authorisation's name and data, each padded to 4 bytes.
  request_ = readExactly(client_, 12);
  if (request_.size() < 12) return false;
  auto padded = [](unsigned length) { return (length + 3) & ~3u; };
  request_ += readExactly(
      client_, padded(card16(request_, request_, 6)) + padded(card16(request_, request_, 8)));
  return true;
}

void PlayedDisplay::answerFromThenHangUp(const std::string& realDisplay) {
  const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "/tmp/.X11-unix/X%s",
                realDisplay.c_str() + 1);
  if (connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      send(server, request_.data(), request_.size(), MSG_NOSIGNAL) > 0) {
    // 8 bytes, the rest's length in 4-byte units among them.
    std::string answer = readExactly(server, 8);
    if (answer.size() == 8) answer += readExactly(server, 4 * card16(answer, request_, 6));
    send(client_, answer.data(), answer.size(), MSG_NOSIGNAL);
  }
  close(server);
  close(client_);
  client_ = -1;
}

}  // namespace kit
