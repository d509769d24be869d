// The scene on Linux: its owner is an X window, its context comes from GLX on that window's
// own visual, and a failed set-up is recorded for the program to report and end with.
#include <GL/glx.h>

#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "x11/SceneDrawable.h"
#include "x11/SceneVisual.h"

bool TPlanets::CreateContext() {
  DC = Form->display;
  HasContext = SetupPixelFormat();
  if (!HasContext) return false;
  RC = glXCreateContext(DC, &Form->visual, nullptr, True);
  if (RC == nullptr) {
    Form->setupError = "cannot make an OpenGL context for visual " + HexId(Form->visual.visualid);
    HasContext = false;
  } else if (!glXMakeCurrent(DC, Form->window, RC)) {
    Form->setupError = "cannot make the OpenGL context current on the window";
    glXDestroyContext(DC, RC);
    RC = nullptr;
    HasContext = false;
  } else if (Form->fitToViewport) {
    GLint largest[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largest);
    Form->fitToViewport(largest[0], largest[1]);
  }
  return HasContext;
}

// The window keeps the visual it was made with; it must be one the scene can be drawn in.
bool TPlanets::SetupPixelFormat() {
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(DC, Form->window, &attributes) == 0) {
    Form->setupError = "cannot read the window's attributes";
    return false;
  }
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(DC, VisualIDMask, &wanted, &count);
  if (found == nullptr || count == 0) {
    Form->setupError = "the window's visual " + HexId(wanted.visualid) + " is unknown";
    return false;
  }
  Form->visual = found[0];
  XFree(found);
  XVisualInfo& visual = Form->visual;
  const std::string shortfall = SceneVisualShortfall(DC, visual);
  if (!shortfall.empty()) {
    Form->setupError = "the window's visual " + HexId(visual.visualid) + " " + shortfall;
    return false;
  }
  return true;
}

void TPlanets::ReleaseContext() {
  if (!HasContext) return;
  glXMakeCurrent(DC, None, nullptr);
  glXDestroyContext(DC, RC);
  HasContext = false;
}

int TPlanets::ClientWidth() const {
  return Form->width;
}

int TPlanets::ClientHeight() const {
  return Form->height;
}

void TPlanets::SwapFrame() {
  if (Form->drawOverlay) Form->drawOverlay();
  glXSwapBuffers(DC, Form->window);
}

void TPlanets::EndAfterFailedSetup() {
  Form->setupFailed = true;
}
