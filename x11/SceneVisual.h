// What the scene needs of an X window and of the EGL configuration it is drawn with, written
// once for the hack's own window, the EGL context's check of any other window, the frame
// benchmark and the tests; the window of such a visual that each of them makes, and the EGL
// surface on a window, made so that the window cannot vanish meanwhile.
#pragma once

#include <EGL/egl.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <optional>
#include <string>

// At least these bits per primary: the 24-bit colour that Windows' pixel format asks for.
constexpr int kSceneColourBits = 8;
// The smallest depth buffer the scene accepts, in bits. The largest one of at least this size
// is taken, as Windows' 32-bit request takes the largest the driver has, so both programs draw
// with the same one (32 bits on Mesa). 16 bits still order every surface the camera sees (at
// most about 70 units away with the near plane at 1: steps of 0.075 units).
constexpr int kSceneDepthBits = 16;

// The visual of the screen's windows that the scene goes into best: the default visual when it
// has kSceneColourBits per primary, else a 24-bit TrueColor visual; none when there is neither.
std::optional<XVisualInfo> ChooseSceneVisual(Display* display, int screen);
// What keeps a window of `visual` from showing the scene, in words that follow "the window's
// visual 0x21 ": its bits per colour when they are too few, or its class when a colormap
// stands between the pixels and their colours (DirectColor); empty when it can show it.
std::string SceneVisualShortfall(const XVisualInfo& visual);
// The EGL configuration of `display` (on the X display `x`) that draws the scene into a window
// of `visual`: a window surface of desktop OpenGL with kSceneColourBits per primary and the
// largest depth buffer, whose native visual has the window's class, and its depth where one
// has, with alpha for a window that has alpha bits (32-bit ARGB). Matched by depth and class,
// not by visual: Mesa names only a couple of a server's visuals in its configurations, yet
// draws into windows of all the others alike. Null when none fits.
EGLConfig ChooseSceneConfig(EGLDisplay display, Display* x, const XVisualInfo& visual);

// The EGL window surface of `config` on `window`, made while the X server is held after a fresh
// look at the window, so that no other client destroys it in between: Mesa's software
// rasteriser corrupts its memory making a surface on a window that is gone. EGL_NO_SURFACE when
// EGL cannot make it, or when the window is gone (the X error handler has then heard of it, and
// `gone` is set).
EGLSurface CreateSceneSurface(EGLDisplay display, EGLConfig config, Display* x, Window window,
                              bool& gone);

// A window of `visual` at (x, y) in `parent` (0: a top-level window), not mapped, with a black
// background, no border and a colormap of its own, returned in `colormap` for the caller to
// free after the window. `extra` adds attributes (override_redirect, event_mask), named by
// `extraMask`.
Window CreateVisualWindow(Display* display, const XVisualInfo& visual, int x, int y, int width,
                          int height, Colormap& colormap, unsigned long extraMask = 0,
                          const XSetWindowAttributes& extra = {}, Window parent = 0);

// An X id (window, visual, resource) as X's own tools write it: "0x1a00005".
std::string HexId(unsigned long id);
