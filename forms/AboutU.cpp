// The about box and its mail link.
#include "forms/AboutU.h"

#include <shellapi.h>

#include <string>

TAboutF* AboutF = nullptr;

namespace {
// The link's colour while the pointer is over it (aqua), and after it has left (black).
constexpr TColor kLinkHotColor = 0xFFFF00;
constexpr TColor kLinkColdColor = 0x000000;
}  // namespace

TAboutF::TAboutF(TComponent* owner) : TForm(owner) {
  Publish("Panel1", Panel1);
  Publish("ProgramIcon", ProgramIcon);
  Publish("ProductName", ProductName);
  Publish("Label1", Label1);
  Publish("Label2", Label2);
  Publish("Comments", Comments);
  Publish("BitBtn1", BitBtn1);
  Publish("Label2MouseEnter", &TAboutF::Label2MouseEnter);
  Publish("Label2MouseLeave", &TAboutF::Label2MouseLeave);
  Publish("Label2Click", &TAboutF::Label2Click);
  {
    // Laid out for 96 pixels per inch whatever the screen: the system scales the window.
    TDpiUnawareScope unaware;
    InitForm("TABOUTF");
    // The box is shown later; its windows are made now, while the thread is unaware.
    Handle();
  }
}

void TAboutF::Label2MouseEnter(TObject*) {
  Label2->Font.Color = kLinkHotColor;
  Label2->Font.Underline = true;
  Label2->FontChanged();
}

void TAboutF::Label2MouseLeave(TObject*) {
  Label2->Font.Color = kLinkColdColor;
  Label2->Font.Underline = false;
  Label2->FontChanged();
}

void TAboutF::Label2Click(TObject*) {
  const std::string link = "mailto:" + Label2->Caption;
  // Whether a mail program opens is the system's business: the result is not looked at.
  ShellExecuteA(nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOW);
}
