// Fonts, bitmaps and text drawing over GDI.
#include "win32/Graphics.h"

#include <utility>

#include "framework/SysUtils.h"

TFontHandle::TFontHandle(const TFont& font) {
  LOGFONTA description{};
  description.lfHeight = font.Height;
  description.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  description.lfItalic = font.Italic ? TRUE : FALSE;
  description.lfUnderline = font.Underline ? TRUE : FALSE;
  description.lfCharSet = static_cast<BYTE>(font.Charset);
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  font.Name.copy(description.lfFaceName, LF_FACESIZE - 1);
  handle_ = CreateFontIndirectA(&description);
}

TFontHandle::~TFontHandle() {
  if (handle_ != nullptr) DeleteObject(handle_);
}

TFontHandle::TFontHandle(TFontHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

TFontHandle& TFontHandle::operator=(TFontHandle&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

int ScreenTextHeight(const TFont& font) {
  TFontHandle handle(font);
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, handle.Handle());
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen, &metrics);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return metrics.tmHeight;
}

TBitmap::~TBitmap() {
  Release();
}

void TBitmap::Release() {
  if (handle_ != nullptr) DeleteObject(handle_);
  handle_ = nullptr;
  width_ = height_ = bitsPerPixel_ = 0;
}

void TBitmap::LoadFromResourceName(const std::string& name) {
  Release();
  // A DIB section keeps the resource's own colour depth instead of the screen's.
  handle_ = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP,
                                            0, 0, LR_CREATEDIBSECTION));
  if (handle_ == nullptr) throw EResNotFound("Resource " + name + " not found");
  BITMAP info{};
  GetObjectA(handle_, sizeof info, &info);
  width_ = info.bmWidth;
  height_ = info.bmHeight;
  bitsPerPixel_ = info.bmBitsPixel;
}

void DrawTextIn(HDC dc, const std::string& text, RECT& rect, const TFont& font, UINT flags) {
  TFontHandle handle(font);
  HGDIOBJ previous = SelectObject(dc, handle.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(font.Color));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
  SelectObject(dc, previous);
}

void FillWithColor(HDC dc, const RECT& rect, TColor color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

bool HandlePaintMessage(TMessage& message, const std::function<void(HDC)>& paint) {
  if (message.msg == WM_ERASEBKGND) {
    message.result = 1;
    return true;
  }
  if (message.msg != WM_PAINT) return false;
  PAINTSTRUCT painting{};
  HDC dc = BeginPaint(message.hwnd, &painting);
  paint(dc);
  EndPaint(message.hwnd, &painting);
  message.result = 0;
  return true;
}
