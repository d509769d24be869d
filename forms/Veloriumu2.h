// The preview form: a borderless black child of a window of another program (the
// screen-saver settings page), running the scene until a system command closes it.
#pragma once

#include <memory>

#include "scene/Tplanets.h"
#include "win32/ExtCtrls.h"
#include "win32/Forms.h"
#include "win32/FrameSight.h"

class TVeloriumF2 : public TForm {
public:
  explicit TVeloriumF2(TComponent* owner);
  ~TVeloriumF2() override;

  TTimer* Timer1 = nullptr;
  std::unique_ptr<TPlanets> Planets;
  // Whether the frames can be seen: Timer1 runs only while they can.
  TFrameSight Sight;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormResize(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void FormDestroy(TObject* Sender);
  // Every message of the window passes here first: a system command closes the preview.
  void PreviewWndProc(TMessage& message);
};

extern TVeloriumF2* VeloriumF2;
