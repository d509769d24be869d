// The check box over the system's BUTTON class, and the label drawn by itself.
#include "win32/StdCtrls.h"

namespace {

TColor ParentColorOf(const TControl& control) {
  return control.Parent() != nullptr ? control.Parent()->Color : control.Color;
}

}  // namespace

// ---- TCheckBox ----

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {}

TCheckBox::~TCheckBox() {
  // The window goes first: it must not be left drawing with a deleted font or brush.
  DestroyHandle();
  if (background_ != nullptr) DeleteObject(background_);
}

bool TCheckBox::Checked() const {
  if (handle_ == nullptr) return checked_;
  return SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
  checked_ = checked;
  if (handle_ != nullptr) {
    SendMessageA(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

bool TCheckBox::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  if (property.name == "Checked") {
    checked_ = property.value.IsIdentifier("True");
    return true;
  }
  return TWinControl::SetProperty(property, events);
}

void TCheckBox::FillCreateParams(CreateParams& params) {
  TWinControl::FillCreateParams(params);
  params.systemClass = "BUTTON";
  params.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
}

void TCheckBox::AfterHandleCreated() {
  font_ = TFontHandle(EffectiveFont());
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  SendMessageA(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Reflected(TMessage& message) {
  switch (message.msg) {
    case WM_COMMAND:
      if (HIWORD(message.wParam) != BN_CLICKED) return false;
      checked_ = Checked();
      if (OnClick) OnClick(this);
      message.result = 0;
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      // The box sits on its parent's colour and writes in its font's colour.
      auto dc = reinterpret_cast<HDC>(message.wParam);
      SetTextColor(dc, ColorToRGB(EffectiveFont().Color));
      SetBkColor(dc, ColorToRGB(ParentColorOf(*this)));
      if (background_ == nullptr) background_ = CreateSolidBrush(ColorToRGB(ParentColorOf(*this)));
      message.result = reinterpret_cast<LRESULT>(background_);
      return true;
    }
    default:
      return false;
  }
}

// ---- TLabel ----

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {}

bool TLabel::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  const std::string& name = property.name;
  if (name == "AutoSize") {
    AutoSize = property.value.IsIdentifier("True");
  } else if (name == "WordWrap") {
    WordWrap = property.value.IsIdentifier("True");
  } else if (name == "Alignment") {
    if (property.value.IsIdentifier("taCenter")) {
      Alignment = TAlignment::taCenter;
    } else if (property.value.IsIdentifier("taRightJustify")) {
      Alignment = TAlignment::taRightJustify;
    } else {
      Alignment = TAlignment::taLeftJustify;
    }
  } else if (name == "Transparent" || name == "Layout") {
    // Labels here always fill their own background and put the text at the top.
  } else if (name == "Color") {
    parentColor_ = false;
    return TWinControl::SetProperty(property, events);
  } else if (name == "ParentColor") {
    parentColor_ = property.value.IsIdentifier("True");
  } else {
    return TWinControl::SetProperty(property, events);
  }
  return true;
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | DT_NOPREFIX;
  if (WordWrap) flags |= DT_WORDBREAK;
  if (Alignment == TAlignment::taCenter) flags |= DT_CENTER;
  if (Alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
  return flags;
}

TColor TLabel::BackgroundColor() const {
  return parentColor_ ? ParentColorOf(*this) : Color;
}

void TLabel::AdjustBounds() {
  if (!AutoSize) return;
  RECT rect{0, 0, WordWrap ? Width : 0, 0};
  // An empty caption still gets the height of a line.
  const std::string text = Caption.empty() ? " " : Caption;
  TFontHandle font(EffectiveFont());
  HDC screen = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(screen, font.Handle());
  DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &rect, TextFlags() | DT_CALCRECT);
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  if (Alignment == TAlignment::taRightJustify) Left += Width - rect.right;
  Width = rect.right;
  Height = rect.bottom;
  if (handle_ != nullptr) {
    SetWindowPos(handle_, nullptr, Left, Top, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TLabel::FontChanged() {
  AdjustBounds();
  if (handle_ != nullptr) {
    SetWindowTextA(handle_, Caption.c_str());
    InvalidateRect(handle_, nullptr, TRUE);
  }
}

void TLabel::FillCreateParams(CreateParams& params) {
  AdjustBounds();
  TWinControl::FillCreateParams(params);
}

void TLabel::Paint(HDC dc) {
  RECT client{};
  GetClientRect(handle_, &client);
  FillWithColor(dc, client, BackgroundColor());
  DrawTextIn(dc, Caption, client, EffectiveFont(), TextFlags());
}

void TLabel::MouseMoved() {
  if (mouseInside_) return;
  mouseInside_ = true;
  TRACKMOUSEEVENT tracking{};
  tracking.cbSize = sizeof tracking;
  tracking.dwFlags = TME_LEAVE;
  tracking.hwndTrack = handle_;
  TrackMouseEvent(&tracking);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TLabel::MouseLeft() {
  mouseInside_ = false;
  pressed_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
}

void TLabel::WndProc(TMessage& message) {
  if (HandlePaintMessage(message, [this](HDC dc) { Paint(dc); })) return;
  switch (message.msg) {
    case WM_MOUSEMOVE:
      MouseMoved();
      break;
    case WM_MOUSELEAVE:
      MouseLeft();
      message.result = 0;
      return;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      break;
    case WM_LBUTTONUP: {
      const bool clicked = pressed_;
      pressed_ = false;
      if (clicked && OnClick) OnClick(this);
      break;
    }
    default:
      break;
  }
  TWinControl::WndProc(message);
}
