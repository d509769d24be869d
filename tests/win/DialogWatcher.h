// Watches, from a thread of its own, for the message boxes this process shows while the
// test's thread is blocked in them: records what each said and presses its OK button.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
  std::string caption;
  std::string text;
  // The box shows an icon (error, warning ...).
  bool hasIcon = false;
  // The window that owns the box (disabled while it is open).
  HWND owner = nullptr;
};

class DialogWatcher {
public:
  // Boxes with this caption are pressed OK once they have been open for dismissAfterMs.
  // Any box still open after giveUpMs, whatever its caption, is pressed OK as well, so
  // that a wrong caption fails the test instead of hanging it.
  explicit DialogWatcher(std::string caption, int dismissAfterMs = 100, int giveUpMs = 10000);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // Every box seen so far, in the order they appeared.
  std::vector<SeenBox> Seen() const;
  // The most boxes that were open at the same time.
  int MostOpenAtOnce() const { return mostOpen_; }

private:
  struct Tracked {
    HWND window;
    ULONGLONG firstSeenMs;
    bool pressed;
  };
  void Watch();
  void Look(ULONGLONG startMs);

  std::string caption_;
  int dismissAfterMs_;
  int giveUpMs_;
  std::atomic<bool> stop_{false};
  std::atomic<int> mostOpen_{0};
  mutable std::mutex mutex_;
  std::vector<SeenBox> seen_;
  std::vector<Tracked> tracked_;
  std::thread thread_;
};
