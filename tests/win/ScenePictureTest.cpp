// What a frame puts on a real screen: after the swap, the window shows the frame just drawn in
// the back buffer. Which calls make the frame is checked natively (tests/scene).
#include <windows.h>

#include <gtest/gtest.h>

#include "scene/Tplanets.h"
#include "tests/win/WindowTest.h"

namespace {

constexpr int kWidth = 775;
constexpr int kHeight = 512;

class ScenePicture : public WindowTest {
protected:
  ScenePicture() {
    form->Show();
    kit::pause(kit::Milliseconds{100});
    scene.Tick();
  }

  // GDI paints the window red until the first swap.
  TSceneF* form = NewSceneWindow(kWidth, kHeight, 0x0000FF);
  TPlanets scene{form};
};

}  // namespace

TEST_F(ScenePicture, FrameReachesTheScreenAtTheSwap) {
  // The screen follows the window's drawing a moment later under a loaded X server.
  auto screenShows = [&](int x, int y, std::uint32_t colour) {
    return kit::waitUntil([&] { return ScreenPixel(form->Handle(), x, y) == colour; },
                          kit::Milliseconds{5000});
  };
  ASSERT_TRUE(screenShows(5, 5, 0xFF0000)) << "GDI's red before any frame";
  // A frame with every body clear of the others, the sun in the middle.
  scene.Counter = 812;
  scene.Tick();
  const std::uint32_t centre = BackBuffer(kWidth, kHeight).at(kWidth / 2, kHeight / 2);
  EXPECT_TRUE(screenShows(5, 5, 0x000000)) << std::hex << ScreenPixel(form->Handle(), 5, 5);
  EXPECT_TRUE(screenShows(kWidth / 2, kHeight / 2, centre))
      << std::hex << ScreenPixel(form->Handle(), kWidth / 2, kHeight / 2) << " instead of "
      << centre;
}
