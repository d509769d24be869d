// Viewport and projection after a resize, read back from OpenGL: the shorter side of the
// client area spans -1 to 1 at the near plane 1, the far plane is 100.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>

#include "framework/FloatingPoint.h"
#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "tests/win/WindowTest.h"

namespace {

using Matrix = std::array<double, 16>;
using Viewport = std::array<GLint, 4>;

// The matrix glFrustum multiplies by, column by column, as OpenGL stores it.
Matrix FrustumMatrix(double left, double right, double bottom, double top, double zNear,
                     double zFar) {
  Matrix m{};
  m[0] = 2 * zNear / (right - left);
  m[5] = 2 * zNear / (top - bottom);
  m[8] = (right + left) / (right - left);
  m[9] = (top + bottom) / (top - bottom);
  m[10] = -(zFar + zNear) / (zFar - zNear);
  m[11] = -1;
  m[14] = -2 * zFar * zNear / (zFar - zNear);
  return m;
}

Matrix ProjectionMatrix() {
  Matrix m{};
  glGetDoublev(GL_PROJECTION_MATRIX, m.data());
  return m;
}

Viewport CurrentViewport() {
  Viewport v{};
  glGetIntegerv(GL_VIEWPORT, v.data());
  return v;
}

// OpenGL keeps its matrices in single precision.
void ExpectMatrixNear(const Matrix& actual, const Matrix& expected) {
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_NEAR(actual[i], expected[i], 1e-6 * (1 + std::fabs(expected[i]))) << "element " << i;
  }
}

struct ClientSize {
  int width, height;
  double left, right, bottom, top;
};

std::ostream& operator<<(std::ostream& out, const ClientSize& size) {
  return out << size.width << "x" << size.height;
}

class ProjectionAfterResize : public WindowTest, public testing::WithParamInterface<ClientSize> {
protected:
  TSceneF* form = NewSceneWindow(300, 300);
};

}  // namespace

TEST_P(ProjectionAfterResize, FrustumBoundsFollowTheClientArea) {
  const ClientSize size = GetParam();
  TPlanets scene(form);
  scene.Tick();
  form->SetClientSize(size.width, size.height);
  scene.Resize();
  ExpectMatrixNear(ProjectionMatrix(),
                   FrustumMatrix(size.left, size.right, size.bottom, size.top, 1, 100));
  EXPECT_EQ(CurrentViewport(), (Viewport{0, 0, size.width, size.height}));
}

TEST_P(ProjectionAfterResize, FirstTickSetsTheProjectionForTheWindowItFinds) {
  const ClientSize size = GetParam();
  form->SetClientSize(size.width, size.height);
  TPlanets scene(form);
  scene.Tick();
  ExpectMatrixNear(ProjectionMatrix(),
                   FrustumMatrix(size.left, size.right, size.bottom, size.top, 1, 100));
  EXPECT_EQ(CurrentViewport(), (Viewport{0, 0, size.width, size.height}));
}

INSTANTIATE_TEST_SUITE_P(ClientSizes, ProjectionAfterResize,
                         testing::Values(ClientSize{775, 512, -1.513671875, 1.513671875, -1, 1},
                                         ClientSize{400, 400, -1, 1, -1, 1},
                                         ClientSize{100, 200, -1, 1, -2, 2}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

namespace {

// A window squeezed to nothing in one or both directions, with floating-point exceptions
// masked as the saver's forms mask them; the control registers are restored afterwards.
class EmptyClientArea : public WindowTest {
protected:
  EmptyClientArea() { MaskFloatingPointExceptions(); }
  ~EmptyClientArea() override {
    SetX87ControlWord(savedX87_);
    SetSseControlStatus(savedSse_);
  }

  // Resizes the window, then draws one frame; returns the projection in between.
  Matrix ResizeToAndDraw(int width, int height) {
    form->SetClientSize(width, height);
    scene.Resize();
    const Matrix projection = ProjectionMatrix();
    scene.Tick();
    return projection;
  }

  std::uint16_t savedX87_ = X87ControlWord();
  std::uint32_t savedSse_ = SseControlStatus();
  TSceneF* form = NewSceneWindow(300, 200);
  TPlanets scene{form};
};

}  // namespace

TEST_F(EmptyClientArea, ZeroHeightGivesInfiniteSideBoundsWithoutFaulting) {
  scene.Tick();
  const Matrix m = ResizeToAndDraw(300, 0);
  EXPECT_EQ(CurrentViewport(), (Viewport{0, 0, 300, 0}));
  EXPECT_EQ(m[0], 0.0) << "left and right are infinite";
  EXPECT_NEAR(m[5], 1.0, 1e-6) << "bottom -1, top 1";
  EXPECT_EQ(scene.Counter, 2);
}

TEST_F(EmptyClientArea, ZeroWidthGivesInfiniteVerticalBoundsWithoutFaulting) {
  scene.Tick();
  const Matrix m = ResizeToAndDraw(0, 200);
  EXPECT_EQ(CurrentViewport(), (Viewport{0, 0, 0, 200}));
  EXPECT_NEAR(m[0], 1.0, 1e-6) << "left -1, right 1";
  EXPECT_EQ(m[5], 0.0) << "bottom and top are infinite";
  EXPECT_EQ(scene.Counter, 2);
}

TEST_F(EmptyClientArea, NoAreaAtAllGivesNotANumberSideBoundsWithoutFaulting) {
  scene.Tick();
  const Matrix m = ResizeToAndDraw(0, 0);
  EXPECT_EQ(CurrentViewport(), (Viewport{0, 0, 0, 0}));
  // The aspect 0 / 0 is not a number, so the second formula: left and right not a number.
  EXPECT_TRUE(std::isnan(m[0]));
  EXPECT_NEAR(m[5], 1.0, 1e-6) << "bottom -1, top 1";
  EXPECT_EQ(scene.Counter, 2);
}
