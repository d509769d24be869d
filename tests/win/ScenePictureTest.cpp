// The picture of one frame, read back from the back buffer: the sun in the middle, each
// planet where its path puts it, orbit lines and the comet only when their options are
// on; and the OpenGL state a frame leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "tests/win/WindowTest.h"

namespace {

constexpr int kWidth = 775;
constexpr int kHeight = 512;
// At this tick the camera is about 35 units out and every body, the comet with its tail
// included, stands clear of all the others in a 775 x 512 window.
constexpr int kClearViewCounter = 812;
// Two more such ticks, from other parts of the camera's course.
constexpr int kOtherClearViewCounter = 621;
constexpr int kThirdClearViewCounter = 1358;

struct Planet {
  const char* name;
  Rgb colour;
  double anglePerTick;
  double distance;
  double radius;
  double inclination;
};

// The nine planets as drawn: colour, step, display distance, sphere radius, tilt.
const std::array<Planet, 9> kPlanets = {{
    {"grey", {128, 128, 128}, 0.1, 4, 0.244, 0},
    {"fuchsia", {255, 0, 255}, 0.09, 6, 0.60518, 0},
    {"aqua", {0, 255, 255}, 0.07, 8, 0.637815, 0},
    {"red", {255, 0, 0}, 0.065, 10, 0.3397, 0},
    {"blue", {0, 0, 255}, 0.05, 13, 1.42984, 0},
    {"teal", {0, 128, 128}, 0.04, 17, 1.20536, 0},
    {"silver", {192, 192, 192}, 0.03, 21, 0.51118, 0},
    {"green", {0, 128, 0}, 0.02, 25, 0.49532, 0},
    {"olive", {128, 128, 0}, 0.01, 29, 0.2274, 0.2},
}};

constexpr double kSunRadius = 2;
const Rgb kCometPathGrey{48, 48, 48};

struct Point3 {
  double x, y, z;
};

// Where planet k's centre is at a tick: on its ellipse, half-axes d and 0.7 d, tilted.
Point3 PlanetCentre(const Planet& planet, int counter) {
  const double angle = counter * planet.anglePerTick;
  const double x = planet.distance * std::cos(angle);
  return {x, 0.7 * planet.distance * std::sin(angle), std::tan(planet.inclination) * x};
}

// The comet's head at a tick: (0, 40 cos a + 10, 10 sin a) with a = counter / 100.
Point3 CometHead(int counter) {
  const double a = counter * 0.01;
  return {0, 40 * std::cos(a) + 10, 10 * std::sin(a)};
}

// A body as it lands in the window: centre in window pixels (y up) and radius in pixels.
struct Spot {
  double x, y, radius;
};

// Projects with the matrices OpenGL holds after the frame.
class Projector {
public:
  Projector() {
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview_);
    glGetDoublev(GL_PROJECTION_MATRIX, projection_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
  }

  Spot Project(Point3 centre, double radius) const {
    Spot spot{};
    double depth = 0;
    gluProject(centre.x, centre.y, centre.z, modelview_, projection_, viewport_, &spot.x,
               &spot.y, &depth);
    // The camera's right-hand direction in scene coordinates is the modelview's first row.
    const Point3 side{centre.x + radius * modelview_[0], centre.y + radius * modelview_[4],
                      centre.z + radius * modelview_[8]};
    double sideX = 0, sideY = 0;
    gluProject(side.x, side.y, side.z, modelview_, projection_, viewport_, &sideX, &sideY, &depth);
    spot.radius = std::hypot(sideX - spot.x, sideY - spot.y);
    return spot;
  }

private:
  GLdouble modelview_[16] = {};
  GLdouble projection_[16] = {};
  GLint viewport_[4] = {};
};

bool Near(int a, int b, int tolerance) {
  return std::abs(a - b) <= tolerance;
}

// A lit sphere shows its colour scaled by the light: the channels that are 0 stay about 0,
// and the others (equal in every planet colour) stay about equal and not black.
bool ShadeOf(Rgb pixel, Rgb colour) {
  const int on[3] = {colour.r, colour.g, colour.b};
  const int got[3] = {pixel.r, pixel.g, pixel.b};
  int level = -1;
  for (int c = 0; c < 3; ++c) {
    if (on[c] == 0) {
      if (got[c] > 3) return false;
    } else if (level < 0) {
      level = got[c];
    } else if (!Near(got[c], level, 3)) {
      return false;
    }
  }
  return level >= 12;
}

bool Exactly(Rgb pixel, Rgb colour) {
  return Near(pixel.r, colour.r, 1) && Near(pixel.g, colour.g, 1) && Near(pixel.b, colour.b, 1);
}

// The comet's colours run from (64, 0, 191) at its head to white at its tail's end: more
// blue than red, some red, and never a planet's colour.
bool CometColoured(Rgb pixel) {
  return pixel.b >= 185 && pixel.b >= pixel.r + 12 && pixel.r >= 55 && pixel.g <= pixel.r;
}

// Counts the pixels within `reach` of a spot that pass a test.
int CountNear(const Picture& picture, Spot spot, double reach, const std::function<bool(Rgb)>& test) {
  int count = 0;
  for (int y = static_cast<int>(spot.y - reach); y <= static_cast<int>(spot.y + reach) + 1; ++y) {
    for (int x = static_cast<int>(spot.x - reach); x <= static_cast<int>(spot.x + reach) + 1; ++x) {
      if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) continue;
      if (std::hypot(x + 0.5 - spot.x, y + 0.5 - spot.y) > reach) continue;
      if (test(picture.At(x, y))) ++count;
    }
  }
  return count;
}

