// The scene's OpenGL context on a real window: made on the first tick, which draws
// nothing, and released when the scene object goes; the process-wide format request.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "tests/win/WindowTest.h"
#include "win32/PixelFormat.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;
// What the window shows through GDI before OpenGL has drawn anything: red.
constexpr TColor kGdiRed = 0x0000FF;

class SceneContext : public WindowTest {
protected:
  TSceneF* form = NewSceneWindow(kWidth, kHeight, kGdiRed);
};

// Puts `front` on the screen and leaves `back` in the back buffer, through a context of the
// test's own on the pixel format the scene will choose, then lets that context go.
void PaintBuffersBeforeTheScene(HWND window, std::uint32_t front, std::uint32_t back) {
  HDC dc = GetDC(window);
  PIXELFORMATDESCRIPTOR request = PreparedRequestedFormat();
  ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &request), &request));
  HGLRC context = wglCreateContext(dc);
  wglMakeCurrent(dc, context);
  glClearColor(kit::red(front) / 255.0f, kit::green(front) / 255.0f, kit::blue(front) / 255.0f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  SwapBuffers(dc);
  glClearColor(kit::red(back) / 255.0f, kit::green(back) / 255.0f, kit::blue(back) / 255.0f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(context);
}

}  // namespace

// Even on a hidden window: the form is not shown yet.
TEST_F(SceneContext, FirstTickMakesAContextCurrentOnTheWindow) {
  ASSERT_FALSE(IsWindowVisible(form->Handle()));
  TPlanets scene(form);
  scene.Tick();
  EXPECT_TRUE(scene.HasContext);
  ASSERT_NE(scene.RC, nullptr);
  EXPECT_EQ(wglGetCurrentContext(), scene.RC);
  EXPECT_EQ(wglGetCurrentDC(), scene.DC);
  EXPECT_EQ(WindowFromDC(scene.DC), form->Handle());
}

TEST_F(SceneContext, FirstTickClearsDrawsAndSwapsNothing) {
  form->Show();
  kit::pause(kit::Milliseconds{100});
  constexpr std::uint32_t blue = 0x0000FF;
  constexpr std::uint32_t green = 0x00FF00;
  PaintBuffersBeforeTheScene(form->Handle(), blue, green);
  ASSERT_EQ(ScreenPixel(form->Handle(), kWidth / 2, kHeight / 2), blue);

  TPlanets scene(form);
  scene.Tick();
  ASSERT_TRUE(scene.HasContext);

  const kit::Picture back = BackBuffer(kWidth, kHeight);
  EXPECT_EQ(back.at(0, 0), green);
  EXPECT_EQ(back.at(kWidth / 2, kHeight / 2), green);
  EXPECT_EQ(back.at(kWidth - 1, kHeight - 1), green);
  EXPECT_EQ(ScreenPixel(form->Handle(), kWidth / 2, kHeight / 2), blue);
}

TEST_F(SceneContext, FirstTickLeavesTheContextsDrawingStateUntouched) {
  TPlanets scene(form);
  scene.Tick();
  GLfloat clear[4] = {9, 9, 9, 9};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[3], 0.0f) << "a frame clears with opaque black";
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  GLdouble modelview[16] = {};
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  const GLdouble identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_EQ(std::memcmp(modelview, identity, sizeof identity), 0) << "no camera applied";
}

TEST_F(SceneContext, DestroyingTheSceneUnbindsAndDeletesItsContext) {
  HDC dc = nullptr;
  HGLRC rc = nullptr;
  {
    TPlanets scene(form);
    scene.Tick();
    dc = scene.DC;
    rc = scene.RC;
    ASSERT_EQ(wglGetCurrentContext(), rc);
  }
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_FALSE(wglMakeCurrent(dc, rc)) << "the context still exists";
}

// Neither a scene that never ticked nor one made without a window (for its settings only).
TEST_F(SceneContext, SceneWithoutAContextLeavesAnotherCurrentContextAlone) {
  TPlanets drawing(form);
  drawing.Tick();
  ASSERT_EQ(wglGetCurrentContext(), drawing.RC);
  { TPlanets idle(form); }
  EXPECT_EQ(wglGetCurrentContext(), drawing.RC) << "a scene that never ticked";
  { TPlanets settingsOnly(nullptr); }
  EXPECT_EQ(wglGetCurrentContext(), drawing.RC) << "a scene without a window";
}

TEST_F(SceneContext, EachSceneObjectHasAContextOfItsOwn) {
  TSceneF* other = NewSceneWindow(kWidth, kHeight);
  TPlanets first(form);
  TPlanets second(other);
  first.Tick();
  second.Tick();
  EXPECT_NE(first.RC, second.RC);
  EXPECT_EQ(wglGetCurrentContext(), second.RC) << "the latest set-up is current";
}

using ProcessFormatRequest = WindowTest;

TEST_F(ProcessFormatRequest, AfterASetUpHoldsTheDescriptionOfTheChosenFormat) {
  TSceneF* form = NewSceneWindow(kWidth, kHeight);
  {
    TPlanets scene(form);
    scene.Tick();
    ASSERT_TRUE(scene.HasContext);
    PIXELFORMATDESCRIPTOR described{};
    ASSERT_NE(DescribePixelFormat(scene.DC, GetPixelFormat(scene.DC), sizeof described, &described),
              0);
    EXPECT_EQ(std::memcmp(&RequestedFormat(), &described, sizeof described), 0);
  }
  const PIXELFORMATDESCRIPTOR& format = RequestedFormat();
  EXPECT_EQ(format.dwFlags & 0x25u, 0x25u) << "window, OpenGL, double-buffered";
  EXPECT_EQ(format.iPixelType, PFD_TYPE_RGBA);
}

TEST_F(ProcessFormatRequest, FlagsAreStoredOnlyOnceInTheProcess) {
  PreparedRequestedFormat();
  const PIXELFORMATDESCRIPTOR saved = RequestedFormat();
  constexpr DWORD kChangedFlags = 0x00000125;
  RequestedFormat().dwFlags = kChangedFlags;
  EXPECT_EQ(PreparedRequestedFormat().dwFlags, kChangedFlags);
  EXPECT_EQ(&PreparedRequestedFormat(), &RequestedFormat()) << "one record for the process";
  RequestedFormat() = saved;
}

TEST_F(SceneContext, AWindowThatCannotBeMadeFailsTheFirstTickEachTimeItIsTried) {
  // A host that is no window: the form's window cannot be made when the first tick asks.
  TSceneF* orphan = NewSceneWindow(kWidth, kHeight);
  orphan->SetParentWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFFFFF0)));
  TPlanets scene(orphan);
  EXPECT_THROW(scene.Tick(), Exception);
  // The failed set-up is not mistaken for one still in progress: the next tick tries again.
  EXPECT_THROW(scene.Tick(), Exception);
  EXPECT_EQ(scene.Counter, 0);
  EXPECT_FALSE(scene.HasContext);
}
