// The Wayland saver's frame loop host: the desktop's covers, a scene on each, frames drawn when
// due and shown only when the cover's compositor can show them, and the waits on its socket.
#include "hack/FullScreen_wayland.h"

#include <EGL/egl.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Clock.h"
#include "framework/FrameClock.h"
#include "hack/FpsOverlay.h"
#include "hack/QuotedText.h"
#include "scene/Tplanets.h"
#include "wayland/WaylandDesktop.h"

namespace {

WaylandDesktop::Shell ChosenShell() {
  const char* chosen = std::getenv("VELORIUM_WAYLAND_SHELL");
  const std::string shell = chosen != nullptr ? chosen : "";
  if (shell.empty()) return WaylandDesktop::Shell::Any;
  if (shell == "xdg") return WaylandDesktop::Shell::Xdg;
  if (shell == "layer") return WaylandDesktop::Shell::Layer;
  throw std::runtime_error("VELORIUM_WAYLAND_SHELL " + QuotedText(shell) +
                           " is neither 'layer' nor 'xdg'");
}

// One output's scene and whether a frame is due on it.
struct CoverScene {
  CoverScene(OutputCover& cover, const HackOptions& options) : cover(cover), planets(&cover) {
    planets.ShowComet = options.comet ? 1 : 0;
    planets.ShowOrbits = options.orbits ? 1 : 0;
    if (options.fps) {
      cover.drawOverlay = [this] {
        fps.Draw(MonotonicNs(), this->cover.width, this->cover.height);
      };
    }
  }
  OutputCover& cover;
  FpsOverlay fps;
  TPlanets planets;
  bool due = true;
};

class FullScreenLoop : public FrameLoopHost {
public:
  FullScreenLoop(WaylandDesktop& desktop, const SaverInput& input, const HackOptions& options,
                 const StopSignals& stop)
      : desktop_(desktop), input_(input), options_(options), stop_(stop) {}

  std::int64_t NowNs() override { return MonotonicNs(); }
  bool Stopped() override { return stop_.Received(); }
  void FrameDue() override {
    for (auto& scene : scenes_) scene->due = true;
  }
  Frames DrawDueFrames() override {
    bool anyCanShow = false;
    bool setUp = false;
    for (auto& scene : scenes_) {
      if (!scene->cover.CanShow()) continue;
      anyCanShow = true;
      if (!scene->due) continue;
      // Before the desktop's first picture a scene's set-up is a frame of its own, as on X11,
      // so that the deadlines count from the first picture instead of from before the set-up.
      if (!shown_ && scene->planets.Counter == 0) {
        SetUp(*scene);
        setUp = true;
        continue;
      }
      scene->due = false;
      Draw(*scene);
      shown_ = true;
    }
    if (setUp) return Frames::SetUp;
    return anyCanShow ? Frames::Drawn : Frames::Waiting;
  }
  bool HandleEvents() override {
    desktop_.DispatchPending();
    for (const auto& cover : desktop_.Covers()) {
      if (cover->CloseAsked()) return false;
    }
    if (input_.Ended()) return false;
    FollowCovers();
    return true;
  }
  void WaitUntil(std::int64_t deadlineNs) override {
    desktop_.Wait(MillisecondsUntil(deadlineNs, MonotonicNs()), stop_.Descriptor());
  }
  // Each cover's frame callbacks say whether it can be seen.
  bool Seen() override { return true; }
  void WaitForEvents() override { desktop_.Wait(-1, stop_.Descriptor()); }

private:
  // A scene for each new cover; the scenes of the covers gone released before the covers.
  void FollowCovers() {
    std::erase_if(scenes_, [](const auto& scene) { return scene->cover.Gone(); });
    desktop_.RemoveGoneCovers();
    for (const auto& cover : desktop_.Covers()) {
      bool known = false;
      for (const auto& scene : scenes_) known = known || &scene->cover == cover.get();
      if (!known) scenes_.push_back(std::make_unique<CoverScene>(*cover, options_));
    }
  }

  // Several scenes share the thread: each frame makes its own context current first. A scene
  // that comes after the first picture sets up and shows its first picture in one go, so that
  // the others' deadlines stay put.
  void Draw(CoverScene& scene) {
    TPlanets& planets = scene.planets;
    if (planets.HasContext) {
      eglMakeCurrent(planets.DC, scene.cover.surface, scene.cover.surface, planets.RC);
    }
    if (scene.cover.ApplySize() && planets.HasContext) planets.Resize();
    if (planets.Counter == 0) SetUp(scene);
    scene.cover.RequestFrameCallback();
    planets.Tick();
  }

  // The scene's first tick makes its context and shows nothing.
  static void SetUp(CoverScene& scene) {
    scene.cover.ApplySize();
    scene.planets.Tick();
    if (scene.cover.setupFailed) throw std::runtime_error(scene.cover.setupError);
  }

  WaylandDesktop& desktop_;
  const SaverInput& input_;
  const HackOptions& options_;
  const StopSignals& stop_;
  std::vector<std::unique_ptr<CoverScene>> scenes_;
  // Whether any scene has shown a picture yet.
  bool shown_ = false;
};

}  // namespace

int RunFullScreen(const HackOptions& options, StopSignals& stop) {
  SaverInput input;
  WaylandDesktop desktop(ChosenShell(), input);
  stop.DeferToLoop();
  FullScreenLoop loop(desktop, input, options, stop);
  RunFrameLoop(loop, options.delayUs * 1000);
  return 0;
}
