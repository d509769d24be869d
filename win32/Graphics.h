// Fonts and colours as layouts describe them, and the GDI objects components draw with:
// fonts made from a TFont, bitmaps from the program's resources, and the measures the
// framework takes of text.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Layout.h"
#include "util/Visual.h"

// Font description of a control ("MS Sans Serif", height in pixels as a negative cell height).
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  int Charset = DEFAULT_CHARSET;
  TColor Color = static_cast<TColor>(0x80000008);  // clWindowText
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;

  // Applies a "Font.*" layout property; false when the name is not a font property.
  bool SetProperty(const std::string& name, const LayoutValue& value);
};

// A colour from a layout value: a number or a colour name (clBlack, clBtnFace ...).
TColor ColorFromLayout(const LayoutValue& value);

// The system colour behind a colour value that names one (clBtnFace, clWindowText ...).
COLORREF ColorToRGB(TColor color);

// An HFONT made from a font description, deleted with the object. When the system cannot make
// that font, the handle is its stock GUI font instead, so that text still shows (deleting a
// stock object does nothing).
class TFontHandle {
public:
  TFontHandle() = default;
  explicit TFontHandle(const TFont& font);
  ~TFontHandle();
  TFontHandle(const TFontHandle&) = delete;
  TFontHandle& operator=(const TFontHandle&) = delete;
  TFontHandle(TFontHandle&& other) noexcept;
  TFontHandle& operator=(TFontHandle&& other) noexcept;

  HFONT Handle() const { return handle_; }

private:
  HFONT handle_ = nullptr;
};

// The height of a line of text in this font on the screen, in pixels (the cell height).
int ScreenTextHeight(const TFont& font);

// A device-independent bitmap loaded from a BITMAP resource of the executable.
class TBitmap {
public:
  TBitmap() = default;
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // Throws EResNotFound when the executable has no such bitmap.
  void LoadFromResourceName(const std::string& name);
  bool Empty() const { return handle_ == nullptr; }
  HBITMAP Handle() const { return handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

private:
  void Release();

  HBITMAP handle_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Draws text with a font and colour on a transparent background; flags as DrawTextA's.
void DrawTextIn(HDC dc, const std::string& text, RECT& rect, const TFont& font, UINT flags);

// Fills a rectangle with a colour value (system colours included).
void FillWithColor(HDC dc, const RECT& rect, TColor color);
