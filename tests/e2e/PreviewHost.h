// preview_host.exe, the stand-in for Windows' screen-saver settings page, driven from the
// tests: it makes a window with a border and a caption and starts the saver in preview mode
// inside it. The tests watch the saver through its preview window and its own process handle.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "tests/e2e/SaverProcess.h"

namespace e2e {

inline constexpr char kPreviewHostClass[] = "VeloriumPreviewHost";
// The host window's outer rectangle on the screen.
inline constexpr RECT kPreviewHostRect{120, 90, 480, 370};

class PreviewHost {
public:
  // Starts preview_host.exe, which writes its window's handle in `form`: "decimal",
  // "dollar" ($1A2B) or "hex" (0x1a2b).
  explicit PreviewHost(const std::string& form);
  // Ends the saver if it still runs; the host ends with it.
  ~PreviewHost();
  PreviewHost(const PreviewHost&) = delete;
  PreviewHost& operator=(const PreviewHost&) = delete;

  HWND window() const { return window_; }
  // Ends the host program at once, as a crash would, its window with it.
  void killHost() { host_.reset(); }
  // The saver's window inside the host, once it is there, shown, and done with everything
  // that came with being made, placed and shown; null on timeout.
  HWND waitForPreview(Milliseconds timeout = kPatience);

  DWORD saverProcessId() const { return saverId_; }
  bool saverIsRunning() const;
  // The saver's exit code, or nothing if it still runs after the timeout.
  std::optional<DWORD> waitForSaverExit(Milliseconds timeout = kPatience) const;

private:
  std::optional<SaverProcess> host_;
  HWND window_ = nullptr;
  DWORD saverId_ = 0;
  HANDLE saver_ = nullptr;
};

}  // namespace e2e
