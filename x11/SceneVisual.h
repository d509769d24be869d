// What the scene needs of an X visual, written once for the hack's own window, the GLX
// context's check of any other window, the frame benchmark and the tests; and the window of
// such a visual that each of them makes.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

// RGBA, double-buffered, OpenGL, with at least these bits per primary: the 24-bit colour that
// Windows' pixel format asks for.
constexpr int kSceneColourBits = 8;
// The smallest depth buffer the scene accepts, in bits. GLX prefers the largest one of at
// least this size, as Windows' 32-bit request takes the largest the driver has, so both
// programs draw with the same one (32 bits on Mesa). 16 bits still order every surface the
// camera sees (at most about 70 units away with the near plane at 1: steps of 0.075 units),
// and the windows XScreenSaver makes for 16-bit depth visuals are still drawn into.
constexpr int kSceneDepthBits = 16;
// How messages name such a visual.
constexpr char kSceneVisualWords[] = "double-buffered RGBA OpenGL visual with a depth buffer";

// The best visual of that kind on `screen`, or null when it has none; XFree it after use.
XVisualInfo* ChooseSceneVisual(Display* display, int screen);
// What keeps `visual` (a window's own) from being one the scene can be drawn in, in words that
// follow "the window's visual 0x21 ": "is not a double-buffered ...", or its bits per colour
// when they are too few; empty when it is one.
std::string SceneVisualShortfall(Display* display, XVisualInfo& visual);

// A top-level window of `visual` at (x, y), not mapped, with a black background, no border
// and a colormap of its own, returned in `colormap` for the caller to free after the window.
// `extra` adds attributes (override_redirect, event_mask), named by `extraMask`.
Window CreateVisualWindow(Display* display, const XVisualInfo& visual, int x, int y, int width,
                          int height, Colormap& colormap, unsigned long extraMask = 0,
                          const XSetWindowAttributes& extra = {});

// An X id (window, visual, resource) as X's own tools write it: "0x1a00005".
std::string HexId(unsigned long id);
