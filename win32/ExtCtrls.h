// Non-visual and simple visual components: the timer, the panel and the image.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/FrameClock.h"
#include "win32/Controls.h"
#include "win32/Graphics.h"

// Nanoseconds of a monotonic clock.
using TClock = std::function<std::int64_t()>;

// Fires OnTimer every Interval milliseconds while the message loop (or any modal loop) runs.
// Events keep to deadlines Interval apart, counted from when the timer was enabled, however
// coarse the system's timer tick: each WM_TIMER re-arms the system timer toward the next
// deadline, and one that comes before it fires nothing. A late event moves on to the next
// deadline without making up the missed ones.
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetInterval(unsigned intervalMs);
  void SetOnTimer(TNotifyEvent handler);
  // The clock the deadlines are kept on; the steady clock unless replaced.
  void SetClock(TClock clock);
  // The message-only window that receives the timer's WM_TIMER.
  HWND Handle() const { return window_; }

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
  // The timer window's messages (LinkedWindowProc): WM_TIMER raises OnTimer when a deadline
  // has come.
  bool HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
  void UpdateTimer();
  // Sets the system timer to wake the window at the next deadline.
  void ArmTimer();

  HWND window_ = nullptr;
  bool enabled_ = true;
  unsigned intervalMs_ = 1000;
  TNotifyEvent onTimer_;
  TClock clock_;
  FrameCadence cadence_;
};

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

// A container drawn as a raised or lowered area: an outer and an inner bevel, each one
// pixel of highlight and shadow. Dialog keys reach the controls inside it.
class TPanel : public TWinControl {
public:
  explicit TPanel(TComponent* owner);

  TPanelBevel BevelOuter = TPanelBevel::bvRaised;
  TPanelBevel BevelInner = TPanelBevel::bvNone;

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
  void WndProc(TMessage& message) override;

protected:
  void FillCreateParams(CreateParams& params) override;

private:
  void Paint(HDC dc);
};

// A picture from a BITMAP resource, drawn at its size or stretched to fill the control.
class TImage : public TWinControl {
public:
  explicit TImage(TComponent* owner);

  bool Stretch = false;
  // Loads the picture from the executable's BITMAP resource of that name.
  void LoadPicture(const std::string& resourceName);
  const TBitmap& Picture() const { return picture_; }

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
  void WndProc(TMessage& message) override;

private:
  void Paint(HDC dc);

  TBitmap picture_;
};
