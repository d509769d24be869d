// The plain scene window and the read-back helpers.
#include "tests/win/SceneWindow.h"

#include <string>
#include <vector>

#include "scene/GL.h"

namespace {

std::string SceneLayout(int clientWidth, int clientHeight, TColor color) {
  return "object SceneF: TSceneF\n"
         "  Left = 0\n"
         "  Top = 0\n"
         "  BorderStyle = bsNone\n"
         "  Caption = 'SceneF'\n"
         "  ClientWidth = " +
         std::to_string(clientWidth) +
         "\n"
         "  ClientHeight = " +
         std::to_string(clientHeight) +
         "\n"
         "  Color = " +
         std::to_string(color) +
         "\n"
         "end\n";
}

}  // namespace

TSceneF::TSceneF(TComponent* owner, int clientWidth, int clientHeight, TColor color)
    : TForm(owner) {
  InitFormFromText(SceneLayout(clientWidth, clientHeight, color));
}

void TSceneF::SetClientSize(int clientWidth, int clientHeight) {
  // Without a border the window is exactly its client area.
  SetWindowPos(Handle(), nullptr, 0, 0, clientWidth, clientHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

kit::Picture BackBuffer(int width, int height) {
  std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  kit::Picture picture{width, height, {}};
  // OpenGL's rows go up from the bottom.
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* pixel = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      picture.pixels.push_back(std::uint32_t{pixel[0]} << 16 | pixel[1] << 8 | pixel[2]);
    }
  }
  return picture;
}

std::uint32_t ScreenPixel(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return std::uint32_t{GetRValue(colour)} << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

bool TakeQuitRequest() {
  MSG message{};
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}
