// The scene's visual, its EGL configuration and its window surface.
#include "x11/SceneVisual.h"

#include <bit>
#include <cstdio>
#include <tuple>
#include <vector>

namespace {

bool HasSceneColours(const XVisualInfo& visual) {
  return SceneVisualShortfall(visual).empty();
}

EGLint ConfigAttribute(EGLDisplay display, EGLConfig config, EGLint attribute) {
  EGLint value = 0;
  return eglGetConfigAttrib(display, config, attribute, &value) ? value : 0;
}

// The depth of the visual an EGL configuration names; 0 when it names none the server has.
int NativeVisualDepth(Display* x, EGLint visualId) {
  XVisualInfo wanted{};
  wanted.visualid = static_cast<VisualID>(visualId);
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(x, VisualIDMask, &wanted, &count);
  const int depth = found != nullptr && count > 0 ? found[0].depth : 0;
  if (found != nullptr) XFree(found);
  return depth;
}

}  // namespace

std::optional<XVisualInfo> ChooseSceneVisual(Display* display, int screen) {
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(DefaultVisual(display, screen));
  wanted.screen = screen;
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
  std::optional<XVisualInfo> chosen;
  if (found != nullptr && count > 0 && found[0].c_class == TrueColor && HasSceneColours(found[0])) {
    chosen = found[0];
  }
  if (found != nullptr) XFree(found);
  XVisualInfo truecolor{};
  if (!chosen && XMatchVisualInfo(display, screen, 24, TrueColor, &truecolor) != 0 &&
      HasSceneColours(truecolor)) {
    chosen = truecolor;
  }
  return chosen;
}

std::string SceneVisualShortfall(const XVisualInfo& visual) {
  // A colour-index visual has no masks: 0 bits each.
  const int red = std::popcount(visual.red_mask);
  const int green = std::popcount(visual.green_mask);
  const int blue = std::popcount(visual.blue_mask);
  if (red < kSceneColourBits || green < kSceneColourBits || blue < kSceneColourBits) {
    return "has " + std::to_string(red) + ", " + std::to_string(green) + " and " +
           std::to_string(blue) + " bits of red, green and blue: the scene needs " +
           std::to_string(kSceneColourBits) + " bits per colour";
  }
  // EGL draws into it as into TrueColor, and the colormap, which other programs may share,
  // shows other colours.
  if (visual.c_class == DirectColor) {
    return "is DirectColor, which shows its colours through a colormap: the scene needs TrueColor";
  }
  return "";
}

EGLConfig ChooseSceneConfig(EGLDisplay display, Display* x, const XVisualInfo& visual) {
  // clang-format off
  const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                           EGL_RED_SIZE, kSceneColourBits, EGL_GREEN_SIZE, kSceneColourBits,
                           EGL_BLUE_SIZE, kSceneColourBits, EGL_DEPTH_SIZE, kSceneDepthBits,
                           EGL_NONE};
  // clang-format on
  EGLint count = 0;
  if (!eglChooseConfig(display, wanted, nullptr, 0, &count) || count <= 0) return nullptr;
  std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
  if (!eglChooseConfig(display, wanted, configs.data(), count, &count)) return nullptr;
  // Of the window's class; of its depth before any other; then with alpha exactly where the
  // window has it (a 32-bit window's, which a compositing manager reads: without it the clear's
  // opaque alpha is not stored and the desktop shows through); then the largest depth buffer;
  // EGL's own order between equals.
  const bool windowAlpha =
      visual.depth > std::popcount(visual.red_mask | visual.green_mask | visual.blue_mask);
  EGLConfig best = nullptr;
  std::tuple<bool, bool, int> bestRank(false, false, -1);
  for (EGLint k = 0; k < count; ++k) {
    if (ConfigAttribute(display, configs[k], EGL_NATIVE_VISUAL_TYPE) != visual.c_class) continue;
    const EGLint visualId = ConfigAttribute(display, configs[k], EGL_NATIVE_VISUAL_ID);
    const std::tuple<bool, bool, int> rank(
        NativeVisualDepth(x, visualId) == visual.depth,
        (ConfigAttribute(display, configs[k], EGL_ALPHA_SIZE) > 0) == windowAlpha,
        ConfigAttribute(display, configs[k], EGL_DEPTH_SIZE));
    if (rank > bestRank) {
      best = configs[k];
      bestRank = rank;
    }
  }
  return best;
}

EGLSurface CreateSceneSurface(EGLDisplay display, EGLConfig config, Display* x, Window window,
                              bool& gone) {
  // Mesa makes its requests on this same connection, which the grab does not hold up. Held only
  // this long: every other client waits meanwhile.
  XGrabServer(x);
  XWindowAttributes attributes{};
  gone = XGetWindowAttributes(x, window, &attributes) == 0;
  const EGLSurface surface =
      gone ? EGL_NO_SURFACE : eglCreateWindowSurface(display, config, window, nullptr);
  XUngrabServer(x);
  XSync(x, False);
  return surface;
}

Window CreateVisualWindow(Display* display, const XVisualInfo& visual, int x, int y, int width,
                          int height, Colormap& colormap, unsigned long extraMask,
                          const XSetWindowAttributes& extra, Window parent) {
  const Window root = RootWindow(display, visual.screen);
  if (parent == 0) parent = root;
  colormap = XCreateColormap(display, root, visual.visual, AllocNone);
  XSetWindowAttributes attributes = extra;
  attributes.colormap = colormap;
  attributes.background_pixel = BlackPixel(display, visual.screen);
  // A visual other than the root's takes no border from it.
  attributes.border_pixel = 0;
  return XCreateWindow(display, parent, x, y, width, height, 0, visual.depth, InputOutput,
                       visual.visual, CWColormap | CWBackPixel | CWBorderPixel | extraMask,
                       &attributes);
}

std::string HexId(unsigned long id) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}
