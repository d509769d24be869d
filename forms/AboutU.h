// The about box: picture, name, author, a contact address that works as a mail link,
// and a short description. Shown modally by the options dialog.
#pragma once

#include "win32/Buttons.h"
#include "win32/ExtCtrls.h"
#include "win32/Forms.h"
#include "win32/StdCtrls.h"

class TAboutF : public TForm {
public:
  explicit TAboutF(TComponent* owner);

  TPanel* Panel1 = nullptr;
  TImage* ProgramIcon = nullptr;
  TLabel* ProductName = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Comments = nullptr;
  TBitBtn* BitBtn1 = nullptr;

  void Label2MouseEnter(TObject* Sender);
  void Label2MouseLeave(TObject* Sender);
  void Label2Click(TObject* Sender);
};

extern TAboutF* AboutF;
