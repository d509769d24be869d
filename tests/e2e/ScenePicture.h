// Reads the saver's scene from screen copies: the yellow sun and where it sits, the thin orbit
// lines in the nine planets' colours, the comet's dark grey path and the comet's own colours.
// Each measure counts only what nothing else in the scene can produce, so it holds while the
// camera and the planets move.
#pragma once

#include <array>
#include <vector>

#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/ScreenCapture.h"

namespace e2e {

inline constexpr int kPlanetCount = 9;
// The sun, 2 units across at about 41 units away, covers some 900 pixels of a 1024 x 768 screen.
inline constexpr int kFewestSunPixels = 200;

// How long the saver is watched from its first frame on: its first frames, in which the comet
// starts its path inside the view before it leaves it for several seconds.
inline constexpr Milliseconds kFirstFrames{1500};
// Enough copies of the first frames to judge them by, however slowly they come.
inline constexpr size_t kFewestSceneCopies = 5;

struct SceneFrame {
  // Pixels of the sun's yellow, and how far their centre lies from the screen's centre.
  int sunPixels = 0;
  double sunOffsetPixels = 0.0;
  // Pixels one pixel thin (black on both sides, across or along) in each planet's exact
  // colour, in the planets' order from the sun out; lit planet spheres give shades instead.
  std::array<int, kPlanetCount> orbitLinePixels{};
  // Pixels one pixel thin in the comet path's exact dark grey.
  int cometPathPixels = 0;
  // Pixels of the comet body's colours: on the straight run from blue-violet to white.
  int cometPixels = 0;
  // Whether the copy shows a frame of the saver: mostly black, with something on it.
  bool drawn = false;

  int allOrbitLinePixels() const;
  int fewestOrbitLinePixels() const;
};

SceneFrame readScene(const ScreenPixels& screen);

// Copies of the whole screen, one after another (about as often as the saver draws), read as
// scenes, from the first that shows a frame on for the given time and until there are at least
// kFewestSceneCopies, or kStartTimeout in all; copies that show nothing drawn are left out.
std::vector<SceneFrame> watchScene(Milliseconds duration = kFirstFrames);

// Waits until the screen shows no frame of a saver: the last picture of one that has just
// ended stays on the screen until the desktop is painted again, and is no frame of the next.
bool waitForNoScene(Milliseconds timeout = kStartTimeout);

// How many of these frames lack the sun.
long framesWithoutTheSun(const std::vector<SceneFrame>& frames);

}  // namespace e2e
