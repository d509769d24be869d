// The bitmap button, drawn by itself over the system's owner-drawn BUTTON: frame, glyph
// left of the caption, the default button's black outline and the focus rectangle.
#include "win32/Buttons.h"

#include <algorithm>

#include "win32/Forms.h"

namespace {

// Control ids of buttons start here, clear of IDOK and IDCANCEL, which the dialog keys
// (Enter, Escape) send on their own.
constexpr int kFirstButtonId = 100;
// Pixels between the glyph and the caption.
constexpr int kGlyphSpacing = 4;
// Inset of the focus rectangle from the button's edge.
constexpr int kFocusInset = 4;

TForm* FormOf(const TControl& control) {
  const TControl* outermost = &control;
  while (outermost->Parent() != nullptr) outermost = outermost->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(outermost));
}

// The pixel at the bottom-left corner of a bitmap: the glyph's transparent colour.
COLORREF CornerColor(HBITMAP bitmap, int height) {
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const COLORREF color = GetPixel(memory, 0, height - 1);
  SelectObject(memory, previous);
  DeleteDC(memory);
  return color;
}

void FrameWithColor(HDC dc, const RECT& rect, TColor color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  FrameRect(dc, &rect, brush);
  DeleteObject(brush);
}

}  // namespace

TBitBtn::TBitBtn(TComponent* owner) : TWinControl(owner) {}

TBitBtn::~TBitBtn() {
  DestroyHandle();
  if (glyphs_ != nullptr) ImageList_Destroy(glyphs_);
}

void TBitBtn::SetKind(TBitBtnKind kind) {
  kind_ = kind;
  if (kind_ != TBitBtnKind::bkOK) return;
  Default = true;
  ModalResult = mrOk;
}

void TBitBtn::SetGlyph(const std::string& resourceName) {
  glyphName_ = resourceName;
  if (glyphs_ != nullptr) ImageList_Destroy(glyphs_);
  glyphs_ = nullptr;
  TBitmap strip;
  strip.LoadFromResourceName(resourceName);
  const int count = std::max(1, NumGlyphs);
  glyphWidth_ = strip.Width() / count;
  glyphHeight_ = strip.Height();
  glyphs_ = ImageList_Create(glyphWidth_, glyphHeight_, ILC_COLOR24 | ILC_MASK, count, 0);
  if (glyphs_ == nullptr ||
      ImageList_AddMasked(glyphs_, strip.Handle(), CornerColor(strip.Handle(), glyphHeight_)) < 0) {
    throw Exception("Cannot make glyph " + resourceName);
  }
}

bool TBitBtn::SetProperty(const LayoutProperty& property, const TEventResolver& events) {
  const std::string& name = property.name;
  const LayoutValue& value = property.value;
  if (name == "Kind") {
    SetKind(value.IsIdentifier("bkOK") ? TBitBtnKind::bkOK : TBitBtnKind::bkCustom);
  } else if (name == "Glyph") {
    glyphName_ = value.text;
  } else if (name == "NumGlyphs") {
    NumGlyphs = static_cast<int>(value.integer);
  } else if (name == "Default") {
    Default = value.IsIdentifier("True");
  } else if (name == "ModalResult") {
    ModalResult = value.IsIdentifier("mrOk") ? mrOk : static_cast<int>(value.integer);
  } else {
    return TWinControl::SetProperty(property, events);
  }
  return true;
}

void TBitBtn::Loaded() {
  if (kind_ == TBitBtnKind::bkOK) {
    if (Caption.empty()) Caption = "OK";
    if (glyphName_.empty()) {
      glyphName_ = "OKGLYPH";
      NumGlyphs = 2;
    }
  }
  if (!glyphName_.empty()) SetGlyph(glyphName_);
}

void TBitBtn::FillCreateParams(CreateParams& params) {
  TWinControl::FillCreateParams(params);
  params.systemClass = "BUTTON";
  params.style |= BS_OWNERDRAW | WS_TABSTOP;
}

void TBitBtn::AfterHandleCreated() {
  font_ = TFontHandle(EffectiveFont());
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  // The dialog keys find the default button by its id.
  int id = kFirstButtonId;
  if (Owner() != nullptr) {
    const auto& siblings = Owner()->Components();
    id += static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
  }
  SetWindowLongPtrA(handle_, GWLP_ID, id);
}

void TBitBtn::Click() {
  if (ModalResult != mrNone) {
    if (TForm* form = FormOf(*this)) form->ModalResult = ModalResult;
  }
  if (OnClick) OnClick(this);
}

