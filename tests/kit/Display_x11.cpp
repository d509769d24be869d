// Xvfb through the one display allocator (scripts/test-display), and XGetImage.
#include "tests/kit/Display_x11.h"

#include "x11/SceneVisual.h"

#include <signal.h>

#include <stdexcept>

namespace kit {

TestDisplay::TestDisplay(int width, int height) {
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  // A server of someone else's that takes the chosen number first ends ours at once; the
  // allocator then skips that number.
  for (int attempt = 0; attempt < 3 && connection_ == nullptr; ++attempt) {
    server_ = std::make_unique<Process>(std::vector<std::string>{
        VELORIUM_TEST_DISPLAY, "-screen", "0", screen, "+extension", "GLX", "-nolisten", "tcp",
        "-br", "-noreset"});
    waitUntil([&] { return server_->output().find('\n') != std::string::npos || !server_->running(); });
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
  XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height,
                            AllPlanes, ZPixmap);
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
  return picture;
}

Window makeGLWindow(Display* display, int x, int y, int width, int height) {
  const int screen = DefaultScreen(display);
  XVisualInfo* visual = ChooseSceneVisual(display, screen);
  if (visual == nullptr) throw std::runtime_error("the test display has no GL visual");
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  Colormap colormap = 0;
  const Window window = CreateVisualWindow(display, *visual, x, y, width, height, colormap,
                                           CWOverrideRedirect, attributes);
  XFree(visual);
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}

}  // namespace kit
