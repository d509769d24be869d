// Counts the frames of a program it is preloaded into, for the benchmarks that measure a
// frame's cost: each eglSwapBuffers call is passed on and counted once it returns (the frame
// rasterised and handed to the window system), the count so far kept in the first 8 bytes
// of the file that SWAP_COUNT_FILE names, which the benchmark made and reads.
#include <EGL/egl.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace {

using Count = std::atomic<long long>;

// The count in the file, shared with the benchmark; null without the file.
Count* sharedCount() {
  static Count* const count = []() -> Count* {
    const char* path = std::getenv("SWAP_COUNT_FILE");
    const int file = path == nullptr ? -1 : open(path, O_RDWR | O_CLOEXEC);
    if (file < 0) return nullptr;
    void* mapped = mmap(nullptr, sizeof(Count), PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    close(file);
    return mapped == MAP_FAILED ? nullptr : static_cast<Count*>(mapped);
  }();
  return count;
}

}  // namespace

extern "C" EGLBoolean eglSwapBuffers(EGLDisplay display, EGLSurface surface) {
  using Swap = EGLBoolean (*)(EGLDisplay, EGLSurface);
  static const Swap next = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "eglSwapBuffers"));
  const EGLBoolean swapped = next(display, surface);
  if (Count* count = sharedCount()) ++*count;
  return swapped;
}
