// The one judgement of "the scene is on screen", for every test of either platform that reads
// a picture: the yellow sun and where it sits, the thin orbit lines in the nine planets'
// colours, the comet's dark grey path and the comet's own colours. Each measure counts only
// what nothing else in the scene can produce, so it holds while the camera and planets move.
// The lines' colours are the scene's own (scene/SceneMath.h, scene/CometMesh.h), whose values
// the scene's frame tests write out.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <tuple>
#include <vector>

#include "scene/SceneMath.h"
#include "tests/kit/Picture.h"
#include "tests/kit/Wait.h"

namespace kit {

inline constexpr int kPlanetCount = static_cast<int>(std::tuple_size_v<decltype(kPlanetLooks)>);

struct SceneSeen {
  int width = 0;
  int height = 0;
  long long litPixels = 0;
  // Pixels of the sun's yellow, and how far their centre lies from the picture's centre.
  int sunPixels = 0;
  double sunOffsetPixels = 0.0;
  // Pixels one pixel thin (black on both sides, across or along) in each planet's exact
  // colour, from the sun out; lit planet spheres give shades instead.
  std::array<int, kPlanetCount> orbitLinePixels{};
  // Pixels one pixel thin in the comet path's exact dark grey.
  int cometPathPixels = 0;
  // Pixels of the comet body's colours: on the straight run from blue-violet to white.
  int cometPixels = 0;

  // A frame of the scene: mostly black, with something on it.
  bool drawn() const;
  bool nothingDrawn() const { return litPixels == 0; }
  // The whole sun, its centre within a few pixels of the picture's.
  bool sunAtCentre() const;
  // How many planets' orbit lines show.
  int planetColours() const;
  bool orbitLines() const { return planetColours() == kPlanetCount; }
  // At most a few stray pixels of the lines' colours.
  bool noOrbitLines() const;
  bool cometPath() const;
  bool noCometPath() const;
  bool comet() const;
};

std::ostream& operator<<(std::ostream& out, const SceneSeen& seen);

SceneSeen readScene(const Picture& picture);

// How long a saver is watched from its first frame on: its first frames, in which the comet
// starts its path inside the view before it leaves it for several seconds.
inline constexpr Milliseconds kFirstFrames{1500};
// Enough pictures of the first frames to judge them by, however slowly they come.
inline constexpr std::size_t kFewestScenePictures = 5;

// Pictures taken one after another, read as scenes, from the first that shows a frame on for
// `duration` and until there are kFewestScenePictures, or kPatience in all; pictures that
// show no frame are left out.
std::vector<SceneSeen> watchScene(const std::function<Picture()>& grab,
                                  Milliseconds duration = kFirstFrames);

// The first picture with the sun at its centre, or the last one taken after kPatience.
SceneSeen waitForTheSun(const std::function<Picture()>& grab);

struct SceneOptions {
  bool comet = true;
  bool orbits = true;
};

// The scene as the options say, in every picture: the sun at the centre, the orbit lines with
// the orbits, the comet's path only with both; the comet, which leaves the view a few frames
// in, in at least one picture when it is on and in none when it is off.
void expectScene(const std::vector<SceneSeen>& pictures, SceneOptions options = {});

}  // namespace kit
