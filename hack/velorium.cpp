// velorium: the solar-system scene as an XScreenSaver hack, or with --full-screen the saver of
// the Wayland desktop. Reads its command line, opens its window (or covers every output) and
// draws a frame every --delay microseconds until a signal, the window's end or (in a window of
// its own, or full screen) the user ends it; errors go to standard error with status 1.
#include <poll.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "framework/Clock.h"
#include "framework/FrameClock.h"
#include "hack/FpsOverlay.h"
#include "hack/FullScreen_wayland.h"
#include "hack/HackCommandLine.h"
#include "hack/HackWindow_x11.h"
#include "hack/ListFile_posix.h"
#include "hack/StandardOutput.h"
#include "hack/StopSignals_posix.h"
#include "scene/Tplanets.h"

namespace {

// The frame loop's clock, frames, events and waits: the monotonic clock, the scene, the
// window's events and poll().
class HackLoop : public FrameLoopHost {
public:
  HackLoop(HackWindow& window, TPlanets& planets, const StopSignals& stop)
      : window_(window), planets_(planets), stop_(stop) {}
  std::int64_t NowNs() override { return MonotonicNs(); }
  bool Stopped() override { return stop_.Received(); }
  void FrameDue() override { due_ = true; }
  // One window, always able to show its frame while it can be seen.
  Frames DrawDueFrames() override {
    if (!due_) return Frames::Drawn;
    due_ = false;
    // The scene's first tick makes the context and shows nothing.
    const bool picture = planets_.Counter != 0;
    planets_.Tick();
    if (window_.Scene().setupFailed) throw HackError(window_.Scene().setupError);
    return picture ? Frames::Drawn : Frames::SetUp;
  }
  bool HandleEvents() override {
    HackWindow::Events events = window_.HandleEvents();
    if (events.gone || events.closed) return false;
    // Before the first tick there is no context to take a new viewport; that tick sets it.
    if (events.resized && planets_.HasContext) planets_.Resize();
    return true;
  }
  // Waits until the deadline, an X event or a stop signal, whichever comes first.
  void WaitUntil(std::int64_t deadlineNs) override {
    Wait(MillisecondsUntil(deadlineNs, MonotonicNs()));
  }

  bool Seen() override { return window_.Seen(); }
  // Waits for an X event or a stop signal, without a deadline: while nothing can be seen.
  void WaitForEvents() override { Wait(-1); }

private:
  // Waits for at most `ms` milliseconds (-1: no limit) for an X event or a stop signal. An
  // event that Xlib has already read from the connection would not wake poll().
  void Wait(int ms) {
    if (window_.EventsWaiting()) return;
    pollfd waits[2] = {{window_.ConnectionDescriptor(), POLLIN, 0},
                       {stop_.Descriptor(), POLLIN, 0}};
    if (poll(waits, 2, ms) < 0 && errno != EINTR) throw HackError("cannot wait for events");
  }

  HackWindow& window_;
  TPlanets& planets_;
  const StopSignals& stop_;
  bool due_ = false;
};

int RunHack(const HackOptions& options, StopSignals& stop) {
  if (options.target == HackTarget::FullScreen) return RunFullScreen(options, stop);
  HackWindow window(options);
  stop.DeferToLoop();
  SceneDrawable& scene = window.Scene();
  FpsOverlay fps;
  if (options.fps) {
    scene.drawOverlay = [&] { fps.Draw(MonotonicNs(), scene.width, scene.height); };
  }
  // Destroyed before the window: the context goes first, then the window and the display.
  TPlanets planets(&scene);
  planets.ShowComet = options.comet ? 1 : 0;
  planets.ShowOrbits = options.orbits ? 1 : 0;
  HackLoop loop(window, planets, stop);
  RunFrameLoop(loop, options.delayUs * 1000);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* screensaverWindow = std::getenv("XSCREENSAVER_WINDOW");
  const HackCommand command = ParseHackCommandLine(
      HackArguments(argc, argv),
      screensaverWindow ? std::optional<std::string_view>(screensaverWindow) : std::nullopt);
  switch (command.kind) {
    case HackCommand::Kind::Help:
      std::fputs(HackUsage().c_str(), stdout);
      return FlushedStatus(stdout, stderr, 0);
    case HackCommand::Kind::Version:
      std::puts("velorium " VELORIUM_VERSION);
      return FlushedStatus(stdout, stderr, 0);
    // The stop signals keep their own handling here: the change holds them back while it
    // writes, and they must not end it with 0 before.
    case HackCommand::Kind::AddToList:
    case HackCommand::Kind::RemoveFromList:
      return ChangeXScreenSaverList(command.kind == HackCommand::Kind::AddToList);
    case HackCommand::Kind::Usage:
      std::fprintf(stderr, "velorium: %s\n%s", command.error.c_str(), HackUsage().c_str());
      return 1;
    case HackCommand::Kind::Error:
      std::fprintf(stderr, "velorium: %s\n", command.error.c_str());
      return 1;
    case HackCommand::Kind::Run:
      break;
  }
  try {
    // Before the display is opened, so that the daemon's SIGTERM is obeyed however soon it
    // comes.
    StopSignals stop;
    return RunHack(command.options, stop);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velorium: %s\n", error.what());
    return 1;
  }
}
