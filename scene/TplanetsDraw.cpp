// The frame tick and the drawing of the scene: camera, light, sun, planets with
// their orbit lines, and the comet, in OpenGL 1.1 immediate mode.
#include <limits>

#include "scene/CometMesh.h"
#include "scene/GL.h"
#include "scene/SceneMath.h"
#include "scene/Tplanets.h"

namespace {

constexpr TColor kSunColor = 0x00FFFF;
constexpr double kSunRadius = 2;
constexpr int kSphereSlices = 40;
constexpr int kSphereStacks = 40;
constexpr double kCometAnglePerTick = 0.01;

struct Material {
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat emission[4];
  GLfloat specular[4];
  GLfloat shininess;
};
constexpr Material kShiny = {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}, 128};
constexpr Material kDull = {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, 128};

void ApplyMaterial(const Material& material) {
  glMaterialfv(GL_FRONT, GL_AMBIENT, material.ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, material.diffuse);
  glMaterialfv(GL_FRONT, GL_EMISSION, material.emission);
  glMaterialfv(GL_FRONT, GL_SPECULAR, material.specular);
  glMaterialfv(GL_FRONT, GL_SHININESS, &material.shininess);
}

// Forwards the comet's colours and vertices to OpenGL.
struct GLCometSink {
  TPlanets& scene;
  void color(TColor value) { scene.SetColor(value); }
  void vertex(double x, double y, double z) { glVertex3d(x, y, z); }
};

// Keeps lighting as it was found around drawing that must be unlit.
class UnlitScope {
public:
  UnlitScope() {
    glGetBooleanv(GL_LIGHTING, &wasLit_);
    glDisable(GL_LIGHTING);
  }
  ~UnlitScope() {
    if (wasLit_) glEnable(GL_LIGHTING);
  }
  UnlitScope(const UnlitScope&) = delete;
  UnlitScope& operator=(const UnlitScope&) = delete;

private:
  GLboolean wasLit_ = GL_FALSE;
};

}  // namespace

void TPlanets::Tick() {
  // A tick from the modal loop of a set-up failure message must not start another set-up.
  if (settingUp_) return;
  if (Counter == 0) {
    settingUp_ = true;
    bool made = false;
    try {
      made = CreateContext();
    } catch (...) {
      // A failure to make the window must not silence every later tick.
      settingUp_ = false;
      throw;
    }
    settingUp_ = false;
    if (!made) {
      setupFailed_ = true;
      EndAfterFailedSetup();
    }
    Resize();
  } else if (!setupFailed_) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClear(GL_DEPTH_BUFFER_BIT);
    MoveCamera();
    ApplyCamera();
    glDisable(GL_LIGHTING);
    if (ShowComet != 0) DrawComet(Counter * kCometAnglePerTick);
    SetupLight();
    DrawSun();
    for (std::size_t k = 0; k < kPlanetLooks.size(); ++k) {
      const PlanetLook& look = kPlanetLooks[k];
      DrawPlanet(look.color, Diameter[k + 1] * look.radiusFactor, look.distance,
                 Counter * look.anglePerTick, look.inclination);
    }
    SwapFrame();
  }
  // After about 2.7 years of ticks the clock starts again at 1, never at 0 (set-up).
  Counter = Counter == std::numeric_limits<std::int32_t>::max() ? 1 : Counter + 1;
}

void TPlanets::Resize() {
  SetupProjection();
}

void TPlanets::SetupProjection() {
  int width = ClientWidth();
  int height = ClientHeight();
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  FrustumBounds bounds = ProjectionFrustum(width, height);
  glFrustum(bounds.left, bounds.right, bounds.bottom, bounds.top, bounds.zNear, bounds.zFar);
}

void TPlanets::MoveCamera() {
  Vec3 eye = CameraEye(Counter);
  Eye = {eye.x, eye.y, eye.z};
  Center = {0, 0, 0};
  Up = {0, 0, 1};
}

void TPlanets::ApplyCamera() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(Eye[0], Eye[1], Eye[2], Center[0], Center[1], Center[2], Up[0], Up[1], Up[2]);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_NORMALIZE);
}

void TPlanets::SetupLight() {
  static constexpr GLfloat kLightPosition[4] = {1, 1, 0, 1};
  glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
}

void TPlanets::SetColor(TColor color) {
  constexpr double kByteToUnit = 1.0 / 255;
  auto channel = [&](int shift) {
    return static_cast<float>(((color >> shift) & 0xFF) * kByteToUnit);
  };
  glColor3d(channel(0), channel(8), channel(16));
}

void TPlanets::SetShinyMaterial() {
  ApplyMaterial(kShiny);
}

void TPlanets::SetDullMaterial() {
  ApplyMaterial(kDull);
}

void TPlanets::DrawSun() {
  SetColor(kSunColor);
  SetShinyMaterial();
  DrawSphere(kSphereSlices, kSphereStacks, kSunRadius, true);
}

void TPlanets::DrawPlanet(TColor color, double radius, double distance, double angle,
                          double inclination) {
  SetColor(color);
  if (ShowOrbits != 0) DrawOrbit(distance, 0.7 * distance, inclination);
  glPushMatrix();
  Vec3 position = PlanetPosition(distance, angle, inclination);
  glTranslated(position.x, position.y, position.z);
  SetDullMaterial();
  DrawSphere(kSphereSlices, kSphereStacks, radius);
  glPopMatrix();
}

void TPlanets::DrawOrbit(double xHalfAxis, double yHalfAxis, double inclination) {
  UnlitScope unlit;
  glBegin(GL_LINE_STRIP);
  for (int k = 0; k <= 360; ++k) {
    Vec3 vertex = OrbitVertex(xHalfAxis, yHalfAxis, inclination, k);
    glVertex3d(vertex.x, vertex.y, vertex.z);
  }
  glEnd();
}

void TPlanets::DrawSphere(int slices, int stacks, double radius, bool inward) {
  GLUquadric* quadric = gluNewQuadric();
  // Without a quadric the sphere is left out of this frame.
  if (quadric == nullptr) return;
  gluQuadricOrientation(quadric, inward ? GLU_INSIDE : GLU_OUTSIDE);
  gluSphere(quadric, radius, slices, stacks);
  gluDeleteQuadric(quadric);
}

void TPlanets::DrawComet(double angle) {
  if (ShowOrbits != 0) DrawCometOrbit(kCometPathYSemiAxis, kCometPathZSemiAxis);
  SetShinyMaterial();
  glPushMatrix();
  CometPlacement placement = PlaceComet(angle);
  glTranslated(0, placement.y, placement.z);
  glRotated(placement.rotationDeg, 1, 0, 0);
  DrawCometBody(placement.distance);
  glPopMatrix();
}

void TPlanets::DrawCometOrbit(double ySemiAxis, double zSemiAxis) {
  UnlitScope unlit;
  SetColor(CometPathColor());
  GLCometSink sink{*this};
  glBegin(GL_LINE_STRIP);
  EmitCometPath(ySemiAxis, zSemiAxis, sink);
  glEnd();
}

void TPlanets::DrawCometBody(double distance) {
  GLCometSink sink{*this};
  glBegin(GL_QUADS);
  EmitCometBody(distance, sink);
  glEnd();
}