class ScenePicture : public WindowTest {
protected:
  ScenePicture() {
    form->Show();
    PumpMessages(100);
    scene.Tick();
  }

  // Draws the frame of the given tick with the given options and reads it back.
  Picture Frame(int counter, bool comet, bool orbits) {
    scene.ShowComet = comet ? 1 : 0;
    scene.ShowOrbits = orbits ? 1 : 0;
    scene.Counter = counter;
    scene.Tick();
    return Picture::FromBackBuffer(kWidth, kHeight);
  }

  // Every body's spot in the frame just drawn: the sun, the nine planets, the comet with
  // its tail (up to about 3.4 units from its head).
  std::vector<Spot> Bodies(int counter) const {
    const Projector projector;
    std::vector<Spot> spots = {projector.Project({0, 0, 0}, kSunRadius)};
    for (const Planet& planet : kPlanets) {
      spots.push_back(projector.Project(PlanetCentre(planet, counter), planet.radius));
    }
    spots.push_back(projector.Project(CometHead(counter), 3.4));
    return spots;
  }

  // Pixels passing `test` that lie clear of every body.
  int CountAwayFromBodies(const Picture& picture, const std::vector<Spot>& bodies,
                          const std::function<bool(Rgb)>& test) const {
    int count = 0;
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) {
        const bool nearABody = std::any_of(bodies.begin(), bodies.end(), [&](const Spot& spot) {
          return std::hypot(x + 0.5 - spot.x, y + 0.5 - spot.y) <= spot.radius + 4;
        });
        if (!nearABody && test(picture.At(x, y))) ++count;
      }
    }
    return count;
  }

  void ExpectPlanetsWhereTheirPathsPutThem(int counter) {
    const Picture picture = Frame(counter, false, false);
    const std::vector<Spot> bodies = Bodies(counter);
    for (std::size_t k = 0; k < kPlanets.size(); ++k) {
      const Spot spot = bodies[k + 1];
      const double reach = std::max(spot.radius * 0.8, 1.5);
      const Rgb colour = kPlanets[k].colour;
      EXPECT_GE(CountNear(picture, spot, reach, [&](Rgb pixel) { return ShadeOf(pixel, colour); }), 1)
          << "tick " << counter << ": planet " << k + 1 << " (" << kPlanets[k].name << ") at "
          << spot.x << ", " << spot.y;
    }
  }

  // GDI paints the window red until the first swap.
  TSceneF* form = NewSceneWindow(kWidth, kHeight, 0x0000FF);
  TPlanets scene{form};
};

}  // namespace

TEST_F(ScenePicture, SunFillsTheMiddleOfTheWindowInYellow) {
  const Picture picture = Frame(kClearViewCounter, false, false);
  // Lit from inside, the sun shows pure yellow shades: darkest (about 232) in the middle.
  for (int dx : {-8, 0, 8}) {
    const Rgb pixel = picture.At(kWidth / 2 + dx, kHeight / 2);
    EXPECT_GE(pixel.r, 220) << pixel;
    EXPECT_EQ(pixel.g, pixel.r) << pixel;
    EXPECT_EQ(pixel.b, 0) << pixel;
  }
}

