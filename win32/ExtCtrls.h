// Non-visual and simple visual components: the timer, the panel and the image.
#pragma once

#include <windows.h>

#include <string>

#include "framework/FrameClock.h"
#include "win32/Controls.h"
#include "win32/Graphics.h"

// Fires OnTimer every Interval milliseconds while the message loop (or any modal loop) runs,
// on deadlines Interval apart (FrameTimer): the system's timer, armed through SetTimer on a
// message-only window, wakes it with WM_TIMER. The deadlines start again, the first one
// Interval later, on SetEnabled(true) of a stopped timer and on every SetInterval and
// SetOnTimer, whatever the value; SetEnabled(true) of a running timer keeps them.
class TTimer : public TComponent, private SystemTimer {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return timer_.Enabled(); }
  void SetEnabled(bool enabled) { timer_.SetEnabled(enabled); }
  void SetInterval(unsigned intervalMs) { timer_.SetInterval(intervalMs); }
  void SetOnTimer(TNotifyEvent handler);

  bool SetProperty(const LayoutProperty& property, const TEventResolver& events) override;
  // The timer window's messages (LinkedWindowProc): WM_TIMER wakes the timer.
  bool HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
  // SetTimer and KillTimer on the timer's window.
  void Arm(unsigned elapseMs) override;
  void Kill() override;

  HWND window_ = nullptr;
  FrameTimer timer_;
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
