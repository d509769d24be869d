// Non-visual and simple visual components: the timer.
#pragma once

#include <windows.h>

#include "framework/Controls.h"

// Fires OnTimer every Interval milliseconds while the message loop (or any modal loop) runs.
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return intervalMs_; }
  void SetInterval(unsigned intervalMs);
  void SetOnTimer(TNotifyEvent handler);

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;

private:
  void UpdateTimer();
  static LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  bool enabled_ = true;
  unsigned intervalMs_ = 1000;
  TNotifyEvent onTimer_;
};
