// The scene's frames as OpenGL calls, natively and in milliseconds: the set-up tick, the camera,
// the light and materials, each planet's colour and place, the orbit lines and the comet each
// on and off alone, and the swap. The recorder stands in for OpenGL; the calls are written out.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "scene/Tplanets.h"
#include "tests/scene/GlRecorder.h"

namespace {

// At this tick every body stands clear of the others (the camera about 35 units out).
constexpr int kClearView = 812;

GlCalls Join(std::initializer_list<GlCalls> parts) {
  GlCalls joined;
  for (const GlCalls& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

// The calls with each glBegin ... glEnd folded into one line that counts what it holds.
GlCalls Outline(const GlCalls& calls) {
  GlCalls outline;
  for (std::size_t k = 0; k < calls.size(); ++k) {
    outline.push_back(calls[k]);
    if (calls[k].starts_with("glBegin(")) {
      int vertices = 0, colours = 0;
      for (++k; k < calls.size() && calls[k] != "glEnd()"; ++k) {
        vertices += calls[k].starts_with("glVertex3d(");
        colours += calls[k].starts_with("glColor3d(");
      }
      outline.back() += ": " + std::to_string(vertices) + " vertices";
      if (colours > 0) outline.back() += ", " + std::to_string(colours) + " colours";
    }
  }
  return outline;
}

// Compares call by call, naming the first call that differs (GoogleTest shows only the start
// of long lists).
testing::AssertionResult SameCalls(const GlCalls& actual, const GlCalls& expected) {
  for (std::size_t k = 0; k < actual.size() && k < expected.size(); ++k) {
    if (actual[k] != expected[k]) {
      return testing::AssertionFailure()
             << "call " << k << " is " << actual[k] << " instead of " << expected[k];
    }
  }
  if (actual.size() == expected.size()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << actual.size() << " calls instead of " << expected.size();
}

// Each glBegin ... glEnd of the calls, whole, in drawing order.
std::vector<GlCalls> Primitives(const GlCalls& calls) {
  std::vector<GlCalls> primitives;
  bool inside = false;
  for (const std::string& call : calls) {
    if (call.starts_with("glBegin(")) {
      primitives.emplace_back();
      inside = true;
    }
    if (inside) primitives.back().push_back(call);
    if (call == "glEnd()") inside = false;
  }
  return primitives;
}

const GlCalls kShinyMaterial = {"glMaterialfv(GL_FRONT, GL_AMBIENT, 0, 0, 0, 0)",
                                "glMaterialfv(GL_FRONT, GL_DIFFUSE, 0, 0, 0, 0)",
                                "glMaterialfv(GL_FRONT, GL_EMISSION, 0, 0, 0, 0)",
                                "glMaterialfv(GL_FRONT, GL_SPECULAR, 1, 1, 1, 1)",
                                "glMaterialfv(GL_FRONT, GL_SHININESS, 128)"};
const GlCalls kDullMaterial = {"glMaterialfv(GL_FRONT, GL_AMBIENT, 0, 0, 0, 0)",
                               "glMaterialfv(GL_FRONT, GL_DIFFUSE, 0, 0, 0, 0)",
                               "glMaterialfv(GL_FRONT, GL_EMISSION, 0, 0, 0, 0)",
                               "glMaterialfv(GL_FRONT, GL_SPECULAR, 0, 0, 0, 0)",
                               "glMaterialfv(GL_FRONT, GL_SHININESS, 128)"};

// Clears to opaque black and looks at the sun from the camera's eye, z up; drawing starts unlit.
GlCalls FrameStart(const std::string& lookAt) {
  return {"glClearColor(0, 0, 0, 1)",
          "glClear(GL_COLOR_BUFFER_BIT)",
          "glClear(GL_DEPTH_BUFFER_BIT)",
          "glMatrixMode(GL_MODELVIEW)",
          "glLoadIdentity()",
          lookAt,
          "glEnable(GL_COLOR_MATERIAL)",
          "glEnable(GL_DEPTH_TEST)",
          "glEnable(GL_NORMALIZE)",
          "glDisable(GL_LIGHTING)"};
}

// The light at (1, 1, 0) in scene coordinates, just inside the sun; the sun, yellow and shiny,
// lit from inside.
const GlCalls kLightAndSun =
    Join({{"glLightfv(GL_LIGHT0, GL_POSITION, 1, 1, 0, 1)", "glEnable(GL_LIGHTING)",
           "glEnable(GL_LIGHT0)", "glColor3d(1, 1, 0)"},
          kShinyMaterial,
          {"gluNewQuadric()", "gluQuadricOrientation(GLU_INSIDE)", "gluSphere(2, 40, 40)",
           "gluDeleteQuadric()"}});

struct Planet {
  std::string colour, sphere;
  // Where its sphere stands at kClearView and at tick 621.
  std::string placeAtClearView, placeAt621;
  // Its orbit line's first vertex (also its last) and the one a quarter of the way round.
  std::string orbitStart, orbitQuarter;
};

// The nine planets, from the innermost out: grey, fuchsia, aqua, red, blue, teal, silver,
// green and olive, on ellipses with half-axes d and 0.7 d; the olive one tilted by 0.2.
const std::vector<Planet> kPlanets = {
    {"glColor3d(0.501961, 0.501961, 0.501961)", "gluSphere(0.244, 40, 40)",
     "glTranslated(3.54537, -1.29648, 0)", "glTranslated(2.97575, -1.8711, 0)",
     "glVertex3d(4, 0, 0)", "glVertex3d(0, 2.8, 0)"},
    {"glColor3d(1, 0, 1)", "gluSphere(0.60518, 40, 40)", "glTranslated(-4.07852, -3.08045, 0)",
     "glTranslated(4.74485, -2.57067, 0)", "glVertex3d(6, 0, 0)", "glVertex3d(0, 4.2, 0)"},
    {"glColor3d(0, 1, 1)", "gluSphere(0.637815, 40, 40)", "glTranslated(7.6629, 1.60848, 0)",
     "glTranslated(6.97297, -2.74501, 0)", "glVertex3d(8, 0, 0)", "glVertex3d(0, 5.6, 0)"},
    {"glColor3d(1, 0, 0)", "gluSphere(0.3397, 40, 40)", "glTranslated(-8.09747, 4.10745, 0)",
     "glTranslated(-8.8897, 3.20575, 0)", "glVertex3d(10, 0, 0)", "glVertex3d(0, 7, 0)"},
    {"glColor3d(0, 0, 1)", "gluSphere(1.42984, 40, 40)", "glTranslated(-12.6252, 2.16932, 0)",
     "glTranslated(12.1393, -3.25611, 0)", "glVertex3d(13, 0, 0)", "glVertex3d(0, 9.1, 0)"},
    {"glColor3d(0, 0.501961, 0.501961)", "gluSphere(1.20536, 40, 40)",
     "glTranslated(8.25035, 10.4046, 0)", "glTranslated(16.2768, -3.43408, 0)",
     "glVertex3d(17, 0, 0)", "glVertex3d(0, 11.9, 0)"},
    {"glColor3d(0.752941, 0.752941, 0.752941)", "gluSphere(0.51118, 40, 40)",
     "glTranslated(15.036, -10.2621, 0)", "glTranslated(20.4959, -3.2016, 0)",
     "glVertex3d(21, 0, 0)", "glVertex3d(0, 14.7, 0)"},
    {"glColor3d(0, 0.501961, 0)", "gluSphere(0.49532, 40, 40)",
     "glTranslated(-21.5444, -8.87757, 0)", "glTranslated(24.7327, -2.55235, 0)",
     "glVertex3d(25, 0, 0)", "glVertex3d(0, 17.5, 0)"},
    {"glColor3d(0.501961, 0.501961, 0)", "gluSphere(0.2274, 40, 40)",
     "glTranslated(-7.62387, 19.586, -1.54543)", "glTranslated(28.9224, -1.48434, 5.86285)",
     "glVertex3d(29, 0, 5.87859)", "glVertex3d(0, 20.3, 0)"},
};

// A planet in its colour: its orbit line drawn unlit, then its dull sphere where it stands.
GlCalls PlanetCalls(const Planet& planet, const std::string& place, bool orbits) {
  GlCalls calls = {planet.colour};
  if (orbits) {
    calls.insert(calls.end(), {"glGetBooleanv(GL_LIGHTING)", "glDisable(GL_LIGHTING)",
                               "glBegin(GL_LINE_STRIP): 361 vertices", "glEnable(GL_LIGHTING)"});
  }
  return Join({calls,
               {"glPushMatrix()", place},
               kDullMaterial,
               {"gluNewQuadric()", "gluQuadricOrientation(GLU_OUTSIDE)", planet.sphere,
                "gluDeleteQuadric()", "glPopMatrix()"}});
}

// The comet at kClearView, drawn while lighting is off: its dark grey path with the orbit
// lines; its head at (0, -0.515678, 9.64825), and its body turned by 93.06 degrees about x,
// which takes the tail's direction (+y) to (0, -0.0534, 0.9986), away from the sun.
GlCalls CometCalls(bool orbits) {
  GlCalls path;
  if (orbits) {
    path = {"glGetBooleanv(GL_LIGHTING)", "glDisable(GL_LIGHTING)",
            "glColor3d(0.188235, 0.188235, 0.188235)", "glBegin(GL_LINE_STRIP): 361 vertices"};
  }
  return Join(
      {path,
       kShinyMaterial,
       {"glPushMatrix()", "glTranslated(0, -0.515678, 9.64825)", "glRotated(93.0594, 1, 0, 0)",
        "glBegin(GL_QUADS): 12800 vertices, 9600 colours", "glPopMatrix()"}});
}

GlCalls ClearViewFrame(bool comet, bool orbits) {
  GlCalls expected = FrameStart("gluLookAt(-1.23907, 35.4822, 12.3315, 0, 0, 0, 0, 0, 1)");
  if (comet) expected = Join({expected, CometCalls(orbits)});
  expected = Join({expected, kLightAndSun});
  for (const Planet& planet : kPlanets) {
    expected = Join({expected, PlanetCalls(planet, planet.placeAtClearView, orbits)});
  }
  expected.push_back("SwapFrame()");
  return expected;
}

// The calls that fit the projection to a window of that size.
GlCalls Projection(const RecordedWindow& size, const std::string& frustum) {
  return {
      "glViewport(0, 0, " + std::to_string(size.width) + ", " + std::to_string(size.height) + ")",
      "glMatrixMode(GL_PROJECTION)", "glLoadIdentity()", frustum};
}

// A scene past its set-up tick, on a 775 x 512 window.
class SceneFrame : public testing::Test {
protected:
  SceneFrame() {
    scene.Tick();
    TakeGlCalls();
  }

  // The calls of the frame of the given tick with the given options.
  GlCalls Frame(int counter, bool comet, bool orbits) {
    scene.ShowComet = comet ? 1 : 0;
    scene.ShowOrbits = orbits ? 1 : 0;
    scene.Counter = counter;
    scene.Tick();
    return TakeGlCalls();
  }

  RecordedWindow window;
  TPlanets scene{&window};
};

// The comet option and the orbits option.
using Options = std::pair<bool, bool>;

class FrameWithOptions : public SceneFrame, public testing::WithParamInterface<Options> {};

}  // namespace

TEST(SceneSetUp, FirstTickMakesTheContextAndSetsTheProjectionForTheWindow) {
  // The shorter side spans -1 to 1 at the near plane 1; the far plane is 100.
  const std::vector<std::pair<RecordedWindow, std::string>> cases = {
      {{775, 512}, "glFrustum(-1.51367, 1.51367, -1, 1, 1, 100)"},
      {{400, 400}, "glFrustum(-1, 1, -1, 1, 1, 100)"},
      {{100, 200}, "glFrustum(-1, 1, -2, 2, 1, 100)"}};
  for (auto [window, frustum] : cases) {
    TPlanets scene(&window);
    scene.Tick();
    EXPECT_EQ(TakeGlCalls(), Join({{"CreateContext()"}, Projection(window, frustum)}));
    EXPECT_EQ(scene.Counter, 1);
  }
}

TEST(SceneSetUp, FailedSetUpEndsTheProgramAndLaterTicksDrawNothing) {
  RecordedWindow window{775, 512, true};
  TPlanets scene(&window);
  scene.Tick();
  const GlCalls setUp = TakeGlCalls();
  ASSERT_GE(setUp.size(), 2u);
  EXPECT_EQ(setUp[0], "CreateContext()");
  EXPECT_EQ(setUp[1], "EndAfterFailedSetup()");
  scene.Tick();
  scene.Tick();
  EXPECT_EQ(TakeGlCalls(), GlCalls{});
  EXPECT_EQ(scene.Counter, 3);
}

TEST_F(SceneFrame, ResizeFollowsTheClientAreaDownToNothingAndFramesGoOn) {
  // A side of 0 is not special-cased: the bounds become infinite, or not a number for 0 / 0.
  const std::vector<std::pair<RecordedWindow, std::string>> cases = {
      {{400, 300}, "glFrustum(-1.33333, 1.33333, -1, 1, 1, 100)"},
      {{300, 0}, "glFrustum(-inf, inf, -1, 1, 1, 100)"},
      {{0, 200}, "glFrustum(-1, 1, -inf, inf, 1, 100)"},
      {{0, 0}, "glFrustum(nan, nan, -1, 1, 1, 100)"}};
  for (const auto& [size, frustum] : cases) {
    window = size;
    scene.Resize();
    EXPECT_EQ(TakeGlCalls(), Projection(size, frustum));
    EXPECT_EQ(Frame(1, false, false).back(), "SwapFrame()");
  }
}

TEST_P(FrameWithOptions, DrawsTheCometAndTheOrbitLinesOnlyWhenTheirOptionIsOn) {
  const auto [comet, orbits] = GetParam();
  EXPECT_TRUE(SameCalls(Outline(Frame(kClearView, comet, orbits)), ClearViewFrame(comet, orbits)));
}

INSTANTIATE_TEST_SUITE_P(EachOptionAlone, FrameWithOptions,
                         testing::Values(Options{true, true}, Options{true, false},
                                         Options{false, true}, Options{false, false}),
                         [](const auto& info) {
                           return std::string(info.param.first ? "Comet" : "NoComet") +
                                  (info.param.second ? "Orbits" : "NoOrbits");
                         });

TEST_F(SceneFrame, PlanetsMoveOnWithTheTickCount) {
  GlCalls expected, drawn;
  for (const Planet& planet : kPlanets) expected.push_back(planet.placeAt621);
  for (const std::string& call : Frame(621, false, false)) {
    if (call.starts_with("glTranslated(")) drawn.push_back(call);
  }
  EXPECT_EQ(drawn, expected);
}

TEST_F(SceneFrame, CameraFollowsItsCourseLookingAtTheSunWithZUp) {
  // The first frame, the start of the course again, its closest point below the plane of the
  // paths, and a level point on the far side.
  const std::vector<std::pair<int, std::string>> cameras = {
      {1, "gluLookAt(40.9931, 0.715537, 20.4989, 0, 0, 0, 0, 0, 1)"},
      {720, "gluLookAt(41, 0, 20.5, 0, 0, 0, 0, 0, 1)"},
      {720 + 360, "gluLookAt(5, 0, -2.5, 0, 0, 0, 0, 0, 1)"},
      {720 + 360 + 180, "gluLookAt(-23, 0, 0, 0, 0, 0, 0, 0, 1)"}};
  for (const auto& [counter, lookAt] : cameras) {
    const GlCalls frame = Frame(counter, false, false);
    EXPECT_EQ(GlCalls(frame.begin(), frame.begin() + 10), FrameStart(lookAt)) << "tick " << counter;
  }
}

TEST_F(SceneFrame, OrbitLinesCloseRoundEachPlanetsEllipseAndTheCometsPath) {
  const std::vector<GlCalls> lines = Primitives(Frame(kClearView, true, true));
  ASSERT_EQ(lines.size(), 1 + 1 + kPlanets.size()) << "the comet's path, its body, nine orbits";
  // The comet's path: y = 40 cos a + 10, z = 10 sin a.
  EXPECT_EQ(lines[0][1], "glVertex3d(0, 50, 0)");
  EXPECT_EQ(lines[0][91], "glVertex3d(0, 10, 10)");
  EXPECT_EQ(lines[0][181], "glVertex3d(0, -30, 0)");
  EXPECT_EQ(lines[0][361], "glVertex3d(0, 50, 0)");
  for (std::size_t k = 0; k < kPlanets.size(); ++k) {
    const GlCalls& line = lines[k + 2];
    EXPECT_EQ(line[1], kPlanets[k].orbitStart) << "planet " << k + 1;
    EXPECT_EQ(line[91], kPlanets[k].orbitQuarter) << "planet " << k + 1;
    EXPECT_EQ(line[361], kPlanets[k].orbitStart) << "planet " << k + 1;
  }
}

TEST_F(SceneFrame, CometRunsFromAPurplishBlueHeadToAWhiteTail) {
  const GlCalls body = Primitives(Frame(kClearView, true, false)).at(0);
  // Its first quad starts at the head, on the sun's side, in purple averaged with blue.
  EXPECT_EQ(body[1], "glColor3d(0.25098, 0, 0.74902)");
  EXPECT_EQ(body[2], "glVertex3d(0, -0.25, 0)");
  // Its last ends at the tail's tip, 60 / 9.662 / 2 out at this distance from the sun, in white.
  const std::size_t last = body.size() - 6;
  EXPECT_EQ(body[last], "glColor3d(1, 1, 1)");
  EXPECT_EQ(body[last + 1], "glVertex3d(0, 3.10494, 0)");
}

TEST_F(SceneFrame, CounterStartsAgainAtOneAfterItsLargestValueAndDrawsOn) {
  Frame(std::numeric_limits<std::int32_t>::max(), false, false);
  EXPECT_EQ(scene.Counter, 1);
  scene.Tick();
  EXPECT_EQ(scene.Counter, 2);
  const GlCalls frame = TakeGlCalls();
  // A frame from the start of the camera's course, not a second set-up.
  EXPECT_EQ(frame.at(5), "gluLookAt(40.9931, 0.715537, 20.4989, 0, 0, 0, 0, 0, 1)");
}
