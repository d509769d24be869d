// The plain scene window and the read-back helpers.
#include "tests/win/SceneWindow.h"

#include <string>

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

Picture Picture::FromBackBuffer(int width, int height) {
  Picture picture;
  picture.width_ = width;
  picture.height_ = height;
  picture.rgb_.assign(static_cast<std::size_t>(width) * height * 3, 0);
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, picture.rgb_.data());
  return picture;
}

Rgb Picture::At(int x, int y) const {
  const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
  return {rgb_[at], rgb_[at + 1], rgb_[at + 2]};
}

Rgb ScreenPixel(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

void PumpMessages(int durationMs) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(durationMs);
  bool quit = false;
  WPARAM quitCode = 0;
  do {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
      if (message.message == WM_QUIT) {
        quit = true;
        quitCode = message.wParam;
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(1);
  } while (GetTickCount64() < end);
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

bool TakeQuitRequest() {
  MSG message{};
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}
