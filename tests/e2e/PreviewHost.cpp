// Finding the host's window and the saver's preview in it, and watching the saver's process.
#include "tests/e2e/PreviewHost.h"

#include <stdexcept>

namespace e2e {

PreviewHost::PreviewHost(const std::string& form) {
  host_.emplace(form + " \"" + saverPath() + "\"", programFolder() + "\\preview_host.exe");
  waitUntil(
      [&] {
        for (const WindowInfo& window : host_->topLevelWindows()) {
          if (window.className == kPreviewHostClass) window_ = window.handle;
        }
        return window_ != nullptr || !host_->running();
      },
      kPatience);
  if (window_ == nullptr) throw std::runtime_error("preview_host.exe showed no window");
}

PreviewHost::~PreviewHost() {
  if (saver_ == nullptr) return;
  if (saverIsRunning()) {
    TerminateProcess(saver_, 1);
    WaitForSingleObject(saver_, 5000);
  }
  CloseHandle(saver_);
}

HWND PreviewHost::waitForPreview(Milliseconds timeout) {
  HWND preview = nullptr;
  waitUntil(
      [&] {
        preview = FindWindowExA(window_, nullptr, nullptr, nullptr);
        return preview != nullptr || !host_->running();
      },
      timeout);
  if (preview == nullptr) return nullptr;
  if (saver_ == nullptr) {
    GetWindowThreadProcessId(preview, &saverId_);
    saver_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE,
                         saverId_);
  }
  const bool shown = waitUntil([&] { return IsWindowVisible(preview) != FALSE; }, timeout);
  return shown && waitUntilHandled(preview, timeout) ? preview : nullptr;
}

bool PreviewHost::saverIsRunning() const {
  return saver_ != nullptr && WaitForSingleObject(saver_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> PreviewHost::waitForSaverExit(Milliseconds timeout) const {
  if (saver_ == nullptr) return std::nullopt;
  if (!waitUntil([&] { return !saverIsRunning(); }, timeout)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(saver_, &code);
  return code;
}

}  // namespace e2e
