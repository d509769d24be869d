// Can a frame be seen: the display's power state, the window's place, the desktop's cloak.
#include "win32/FrameSight.h"

#include <dwmapi.h>

#include "win32/Forms.h"

namespace {

// How often a paused form looks whether it can be seen again: nobody tells it when another
// program shows its host window again.
constexpr unsigned kLookAgainMs = 250;

using DwmGetWindowAttributeCall = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

// Whether some of a child window lies inside its parent's client area.
bool InsideParent(HWND window, HWND parent) {
  RECT area{};
  RECT own{};
  RECT both{};
  GetClientRect(parent, &area);
  MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&area), 2);
  GetWindowRect(window, &own);
  return IntersectRect(&both, &area, &own) != FALSE;
}

}  // namespace

TFrameSight::TFrameSight() {
  // From the system folder only, as OpenGL is: a dwmapi.dll beside the saver is not taken.
  // Not imported, so that the saver still starts where there is none.
  dwmapi_ = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  const auto getAttribute = reinterpret_cast<DwmGetWindowAttributeCall>(reinterpret_cast<void*>(
      dwmapi_ != nullptr ? GetProcAddress(dwmapi_, "DwmGetWindowAttribute") : nullptr));
  Cloaked = [getAttribute](HWND window) {
    DWORD cloaked = 0;
    return getAttribute != nullptr &&
           SUCCEEDED(getAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
  };
  watch_.SetEnabled(false);
  watch_.SetInterval(kLookAgainMs);
  watch_.SetOnTimer([this](TObject*) { LookAgain(); });
}

TFrameSight::~TFrameSight() {
  if (dwmapi_ != nullptr) FreeLibrary(dwmapi_);
}

bool TFrameSight::FrameCanBeSeen(HWND window, TTimer* frames) {
  if (Seen(window)) return true;
  window_ = window;
  frames_ = frames;
  frames_->SetEnabled(false);
  watch_.SetEnabled(true);
  return false;
}

bool TFrameSight::Seen(HWND window) const {
  if (Application != nullptr && !Application->DisplayOn()) return false;
  // The window and every window above it shown.
  if (IsWindow(window) == FALSE || IsWindowVisible(window) == FALSE) return false;
  HWND desktop = GetDesktopWindow();
  for (HWND above = window; above != nullptr && above != desktop;
       above = GetAncestor(above, GA_PARENT)) {
    if (IsIconic(above) != FALSE) return false;
  }
  if (Cloaked(GetAncestor(window, GA_ROOT))) return false;
  if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) return true;
  return InsideParent(window, GetAncestor(window, GA_PARENT));
}

void TFrameSight::LookAgain() {
  if (!Seen(window_)) return;
  watch_.SetEnabled(false);
  frames_->SetEnabled(true);
}
