// Frame benchmark of velorium, the native hack: the same measurement as bench_frame under
// Wine (a Tick finished with glFinish, comet and orbit lines on and off, at 1024x768 and
// 1920x1080), on the X display in DISPLAY, which should be at least 1920x1080.
#include <sys/resource.h>
#include <time.h>

#include <cstdio>

#include "bench/FrameTiming.h"
#include "bench/SceneFrame.h"
#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "x11/SceneDrawable.h"
#include "x11/SceneVisual.h"

namespace {

double ClockMs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

void BenchSize(Display* display, int width, int height) {
  const int screen = DefaultScreen(display);
  const std::optional<XVisualInfo> visual = ChooseSceneVisual(display, screen);
  if (!visual) {
    std::printf("no visual of %d bits per colour\n", kSceneColourBits);
    return;
  }
  XSetWindowAttributes unmanaged{};
  unmanaged.override_redirect = True;
  Colormap colormap = 0;
  X11Drawable window;
  window.display = display;
  window.window = CreateVisualWindow(display, *visual, 0, 0, width, height, colormap,
                                     CWOverrideRedirect, unmanaged);
  window.width = width;
  window.height = height;
  XMapWindow(display, window.window);
  XSync(display, False);
  {
    TPlanets scene(&window);
    scene.Tick();
    std::printf("\nwindow %dx%d on a %dx%d screen (%s)\n", width, height,
                DisplayWidth(display, screen), DisplayHeight(display, screen),
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    framebench::TimeAndPrint(framebench::SceneFrame(scene),
                             {[] { return ClockMs(CLOCK_MONOTONIC); },
                              [] { return ClockMs(CLOCK_PROCESS_CPUTIME_ID); }});
  }
  XDestroyWindow(display, window.window);
  XFreeColormap(display, colormap);
}

}  // namespace

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "bench_frame_linux: cannot open the display\n");
    return 1;
  }
  std::printf(
      "velorium frame benchmark: %d frames per row after %d warm-up frames,\n"
      "the rows' frames taking turns; cpu counts every thread of the process\n",
      framebench::kMeasuredFrames, framebench::kWarmUpFrames);
  BenchSize(display, 1024, 768);
  BenchSize(display, 1920, 1080);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("\npeak resident set: %.1f MB\n", usage.ru_maxrss / 1024.0);
  XCloseDisplay(display);
  return 0;
}
