// The options dialog: the two settings as check boxes, saved on OK, which ends the
// program; "About..." opens the about box as often as asked.
#pragma once

#include <memory>

#include "scene/Tplanets.h"
#include "win32/Buttons.h"
#include "win32/ExtCtrls.h"
#include "win32/Forms.h"
#include "win32/StdCtrls.h"

class TOptionsF : public TForm {
public:
  explicit TOptionsF(TComponent* owner);
  ~TOptionsF() override;

  TPanel* Panel1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TCheckBox* CheckBox2 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  // Holds the two options and the settings path only; it never draws.
  std::unique_ptr<TPlanets> Planets;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void BitBtn1Click(TObject* Sender);
  void BitBtn2Click(TObject* Sender);
};

extern TOptionsF* OptionsF;