bool TBitBtn::ShowsAsDefault() const {
  HWND focus = GetFocus();
  if (focus != nullptr && focus == handle_) return true;
  if (!Default) return false;
  return dynamic_cast<TBitBtn*>(FromHandle(focus)) == nullptr;
}

void TBitBtn::RepaintButtonsOfForm() const {
  if (Owner() == nullptr) return;
  for (TComponent* component : Owner()->Components()) {
    auto* button = dynamic_cast<TBitBtn*>(component);
    if (button != nullptr && button->HandleAllocated())
      InvalidateRect(button->handle_, nullptr, FALSE);
  }
}

bool TBitBtn::Reflected(TMessage& message) {
  if (message.msg == WM_COMMAND && HIWORD(message.wParam) == BN_CLICKED) {
    message.result = 0;
    Click();
    return true;
  }
  if (message.msg == WM_DRAWITEM) {
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.lParam));
    message.result = TRUE;
    return true;
  }
  return false;
}

void TBitBtn::WndProc(TMessage& message) {
  switch (message.msg) {
    case WM_GETDLGCODE:
      message.result = DLGC_BUTTON | (ShowsAsDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return;
    case BM_SETSTYLE:
      // The dialog keys move the default look with this; ours follows the focus instead,
      // and the owner-drawn style must stay.
      InvalidateRect(message.hwnd, nullptr, FALSE);
      message.result = 0;
      return;
    case WM_LBUTTONDBLCLK:
      // A quick second click is a click too.
      message.msg = WM_LBUTTONDOWN;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TWinControl::WndProc(message);
      RepaintButtonsOfForm();
      return;
    default:
      break;
  }
  TWinControl::WndProc(message);
}

void TBitBtn::Draw(const DRAWITEMSTRUCT& item) {
  RECT rect = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool enabled = (item.itemState & ODS_DISABLED) == 0;
  DrawFace(item.hDC, rect, pressed, ShowsAsDefault());
  DrawGlyphAndCaption(item.hDC, rect, pressed, enabled);
  if ((item.itemState & ODS_FOCUS) != 0) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -kFocusInset, -kFocusInset);
    SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(item.hDC, GetSysColor(COLOR_BTNFACE));
    DrawFocusRect(item.hDC, &focus);
  }
}

void TBitBtn::DrawFace(HDC dc, RECT& rect, bool pressed, bool asDefault) const {
  if (asDefault) {
    FrameWithColor(dc, rect, static_cast<TColor>(0x80000006));  // clWindowFrame
    InflateRect(&rect, -1, -1);
  }
  if (pressed) {
    FrameWithColor(dc, rect, static_cast<TColor>(0x80000010));  // clBtnShadow
    InflateRect(&rect, -1, -1);
    FillWithColor(dc, rect, static_cast<TColor>(0x8000000F));  // clBtnFace
  } else {
    DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  }
}

void TBitBtn::DrawGlyphAndCaption(HDC dc, const RECT& face, bool pressed, bool enabled) const {
  HGDIOBJ previous = SelectObject(dc, font_.Handle());
  SIZE text{};
  GetTextExtentPoint32A(dc, Caption.c_str(), static_cast<int>(Caption.size()), &text);
  const int glyph = glyphs_ != nullptr ? glyphWidth_ : 0;
  const int gap = glyph > 0 && !Caption.empty() ? kGlyphSpacing : 0;
  const int faceWidth = face.right - face.left;
  const int faceHeight = face.bottom - face.top;
  const int shift = pressed ? 1 : 0;
  const int left = face.left + (faceWidth - (glyph + gap + text.cx) + 1) / 2 + shift;
  if (glyphs_ != nullptr) {
    const int image = !enabled && NumGlyphs > 1 ? 1 : 0;
    ImageList_Draw(glyphs_, image, dc, left, face.top + (faceHeight - glyphHeight_ + 1) / 2 + shift,
                   ILD_TRANSPARENT);
  }
  const int top = face.top + (faceHeight - text.cy + 1) / 2 + shift;
  SetBkMode(dc, TRANSPARENT);
  auto writeAt = [&](int x, int y, int sysColor) {
    SetTextColor(dc, GetSysColor(sysColor));
    TextOutA(dc, x, y, Caption.c_str(), static_cast<int>(Caption.size()));
  };
  if (enabled) {
    SetTextColor(dc, ColorToRGB(EffectiveFont().Color));
    TextOutA(dc, left + glyph + gap, top, Caption.c_str(), static_cast<int>(Caption.size()));
  } else {
    // Engraved, as disabled captions are drawn.
    writeAt(left + glyph + gap + 1, top + 1, COLOR_BTNHIGHLIGHT);
    writeAt(left + glyph + gap, top, COLOR_BTNSHADOW);
  }
  SelectObject(dc, previous);
}
