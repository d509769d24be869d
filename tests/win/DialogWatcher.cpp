// The message-box watcher: polls the process's top-level dialog windows.
#include "tests/win/DialogWatcher.h"

#include <algorithm>

#include "tests/kit/MessageBox_win32.h"

namespace {

constexpr int kPollMs = 5;
constexpr UINT kSendTimeoutMs = 2000;

// The visible dialog-class windows of this process.
std::vector<HWND> OpenBoxes() {
  std::vector<HWND> boxes;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && std::string(className) == "#32770" &&
            IsWindowVisible(window)) {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

// A window's text, asked of its (blocked, but dispatching) thread with a time limit.
std::string TextOf(HWND window) {
  char text[512] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
  return text;
}

bool ShowsIcon(HWND box) {
  HWND icon = GetDlgItem(box, kit::kMessageBoxIconId);
  if (icon == nullptr) return false;
  DWORD_PTR handle = 0;
  SendMessageTimeoutA(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &handle);
  return handle != 0;
}

}  // namespace

DialogWatcher::DialogWatcher(std::string caption, int dismissAfterMs, int giveUpMs)
    : caption_(std::move(caption)), dismissAfterMs_(dismissAfterMs), giveUpMs_(giveUpMs) {
  thread_ = std::thread([this] { Watch(); });
}

DialogWatcher::~DialogWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenBox> DialogWatcher::Seen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

void DialogWatcher::Watch() {
  const ULONGLONG startMs = GetTickCount64();
  while (!stop_) {
    Look(startMs);
    Sleep(kPollMs);
  }
}

void DialogWatcher::Look(ULONGLONG startMs) {
  const ULONGLONG nowMs = GetTickCount64();
  const std::vector<HWND> open = OpenBoxes();
  std::erase_if(tracked_, [&](const Tracked& box) {
    return std::find(open.begin(), open.end(), box.window) == open.end();
  });
  for (HWND window : open) {
    auto known = std::find_if(tracked_.begin(), tracked_.end(),
                              [&](const Tracked& box) { return box.window == window; });
    if (known != tracked_.end()) continue;
    SeenBox box{TextOf(window), TextOf(GetDlgItem(window, kit::kMessageBoxTextId)),
                ShowsIcon(window), GetWindow(window, GW_OWNER)};
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.push_back(box);
    tracked_.push_back({window, nowMs, false});
  }
  mostOpen_ = std::max(mostOpen_.load(), static_cast<int>(open.size()));
  const bool givingUp = nowMs - startMs > static_cast<ULONGLONG>(giveUpMs_);
  for (Tracked& box : tracked_) {
    const bool due = nowMs - box.firstSeenMs >= static_cast<ULONGLONG>(dismissAfterMs_);
    if (box.pressed || !(givingUp || (due && TextOf(box.window) == caption_))) continue;
    kit::pressOk(box.window);
    box.pressed = true;
  }
}
