// Fonts and colours from layouts, bitmaps and text drawing over GDI.
#include "win32/Graphics.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

#include "framework/SysUtils.h"

TColor ColorFromLayout(const LayoutValue& value) {
  static const std::map<std::string, TColor> kNames = {
      {"clBlack", 0x000000},
      {"clWhite", 0xFFFFFF},
      {"clNone", 0x1FFFFFFF},
      {"clWindowText", static_cast<TColor>(0x80000008)},
      {"clBtnFace", static_cast<TColor>(0x8000000F)},
      {"clWindow", static_cast<TColor>(0x80000005)},
  };
  if (value.kind == LayoutValue::Kind::Integer) return static_cast<TColor>(value.integer);
  auto found = kNames.find(value.text);
  if (value.kind != LayoutValue::Kind::Identifier || found == kNames.end()) {
    throw ELayoutError("Unknown colour '" + value.text + "'");
  }
  return found->second;
}

COLORREF ColorToRGB(TColor color) {
  auto bits = static_cast<std::uint32_t>(color);
  if ((bits & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(bits & 0xFF));
  return bits & 0x00FFFFFFu;
}

bool TFont::SetProperty(const std::string& name, const LayoutValue& value) {
  if (name == "Font.Name") {
    Name = value.text;
  } else if (name == "Font.Height") {
    Height = static_cast<int>(value.integer);
  } else if (name == "Font.Charset") {
    Charset = value.IsIdentifier("ANSI_CHARSET") ? ANSI_CHARSET : DEFAULT_CHARSET;
  } else if (name == "Font.Color") {
    Color = ColorFromLayout(value);
  } else if (name == "Font.Style") {
    auto has = [&](const char* flag) {
      return std::find(value.set.begin(), value.set.end(), flag) != value.set.end();
    };
    Bold = has("fsBold");
    Italic = has("fsItalic");
    Underline = has("fsUnderline");
  } else {
    return false;
  }
  return true;
}

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
  if (handle_ == nullptr) handle_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TFontHandle::~TFontHandle() {
  if (handle_ != nullptr) DeleteObject(handle_);
}

TFontHandle::TFontHandle(TFontHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

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
  width_ = height_ = 0;
}

void TBitmap::LoadFromResourceName(const std::string& name) {
  Release();
  // A DIB section keeps the resource's own colour depth instead of the screen's.
  handle_ = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (handle_ == nullptr) throw EResNotFound("Resource " + name + " not found");
  BITMAP info{};
  GetObjectA(handle_, sizeof info, &info);
  width_ = info.bmWidth;
  height_ = info.bmHeight;
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
