// The picture of one frame, read back from the back buffer: the sun in the middle, each
// planet where its path puts it, orbit lines and the comet only when their options are
// on; and the OpenGL state a frame leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "tests/win/WindowTest.h"

namespace {

constexpr int kWidth = 775;
constexpr int kHeight = 512;

struct Point3 {
  double x, y, z;
};

// A tick and where the camera's eye is then, written out from its course (41 units out and
// 20.5 up at tick 0, round the sun once every 360 ticks, in and out once every 720).
struct Camera {
  int counter;
  Point3 eye;
};

// At this tick the camera is about 35 units out and every body, the comet with its tail
// included, stands clear of all the others in a 775 x 512 window.
constexpr Camera kClearView{812, {-1.2391, 35.4822, 12.3315}};
// Two more such ticks, from other parts of the camera's course.
constexpr Camera kOtherClearView{621, {-5.4267, -34.2630, 11.2647}};
constexpr Camera kThirdClearView{1358, {5.0916, -36.2287, 13.8054}};

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

using Matrix = std::array<double, 16>;

// The modelview matrix of a camera at `eye` looking at the sun with z up, column by column
// as OpenGL stores it: the rows are the camera's right, up and backward directions.
Matrix LookingAtTheSunFrom(Point3 eye) {
  auto unit = [](Point3 v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return Point3{v.x / length, v.y / length, v.z / length};
  };
  auto cross = [](Point3 a, Point3 b) {
    return Point3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  };
  auto dot = [](Point3 a, Point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
  const Point3 forward = unit({-eye.x, -eye.y, -eye.z});
  const Point3 right = unit(cross(forward, {0, 0, 1}));
  const Point3 up = cross(right, forward);
  return {right.x, up.x, -forward.x, 0, right.y, up.y, -forward.y, 0,
          right.z, up.z, -forward.z, 0, -dot(right, eye), -dot(up, eye), dot(forward, eye), 1};
}

// Projects as a 775 x 512 window shows the scene: the camera above, a frustum from -1 to 1
// vertically and -775/512 to 775/512 across at the near plane 1, the far plane at 100.
class Projector {
public:
  explicit Projector(const Camera& camera) : modelview_(LookingAtTheSunFrom(camera.eye)) {}

  Spot Project(Point3 centre, double radius) const {
    const Spot spot = ToWindow(centre);
    // The camera's right-hand direction in scene coordinates is the modelview's first row.
    const Spot side = ToWindow({centre.x + radius * modelview_[0], centre.y + radius * modelview_[4],
                                centre.z + radius * modelview_[8]});
    return {spot.x, spot.y, std::hypot(side.x - spot.x, side.y - spot.y)};
  }

private:
  Spot ToWindow(Point3 p) const {
    const Matrix& m = modelview_;
    const double x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    const double y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    const double z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
    // At the near plane the window spans 2 * 775 / 512 across and 2 up; depth is -z.
    const double halfWidthAtNear = 775.0 / 512.0;
    const double ndcX = x / (-z * halfWidthAtNear);
    const double ndcY = y / -z;
    return {(ndcX + 1) * kWidth / 2, (ndcY + 1) * kHeight / 2, 0};
  }

  Matrix modelview_;
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

  // Every body's spot in the frame of the camera's tick: the sun, the nine planets, the
  // comet with its tail (up to about 3.4 units from its head).
  static std::vector<Spot> Bodies(const Camera& camera) {
    const int counter = camera.counter;
    const Projector projector(camera);
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

  void ExpectPlanetsWhereTheirPathsPutThem(const Camera& camera) {
    const int counter = camera.counter;
    const Picture picture = Frame(counter, false, false);
    const std::vector<Spot> bodies = Bodies(camera);
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
  const Picture picture = Frame(kClearView.counter, false, false);
  // Lit from inside, the sun shows pure yellow shades: darkest (about 232) in the middle.
  for (int dx : {-8, 0, 8}) {
    const Rgb pixel = picture.At(kWidth / 2 + dx, kHeight / 2);
    EXPECT_GE(pixel.r, 220) << pixel;
    EXPECT_EQ(pixel.g, pixel.r) << pixel;
    EXPECT_EQ(pixel.b, 0) << pixel;
  }
}

TEST_F(ScenePicture, BackgroundIsBlack) {
  const Picture picture = Frame(kClearView.counter, false, false);
  EXPECT_EQ(picture.At(0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(picture.At(kWidth - 1, kHeight - 1), (Rgb{0, 0, 0}));
}

TEST_F(ScenePicture, EachPlanetShowsItsColourWhereItsPathPutsIt) {
  ExpectPlanetsWhereTheirPathsPutThem(kClearView);
}

TEST_F(ScenePicture, PlanetsMoveOnWithTheTickCount) {
  ExpectPlanetsWhereTheirPathsPutThem(kOtherClearView);
  ExpectPlanetsWhereTheirPathsPutThem(kThirdClearView);
}

TEST_F(ScenePicture, OrbitLinesAppearInTheirPlanetsColoursOnlyWhenOrbitsAreOn) {
  const Picture with = Frame(kClearView.counter, false, true);
  const Picture without = Frame(kClearView.counter, false, false);
  const std::vector<Spot> bodies = Bodies(kClearView);
  for (const Planet& planet : kPlanets) {
    auto line = [&](Rgb pixel) { return Exactly(pixel, planet.colour); };
    EXPECT_GE(CountAwayFromBodies(with, bodies, line), 20) << planet.name << " orbit";
    EXPECT_EQ(CountAwayFromBodies(without, bodies, line), 0) << planet.name << " orbit";
  }
}

TEST_F(ScenePicture, CometShowsNearItsPathPositionOnlyWhenItIsOn) {
  const Picture with = Frame(kClearView.counter, true, false);
  const Spot comet = Bodies(kClearView).back();
  const Picture without = Frame(kClearView.counter, false, false);
  EXPECT_GE(CountNear(with, comet, comet.radius, CometColoured), 10);
  const Spot everywhere{kWidth / 2.0, kHeight / 2.0, double(kWidth + kHeight)};
  EXPECT_EQ(CountNear(without, everywhere, everywhere.radius, CometColoured), 0);
}

// The comet's lighter half, from its middle to the white end of its tail: on the line from
// its middle colour (159, 127, 223) to white, green telling how far along.
bool CometTailColoured(Rgb pixel) {
  if (pixel.g < 110 || pixel.g > 250) return false;
  const double s = (255.0 - pixel.g) / 255.0;
  return std::abs(pixel.r - (255 - 191 * s)) <= 8 && std::abs(pixel.b - (255 - 64 * s)) <= 8;
}

TEST_F(ScenePicture, CometTailPointsAwayFromTheSun) {
  const Picture picture = Frame(kClearView.counter, true, false);
  const Projector projector(kClearView);
  // At this tick the comet's head is at (0, -0.5157, 9.6483), 9.662 from the sun, and its
  // tail 3.105 long. The outer part of the tail lies round (0, -0.6151, 11.5086), further
  // out on the line from the sun through the head; its mirror image, towards the sun, round
  // (0, -0.4162, 7.7879).
  const Spot away = projector.Project({0, -0.6151, 11.5086}, 1.24);
  const Spot towards = projector.Project({0, -0.4162, 7.7879}, 1.24);
  EXPECT_GE(CountNear(picture, away, away.radius, CometTailColoured), 8);
  EXPECT_EQ(CountNear(picture, towards, towards.radius, CometTailColoured), 0);
}

TEST_F(ScenePicture, CometPathIsDarkGreyAndDrawnOnlyWithOrbits) {
  const std::vector<Spot> bodies = Bodies(kClearView);
  auto pathGrey = [](Rgb pixel) { return Exactly(pixel, kCometPathGrey); };
  EXPECT_GE(CountAwayFromBodies(Frame(kClearView.counter, true, true), bodies, pathGrey), 20);
  EXPECT_EQ(CountAwayFromBodies(Frame(kClearView.counter, true, false), bodies, pathGrey), 0);
  EXPECT_EQ(CountAwayFromBodies(Frame(kClearView.counter, false, false), bodies, pathGrey), 0);
}

TEST_F(ScenePicture, FrameReachesTheScreenAtTheSwap) {
  // The screen follows the window's drawing a moment later under a loaded X server.
  auto screenShows = [&](int x, int y, Rgb colour) {
    return PumpMessagesUntil([&] { return ScreenPixel(form->Handle(), x, y) == colour; }, 5000);
  };
  ASSERT_TRUE(screenShows(5, 5, {255, 0, 0})) << "GDI's red before any frame";
  const Picture picture = Frame(kClearView.counter, true, true);
  EXPECT_TRUE(screenShows(5, 5, {0, 0, 0})) << ScreenPixel(form->Handle(), 5, 5);
  const Rgb centre = picture.At(kWidth / 2, kHeight - 1 - kHeight / 2);
  EXPECT_TRUE(screenShows(kWidth / 2, kHeight / 2, centre))
      << ScreenPixel(form->Handle(), kWidth / 2, kHeight / 2) << " instead of " << centre;
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

TEST_F(FrameState, CameraFollowsItsCourseLookingAtTheSunWithZUp) {
  // The first frame, the start of the course again, its closest point below the plane of
  // the paths, and a level point on the far side.
  const Camera cameras[] = {{1, {40.9931, 0.7155, 20.4989}},
                            {720, {41, 0, 20.5}},
                            {720 + 360, {5, 0, -2.5}},
                            {720 + 360 + 180, {-23, 0, 0}}};
  for (const Camera& camera : cameras) {
    SCOPED_TRACE("tick " + std::to_string(camera.counter));
    Frame(camera.counter, false, false);
    EXPECT_NEAR(scene.Eye[0], camera.eye.x, 1e-4);
    EXPECT_NEAR(scene.Eye[1], camera.eye.y, 1e-4);
    EXPECT_NEAR(scene.Eye[2], camera.eye.z, 1e-4);
    EXPECT_EQ(scene.Center, (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(scene.Up, (std::array<double, 3>{0, 0, 1}));
    Matrix modelview{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    const Matrix expected = LookingAtTheSunFrom(camera.eye);
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_NEAR(modelview[i], expected[i], 1e-4 * (1 + std::fabs(expected[i]))) << "element " << i;
    }
  }
}

TEST_F(FrameState, LightSitsAtOneOneZeroInSceneCoordinates) {
  Frame(kClearView.counter, false, false);
  const Matrix m = LookingAtTheSunFrom(kClearView.eye);
  GLfloat light[4] = {};
  glGetLightfv(GL_LIGHT0, GL_POSITION, light);
  // OpenGL keeps the light's position in eye coordinates.
  for (int row = 0; row < 3; ++row) {
    EXPECT_NEAR(light[row], m[row] + m[4 + row] + m[12 + row], 1e-3) << "row " << row;
  }
  EXPECT_EQ(light[3], 1.0f);
}

TEST_F(FrameState, CounterStartsAgainAtOneAfterItsLargestValueAndDrawsOn) {
  Frame(std::numeric_limits<std::int32_t>::max(), false, false);
  EXPECT_EQ(scene.Counter, 1);
  scene.Tick();
  EXPECT_EQ(scene.Counter, 2);
  // A frame was drawn at tick 1, not a second set-up.
  EXPECT_NEAR(scene.Eye[0], 40.9931, 1e-4);
  EXPECT_NEAR(scene.Eye[1], 0.7155, 1e-4);
  EXPECT_NEAR(scene.Eye[2], 20.4989, 1e-4);
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
  Frame(kClearView.counter, false, false);
  GLdouble before[16] = {};
  glGetDoublev(GL_MODELVIEW_MATRIX, before);
  scene.DrawComet(1.0);
  GLdouble after[16] = {};
  glGetDoublev(GL_MODELVIEW_MATRIX, after);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]) << "element " << i;
}
