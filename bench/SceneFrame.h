// The frame both platforms' frame benchmarks time: one Tick of a scene with the row's options,
// finished with glFinish so that the clocks see the drawing done.
#pragma once

#include <functional>

#include "bench/FrameTiming.h"
#include "scene/GL.h"
#include "scene/Tplanets.h"

namespace framebench {

// `afterFrame`, when set, runs after each finished frame (the Windows benchmark lets window
// messages through there, as the saver's timer does between frames).
inline DrawFrame SceneFrame(TPlanets& scene, std::function<void()> afterFrame = {}) {
  return [&scene, afterFrame = std::move(afterFrame)](Options options) {
    scene.ShowComet = options.comet ? 1 : 0;
    scene.ShowOrbits = options.orbits ? 1 : 0;
    scene.Tick();
    glFinish();
    if (afterFrame) afterFrame();
  };
}

}  // namespace framebench
