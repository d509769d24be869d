// Standard controls: the check box (a system button) and the label, a window of its own
// that draws its caption and reports the pointer entering, leaving and clicking it.
#pragma once

#include <windows.h>

#include "win32/Controls.h"
#include "win32/Graphics.h"

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TCheckBox : public TWinControl {
public:
  explicit TCheckBox(TComponent* owner);
  ~TCheckBox() override;

  bool Checked() const;
  void SetChecked(bool checked);

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
  bool Reflected(TMessage& message) override;

protected:
  void FillCreateParams(CreateParams& params) override;
  void AfterHandleCreated() override;

private:
  bool checked_ = false;
  TFontHandle font_;
  HBRUSH background_ = nullptr;
};

class TLabel : public TWinControl {
public:
  explicit TLabel(TComponent* owner);

  bool AutoSize = true;
  TAlignment Alignment = TAlignment::taLeftJustify;
  bool WordWrap = false;

  // Call after changing Font or Caption: an auto-sized label takes its text's size, and
  // the label is drawn again.
  void FontChanged();

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
  void WndProc(TMessage& message) override;

protected:
  void FillCreateParams(CreateParams& params) override;

private:
  // Width and height from the text, keeping the left edge.
  void AdjustBounds();
  UINT TextFlags() const;
  TColor BackgroundColor() const;
  void Paint(HDC dc);
  void MouseMoved();
  void MouseLeft();

  bool parentColor_ = true;
  bool mouseInside_ = false;
  bool pressed_ = false;
};
