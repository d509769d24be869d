// The bitmap button: a push button that draws a glyph beside its caption, can be the
// form's default button (Enter clicks it) and can end a modal form with its result.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "win32/Controls.h"
#include "win32/Graphics.h"

enum class TBitBtnKind { bkCustom, bkOK };

class TBitBtn : public TWinControl {
public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  // bkOK: caption "OK" (unless the layout gives one), the OK glyph, default, result mrOk.
  void SetKind(TBitBtnKind kind);
  // A BITMAP resource holding NumGlyphs images side by side: normal, then disabled. Throws
  // EResNotFound when the executable has no such bitmap, Exception when the system cannot
  // make the images.
  void SetGlyph(const std::string& resourceName);
  int NumGlyphs = 1;
  bool Default = false;
  int ModalResult = 0;

  // What a click does: the form takes the modal result, then OnClick runs.
  void Click();

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
  void Loaded() override;
  bool Reflected(TMessage& message) override;
  void WndProc(TMessage& message) override;

protected:
  void FillCreateParams(CreateParams& params) override;
  void AfterHandleCreated() override;

private:
  // Looks like the default button now: it has the focus, or it is the default and
  // no other button has.
  bool ShowsAsDefault() const;
  void Draw(const DRAWITEMSTRUCT& item);
  void DrawFace(HDC dc, RECT& rect, bool pressed, bool asDefault) const;
  void DrawGlyphAndCaption(HDC dc, const RECT& face, bool pressed, bool enabled) const;
  void RepaintButtonsOfForm() const;

  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
  std::string glyphName_;
  HIMAGELIST glyphs_ = nullptr;
  int glyphWidth_ = 0;
  int glyphHeight_ = 0;
  TFontHandle font_;
};
