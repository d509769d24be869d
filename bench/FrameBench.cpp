// Frame benchmark: wall-clock and CPU time of one Tick (a whole frame, finished with
// glFinish) at four window sizes up to 3840x2160, with the comet and the orbit lines on and
// off, against the 40 ms timer; and the process's peak memory. Prints a table.
#include <windows.h>

#include <psapi.h>

#include <cstdio>

#include "bench/FrameTiming.h"
#include "bench/ProcessTimes_win32.h"
#include "bench/SceneFrame.h"
#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "tests/win/SceneWindow.h"
#include "win32/Forms.h"

namespace {

struct Size {
  int width, height;
};

double CpuTimeMs() {
  return ProcessCpuMs(GetCurrentProcess());
}

double NowMs() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return now.QuadPart * 1000.0 / frequency.QuadPart;
}

// Whether the window's back buffer really reaches its far corner (a window larger than
// the screen may be clipped).
bool DrawableCoversCorner(int width, int height) {
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  unsigned char corner[3] = {};
  glReadPixels(width - 1, height - 1, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, corner);
  return corner[0] == 255 && corner[1] == 0 && corner[2] == 0;
}

void BenchSize(TApplication& application, Size size) {
  auto* form = new TSceneF(&application, size.width, size.height);
  form->Show();
  kit::pause(kit::Milliseconds{100});
  RECT client{};
  GetClientRect(form->Handle(), &client);
  {
    TPlanets scene(form);
    scene.Tick();
    std::printf("\nwindow %dx%d: client %ldx%ld, back buffer reaches the far corner: %s (%s)\n",
                size.width, size.height, client.right, client.bottom,
                DrawableCoversCorner(size.width, size.height) ? "yes" : "no",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    // The saver's timer lets messages through between frames; so does the benchmark.
    framebench::TimeAndPrint(framebench::SceneFrame(scene, [] { kit::idle(kit::Milliseconds{0}); }),
                             {NowMs, CpuTimeMs});
  }
  TComponent::Free(form);
}

}  // namespace

int main() {
  TApplication application;
  application.Initialize();
  std::printf(
      "Velorium frame benchmark: %d frames per row after %d warm-up frames,\n"
      "the rows' frames taking turns; cpu is the system's count for the process\n",
      framebench::kMeasuredFrames, framebench::kWarmUpFrames);
  // The larger sizes are what high-DPI screens give in real pixels.
  for (Size size : {Size{1024, 768}, Size{1920, 1080}, Size{2560, 1440}, Size{3840, 2160}}) {
    BenchSize(application, size);
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("\npeak working set: %.1f MB\n", memory.PeakWorkingSetSize / (1024.0 * 1024.0));
  return 0;
}
