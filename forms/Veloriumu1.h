// The full-screen saver form: borderless, topmost, maximised, black, no pointer;
// runs the scene and closes on a key, a click, deactivation or the sixth mouse move.
#pragma once

#include <cstdint>
#include <memory>

#include "scene/Tplanets.h"
#include "win32/ExtCtrls.h"
#include "win32/Forms.h"
#include "win32/FrameSight.h"
#include "win32/MonitorCovers.h"

class TVeloriumF1 : public TForm {
public:
  explicit TVeloriumF1(TComponent* owner);
  ~TVeloriumF1() override;

  TTimer* Timer1 = nullptr;
  TApplicationEvents* ApplicationEvents1 = nullptr;
  std::unique_ptr<TPlanets> Planets;
  // Black windows over the other monitors, made when the form shows.
  TMonitorCovers MonitorCovers;
  // Whether the frames can be seen: Timer1 runs only while they can.
  TFrameSight Sight;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormResize(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void FormKeyDown(TObject* Sender);
  void FormClick(TObject* Sender);
  void ApplicationEvents1Deactivate(TObject* Sender);
  void FormMouseMove(TObject* Sender);
  void FormDestroy(TObject* Sender);
};

extern TVeloriumF1* VeloriumF1;

// Mouse-move events seen so far; the sixth closes the saver. Never reset.
extern std::int32_t MouseMoveCount;
