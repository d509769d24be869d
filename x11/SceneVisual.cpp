// The scene's visual through GLX.
#include "x11/SceneVisual.h"

#include <GL/glx.h>

#include <cstdio>

namespace {

// GLX's answer for one attribute of a visual; 0 when it has none.
int VisualAttribute(Display* display, XVisualInfo& visual, int attribute) {
  int value = 0;
  if (glXGetConfig(display, &visual, attribute, &value) != 0) return 0;
  return value;
}

}  // namespace

XVisualInfo* ChooseSceneVisual(Display* display, int screen) {
  // clang-format off
  int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, kSceneColourBits,
                  GLX_GREEN_SIZE, kSceneColourBits, GLX_BLUE_SIZE, kSceneColourBits,
                  GLX_DEPTH_SIZE, kSceneDepthBits, None};
  // clang-format on
  return glXChooseVisual(display, screen, wanted);
}

std::string SceneVisualShortfall(Display* display, XVisualInfo& visual) {
  if (VisualAttribute(display, visual, GLX_USE_GL) == 0 ||
      VisualAttribute(display, visual, GLX_RGBA) == 0 ||
      VisualAttribute(display, visual, GLX_DOUBLEBUFFER) == 0 ||
      VisualAttribute(display, visual, GLX_DEPTH_SIZE) < kSceneDepthBits) {
    return std::string("is not a ") + kSceneVisualWords;
  }
  // A 15- or 16-bit visual has all of the above.
  const int red = VisualAttribute(display, visual, GLX_RED_SIZE);
  const int green = VisualAttribute(display, visual, GLX_GREEN_SIZE);
  const int blue = VisualAttribute(display, visual, GLX_BLUE_SIZE);
  if (red >= kSceneColourBits && green >= kSceneColourBits && blue >= kSceneColourBits) return "";
  return "has " + std::to_string(red) + ", " + std::to_string(green) + " and " +
         std::to_string(blue) + " bits of red, green and blue: the scene needs " +
         std::to_string(kSceneColourBits) + " bits per colour";
}

Window CreateVisualWindow(Display* display, const XVisualInfo& visual, int x, int y, int width,
                          int height, Colormap& colormap, unsigned long extraMask,
                          const XSetWindowAttributes& extra) {
  const Window root = RootWindow(display, visual.screen);
  colormap = XCreateColormap(display, root, visual.visual, AllocNone);
  XSetWindowAttributes attributes = extra;
  attributes.colormap = colormap;
  attributes.background_pixel = BlackPixel(display, visual.screen);
  // A visual other than the root's takes no border from it.
  attributes.border_pixel = 0;
  return XCreateWindow(display, root, x, y, width, height, 0, visual.depth, InputOutput,
                       visual.visual, CWColormap | CWBackPixel | CWBorderPixel | extraMask,
                       &attributes);
}

std::string HexId(unsigned long id) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}