TEST_F(ScenePicture, BackgroundIsBlack) {
  const Picture picture = Frame(kClearViewCounter, false, false);
  EXPECT_EQ(picture.At(0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(picture.At(kWidth - 1, kHeight - 1), (Rgb{0, 0, 0}));
}

TEST_F(ScenePicture, EachPlanetShowsItsColourWhereItsPathPutsIt) {
  ExpectPlanetsWhereTheirPathsPutThem(kClearViewCounter);
}

TEST_F(ScenePicture, PlanetsMoveOnWithTheTickCount) {
  ExpectPlanetsWhereTheirPathsPutThem(kOtherClearViewCounter);
  ExpectPlanetsWhereTheirPathsPutThem(kThirdClearViewCounter);
}

TEST_F(ScenePicture, OrbitLinesAppearInTheirPlanetsColoursOnlyWhenOrbitsAreOn) {
  const Picture with = Frame(kClearViewCounter, false, true);
  const Picture without = Frame(kClearViewCounter, false, false);
  const std::vector<Spot> bodies = Bodies(kClearViewCounter);
  for (const Planet& planet : kPlanets) {
    auto line = [&](Rgb pixel) { return Exactly(pixel, planet.colour); };
    EXPECT_GE(CountAwayFromBodies(with, bodies, line), 20) << planet.name << " orbit";
    EXPECT_EQ(CountAwayFromBodies(without, bodies, line), 0) << planet.name << " orbit";
  }
}

TEST_F(ScenePicture, CometShowsNearItsPathPositionOnlyWhenItIsOn) {
  const Picture with = Frame(kClearViewCounter, true, false);
  const Spot comet = Bodies(kClearViewCounter).back();
  const Picture without = Frame(kClearViewCounter, false, false);
  EXPECT_GE(CountNear(with, comet, comet.radius, CometColoured), 10);
  const Spot everywhere{kWidth / 2.0, kHeight / 2.0, double(kWidth + kHeight)};
  EXPECT_EQ(CountNear(without, everywhere, everywhere.radius, CometColoured), 0);
}

TEST_F(ScenePicture, CometPathIsDarkGreyAndDrawnOnlyWithOrbits) {
  const std::vector<Spot> bodies = Bodies(kClearViewCounter);
  auto pathGrey = [](Rgb pixel) { return Exactly(pixel, kCometPathGrey); };
  EXPECT_GE(CountAwayFromBodies(Frame(kClearViewCounter, true, true), bodies, pathGrey), 20);
  EXPECT_EQ(CountAwayFromBodies(Frame(kClearViewCounter, true, false), bodies, pathGrey), 0);
  EXPECT_EQ(CountAwayFromBodies(Frame(kClearViewCounter, false, false), bodies, pathGrey), 0);
}

TEST_F(ScenePicture, FrameReachesTheScreenAtTheSwap) {
  ASSERT_EQ(ScreenPixel(form->Handle(), 5, 5), (Rgb{255, 0, 0})) << "GDI's red before any frame";
  const Picture picture = Frame(kClearViewCounter, true, true);
  EXPECT_EQ(ScreenPixel(form->Handle(), 5, 5), (Rgb{0, 0, 0}));
  EXPECT_EQ(ScreenPixel(form->Handle(), kWidth / 2, kHeight / 2),
            picture.At(kWidth / 2, kHeight - 1 - kHeight / 2));
}

using FrameState = ScenePicture;

TEST_F(FrameState, LightingDepthTestNormalisingAndColourMaterialAreOnAfterAFrame) {
  Frame(1, true, true);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
}

TEST_F(FrameState, ClearColourIsOpaqueBlack) {
  Frame(1, false, false);
  GLfloat clear[4] = {9, 9, 9, 9};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0], 0.0f);
  EXPECT_EQ(clear[1], 0.0f);
  EXPECT_EQ(clear[2], 0.0f);
  EXPECT_EQ(clear[3], 1.0f);
}

TEST_F(FrameState, CameraOfTheFirstFrameLooksAtTheSunFromItsCourse) {
  Frame(1, false, false);
  EXPECT_NEAR(scene.Eye[0], 40.9931, 1e-4);
  EXPECT_NEAR(scene.Eye[1], 0.7155, 1e-4);
  EXPECT_NEAR(scene.Eye[2], 20.4989, 1e-4);
  GLdouble m[16] = {};
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  // The eye maps to the origin of eye space, the sun onto the line of sight (-z).
  for (int row = 0; row < 3; ++row) {
    const double eye = m[row] * scene.Eye[0] + m[4 + row] * scene.Eye[1] + m[8 + row] * scene.Eye[2] + m[12 + row];
    EXPECT_NEAR(eye, 0, 1e-4) << "row " << row;
  }
  EXPECT_NEAR(m[12], 0, 1e-4);
  EXPECT_NEAR(m[13], 0, 1e-4);
  EXPECT_LT(m[14], 0);
}

TEST_F(FrameState, LightSitsAtOneOneZeroInSceneCoordinates) {
  Frame(kClearViewCounter, false, false);
  GLdouble m[16] = {};
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  GLfloat light[4] = {};
  glGetLightfv(GL_LIGHT0, GL_POSITION, light);
  // OpenGL keeps the light's position in eye coordinates.
  for (int row = 0; row < 3; ++row) {
    EXPECT_NEAR(light[row], m[row] + m[4 + row] + m[12 + row], 1e-4) << "row " << row;
  }
  EXPECT_EQ(light[3], 1.0f);
}

TEST_F(FrameState, OrbitLineLeavesLightingAsItFoundIt) {
  glEnable(GL_LIGHTING);
  scene.DrawOrbit(10, 7, 0);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  glDisable(GL_LIGHTING);
  scene.DrawOrbit(10, 7, 0.2);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(FrameState, CometPathLeavesLightingAsItFoundIt) {
  glEnable(GL_LIGHTING);
  scene.DrawCometOrbit(40, 10);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  glDisable(GL_LIGHTING);
  scene.DrawCometOrbit(40, 10);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(FrameState, CometLeavesTheModelviewMatrixAsItFoundIt) {
  Frame(kClearViewCounter, false, false);
  GLdouble before[16] = {};
  glGetDoublev(GL_MODELVIEW_MATRIX, before);
  scene.DrawComet(1.0);
  GLdouble after[16] = {};
  glGetDoublev(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]) << "element " << i;
}
