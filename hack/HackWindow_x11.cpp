// X11 for velorium: the display, the target window, its events and an X error handler that
// records errors for the frame loop to judge, or ends the program with 0 when the window has
// vanished (Xlib's default handler would end it with status 1 whenever that happens between
// two requests).
#include "hack/HackWindow_x11.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "hack/QuotedText.h"
#include "x11/SceneVisual.h"

namespace {

constexpr int kOwnWidth = 1024;
constexpr int kOwnHeight = 768;
constexpr char kTitle[] = "Velorium";
// The most of a window (the program's own or a foreign one) that gets drawn: 7680x4320 pixels
// in area and 8192 a side, or less where the context's largest viewport is smaller. A larger
// window gets the scene in its middle: Mesa's software rasteriser takes about 1.7 s a frame at
// 16384x16384 and crashes from 32705x32705 on, while 7680x4320 takes about 0.2 s.
constexpr double kMostDrawnPixels = 7680.0 * 4320.0;
constexpr int kLongestDrawnSide = 8192;

// The first X error since the last look, and the window that is drawn into once it has been
// found. Xlib's handlers take no user data, so this is the one place they can leave it; the
// program has one display connection.
struct XErrorRecord {
  bool any = false;
  XErrorEvent first{};
};
XErrorRecord gXError;
Window gDrawnWindow = 0;

extern "C" int RecordXError(Display*, XErrorEvent* error) {
  // The window is gone in the middle of a frame. Mesa's software rasteriser asks for the
  // window's size and, when that fails, goes on with a size it never set, and corrupts its
  // memory; nothing after this error can be trusted. Ending here, the X server frees the
  // context, the window's buffers and the connection with the process.
  if (gDrawnWindow != 0 && error->resourceid == gDrawnWindow &&
      (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    _exit(0);
  }
  if (!gXError.any) {
    gXError.any = true;
    gXError.first = *error;
  }
  return 0;
}

// The connection is gone (the X server ended): nothing can be released through it.
extern "C" int LostConnection(Display*) {
  std::fputs("velorium: lost the connection to the X display\n", stderr);
  _exit(1);
}

// The part of a width x height window the scene is drawn in: all of it when it is within the
// bounds, else its middle, scaled down to fit them with the window's shape. The largest
// viewport is 0 a side until it is known.
XRectangle DrawnPart(int width, int height, int largestWidth, int largestHeight) {
  auto longest = [](int largest) {
    return largest > 0 ? std::min(largest, kLongestDrawnSide) : kLongestDrawnSide;
  };
  double scale = std::min(1.0, std::sqrt(kMostDrawnPixels / (double(width) * height)));
  scale = std::min(scale, double(longest(largestWidth)) / width);
  scale = std::min(scale, double(longest(largestHeight)) / height);
  XRectangle part{};
  part.width = static_cast<unsigned short>(std::max(1, static_cast<int>(width * scale)));
  part.height = static_cast<unsigned short>(std::max(1, static_cast<int>(height * scale)));
  part.x = static_cast<short>((width - part.width) / 2);
  part.y = static_cast<short>((height - part.height) / 2);
  return part;
}

}  // namespace

HackWindow::HackWindow(const HackOptions& options) {
  // Before the display is opened: Xlib's own handlers would end the program without its name.
  XSetErrorHandler(RecordXError);
  XSetIOErrorHandler(LostConnection);
  gXError = {};
  const char* name = options.display.empty() ? nullptr : options.display.c_str();
  displayName_ = XDisplayName(name);
  scene_.display = XOpenDisplay(name);
  if (scene_.display == nullptr) {
    throw HackError("cannot open display " + QuotedText(displayName_));
  }
  try {
    // Xlib takes any screen number in the name, even a negative one, and the macros below
    // would read outside its table of screens.
    const int screen = DefaultScreen(scene_.display);
    if (screen < 0 || screen >= ScreenCount(scene_.display)) {
      throw HackError("display " + QuotedText(displayName_) + " has no screen " +
                      std::to_string(screen));
    }
    switch (options.target) {
      // --full-screen draws on Wayland, not here; a window of its own is the nearest.
      case HackTarget::FullScreen:
      case HackTarget::OwnWindow:
        OpenOwnWindow();
        break;
      case HackTarget::Root:
        if (options.windowId == 0) {
          OpenForeignWindow(DefaultRootWindow(scene_.display));
          break;
        }
        [[fallthrough]];
      case HackTarget::WindowId:
        OpenForeignWindow(options.windowId);
        break;
    }
  } catch (...) {
    XCloseDisplay(scene_.display);
    throw;
  }
  gDrawnWindow = scene_.window;
}

HackWindow::~HackWindow() {
  gDrawnWindow = 0;
  Display* display = scene_.display;
  // The program's own window takes the one the scene is drawn in with it.
  if (host_ != 0 && !gone_) XDestroyWindow(display, own_ ? host_ : scene_.window);
  if (colormap_ != 0) XFreeColormap(display, colormap_);
  // Errors from the last requests still reach the recording handler, not Xlib's default.
  XSync(display, False);
  XCloseDisplay(display);
}

int HackWindow::ConnectionDescriptor() const {
  return ConnectionNumber(scene_.display);
}

bool HackWindow::EventsWaiting() {
  return XEventsQueued(scene_.display, QueuedAfterFlush) > 0;
}

// A normal, resizable top-level window of the scene's visual, which holds the window the scene
// is drawn in as a foreign window does: whatever size the window manager gives it, the scene
// stays within the bounds.
void HackWindow::OpenOwnWindow() {
  Display* display = scene_.display;
  const std::optional<XVisualInfo> visual = ChooseSceneVisual(display, DefaultScreen(display));
  if (!visual) {
    throw HackError("display " + QuotedText(displayName_) + " has no visual of " +
                    std::to_string(kSceneColourBits) + " bits per colour");
  }
  XSetWindowAttributes events{};
  events.event_mask = StructureNotifyMask | KeyPressMask;
  host_ = CreateVisualWindow(display, *visual, 0, 0, kOwnWidth, kOwnHeight, colormap_, CWEventMask,
                             events);
  own_ = true;
  hostWidth_ = kOwnWidth;
  hostHeight_ = kOwnHeight;

  XStoreName(display, host_, kTitle);
  XClassHint hint{const_cast<char*>("velorium"), const_cast<char*>("Velorium")};
  XSetClassHint(display, host_, &hint);
  deleteWindow_ = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, host_, &deleteWindow_, 1);
  const long pid = getpid();
  XChangeProperty(display, host_, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
  OpenDrawnWindow();
  XMapWindow(display, host_);
  FollowViewable(true);
}

// Someone else's window: drawn into with its own visual, its size and its end watched. The
// scene goes into a window of the program's own inside it; a root window is drawn into
// directly (a window inside it would be a top-level window).
void HackWindow::OpenForeignWindow(Window window) {
  Display* display = scene_.display;
  scene_.window = window;
  XWindowAttributes attributes{};
  if (!WindowExists() || XGetWindowAttributes(display, window, &attributes) == 0) {
    throw HackError("no window " + HexId(window) + " on display " + QuotedText(displayName_));
  }
  // Only StructureNotify: other clients may select it too, unlike button presses.
  XSelectInput(display, window, StructureNotifyMask);
  scene_.width = attributes.width;
  scene_.height = attributes.height;
  if (attributes.c_class == InputOnly) {
    throw HackError("window " + HexId(window) +
                    " is an InputOnly window, which takes input but cannot be drawn in");
  }
  if (attributes.root == window) return;
  host_ = window;
  hostWidth_ = attributes.width;
  hostHeight_ = attributes.height;
  OpenDrawnWindow();
  FollowViewable(true);
}

// The window the scene is drawn in, inside the host, as large as the bounds allow; kept so
// when anyone resizes either window.
void HackWindow::OpenDrawnWindow() {
  XSetWindowAttributes events{};
  events.event_mask = StructureNotifyMask | VisibilityChangeMask;
  scene_.window = XCreateWindow(scene_.display, host_, 0, 0, 1, 1, 0, CopyFromParent, InputOutput,
                                CopyFromParent, CWEventMask, &events);
  if (own_) {
    // OpenGL's largest viewport is at least the screen's size, so the program's own window
    // needs no question to the context (which would add a call to its frames): a part larger
    // than the screen could not be seen whole anyway.
    const Screen* screen = DefaultScreenOfDisplay(scene_.display);
    largestWidth_ = WidthOfScreen(screen);
    largestHeight_ = HeightOfScreen(screen);
  } else {
    scene_.fitToViewport = [this](int largestWidth, int largestHeight) {
      largestWidth_ = largestWidth;
      largestHeight_ = largestHeight;
      FitDrawnWindow();
    };
  }
  FitDrawnWindow();
  XMapWindow(scene_.display, scene_.window);
}

// Fits the window the scene is drawn in to the host's size and the context's largest
// viewport; true when its size changed.
bool HackWindow::FitDrawnWindow() {
  drawnPart_ = DrawnPart(hostWidth_, hostHeight_, largestWidth_, largestHeight_);
  const bool resized = drawnPart_.width != scene_.width || drawnPart_.height != scene_.height;
  XMoveResizeWindow(scene_.display, scene_.window, drawnPart_.x, drawnPart_.y, drawnPart_.width,
                    drawnPart_.height);
  scene_.width = drawnPart_.width;
  scene_.height = drawnPart_.height;
  return resized;
}

// Reads whether the window drawn in is viewable, after selecting StructureNotify on every
// window between the host and the root when `ancestorsToo`: an unviewable window gets no
// VisibilityNotify, so a map or unmap anywhere above it, and a reparenting that changes what is
// above it, must be heard of from those windows.
void HackWindow::FollowViewable(bool ancestorsToo) {
  Display* display = scene_.display;
  XWindowAttributes attributes{};
  // Windows above a foreign one are someone else's, and may go at any moment.
  Quietly([&] {
    for (Window window = host_; ancestorsToo;) {
      Window root = 0, parent = 0, *children = nullptr;
      unsigned count = 0;
      if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) break;
      if (children != nullptr) XFree(children);
      if (parent == root || parent == 0) break;
      XSelectInput(display, parent, StructureNotifyMask);
      window = parent;
    }
    XGetWindowAttributes(display, scene_.window, &attributes);
  });
  viewable_ = attributes.map_state == IsViewable;
}

