// Scaling of forms made at one screen resolution and shown at another.
#include <windows.h>

#include "framework/Scaling.h"
#include "win32/Forms.h"
#include "win32/Graphics.h"
#include "win32/Screen.h"

namespace {

// Children keep their places relative to each other; a font of their own scales with them.
void ScaleControls(TWinControl& parent, int numerator, int denominator) {
  for (TControl* control : parent.Controls()) {
    const ScaledSpan across = ScaleSpan(control->Left, control->Width, numerator, denominator);
    const ScaledSpan down = ScaleSpan(control->Top, control->Height, numerator, denominator);
    control->Left = across.start;
    control->Width = across.size;
    control->Top = down.start;
    control->Height = down.size;
    if (!control->ParentFont) {
      control->Font.Height = ScaleByRatio(control->Font.Height, numerator, denominator);
    }
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
      ScaleControls(*windowed, numerator, denominator);
    }
  }
}

}  // namespace

void TForm::ScaleForResolution() {
  if (!Scaled || PixelsPerInch <= 0 || TextHeight <= 0) return;
  const int screenPixelsPerInch = ScreenPixelsPerInch();
  if (screenPixelsPerInch == PixelsPerInch) return;
  Font.Height = ScaleByRatio(Font.Height, screenPixelsPerInch, PixelsPerInch);
  const int newTextHeight = ScreenTextHeight(Font);
  if (newTextHeight == TextHeight) return;
  ScaleControls(*this, newTextHeight, TextHeight);
  if (designClientWidth_ >= 0)
    designClientWidth_ = ScaleByRatio(designClientWidth_, newTextHeight, TextHeight);
  if (designClientHeight_ >= 0)
    designClientHeight_ = ScaleByRatio(designClientHeight_, newTextHeight, TextHeight);
  TextHeight = newTextHeight;
}