// Makes the requests and waits for their answers; whether none failed. Their errors are not
// left for JudgeErrors; those of the requests before them are, as the first sync collects them.
bool HackWindow::Quietly(const std::function<void()>& requests) {
  XSync(scene_.display, False);
  const XErrorRecord before = gXError;
  gXError = {};
  requests();
  XSync(scene_.display, False);
  const bool succeeded = !gXError.any;
  gXError = before;
  return succeeded;
}

bool HackWindow::WindowExists() {
  XWindowAttributes attributes{};
  bool answered = false;
  return Quietly([&] {
           answered = XGetWindowAttributes(scene_.display, scene_.window, &attributes) != 0;
         }) &&
         answered;
}

void HackWindow::JudgeErrors(Events& events) {
  if (!gXError.any) return;
  const XErrorEvent error = gXError.first;
  gXError = {};
  if (!WindowExists()) {
    gone_ = true;
    events.gone = true;
    return;
  }
  char text[256] = {};
  XGetErrorText(scene_.display, error.error_code, text, sizeof text);
  throw HackError(std::string("X error: ") + text + " (request " +
                  std::to_string(error.request_code) + "." + std::to_string(error.minor_code) +
                  ", resource " + HexId(error.resourceid) + ")");
}

HackWindow::Events HackWindow::HandleEvents() {
  Display* display = scene_.display;
  Events events;
  bool mapChanged = false;
  bool reparented = false;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case ConfigureNotify:
        if (host_ != 0 && event.xconfigure.window == host_) {
          hostWidth_ = event.xconfigure.width;
          hostHeight_ = event.xconfigure.height;
          events.resized = FitDrawnWindow() || events.resized;
        } else if (host_ != 0 && event.xconfigure.window == scene_.window) {
          // Someone else moved or resized it: back into the bounds before the next frame.
          const XConfigureEvent& now = event.xconfigure;
          if (now.x != drawnPart_.x || now.y != drawnPart_.y || now.width != drawnPart_.width ||
              now.height != drawnPart_.height) {
            FitDrawnWindow();
          }
        } else if (event.xconfigure.window == scene_.window &&
                   (event.xconfigure.width != scene_.width ||
                    event.xconfigure.height != scene_.height)) {
          scene_.width = event.xconfigure.width;
          scene_.height = event.xconfigure.height;
          events.resized = true;
        }
        break;
      case DestroyNotify:
        if (event.xdestroywindow.window == scene_.window ||
            (host_ != 0 && event.xdestroywindow.window == host_)) {
          gone_ = true;
          events.gone = true;
        }
        break;
      case MapNotify:
      case UnmapNotify:
        mapChanged = true;
        break;
      case ReparentNotify:
        reparented = true;
        break;
      case VisibilityNotify:
        if (event.xvisibility.window == scene_.window) {
          covered_ = event.xvisibility.state == VisibilityFullyObscured;
        }
        break;
      case ClientMessage:
        if (own_ && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_) {
          events.closed = true;
        }
        break;
      case KeyPress: {
        const KeySym key = XLookupKeysym(&event.xkey, 0);
        if (own_ && (key == XK_Escape || key == XK_q)) events.closed = true;
        break;
      }
      default:
        break;
    }
  }
  if ((mapChanged || reparented) && !events.gone) FollowViewable(reparented);
  JudgeErrors(events);
  return events;
}
