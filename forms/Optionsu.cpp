// The options dialog.
#include "forms/Optionsu.h"

#include "forms/AboutU.h"
#include "framework/FloatingPoint.h"

TOptionsF* OptionsF = nullptr;

TOptionsF::TOptionsF(TComponent* owner) : TForm(owner) {
  Publish("Panel1", Panel1);
  Publish("CheckBox1", CheckBox1);
  Publish("CheckBox2", CheckBox2);
  Publish("BitBtn1", BitBtn1);
  Publish("BitBtn2", BitBtn2);
  Publish("FormCreate", &TOptionsF::FormCreate);
  Publish("FormShow", &TOptionsF::FormShow);
  Publish("FormDestroy", &TOptionsF::FormDestroy);
  Publish("BitBtn1Click", &TOptionsF::BitBtn1Click);
  Publish("BitBtn2Click", &TOptionsF::BitBtn2Click);
  // FormCreate and FormShow run in here (old create order, visible form).
  {
    // Laid out for 96 pixels per inch whatever the screen: the system scales the window.
    TDpiUnawareScope unaware;
    InitForm("TOPTIONSF");
  }
  MaskFloatingPointExceptions();
}

TOptionsF::~TOptionsF() = default;

void TOptionsF::FormCreate(TObject*) {
  Planets = std::make_unique<TPlanets>(this);
  Planets->LoadOptions();
}

void TOptionsF::FormShow(TObject*) {
  if (!Planets) return;
  CheckBox1->SetChecked(Planets->ShowComet != 0);
  CheckBox2->SetChecked(Planets->ShowOrbits != 0);
}

void TOptionsF::BitBtn1Click(TObject*) {
  Planets->ShowComet = CheckBox1->Checked() ? 1 : 0;
  Planets->ShowOrbits = CheckBox2->Checked() ? 1 : 0;
  // A failed save leaves here: the dialog stays open with the new values.
  Planets->SaveOptions();
  Close();
}

void TOptionsF::BitBtn2Click(TObject*) {
  AboutF = new TAboutF(Application);
  // Freed however the modal loop ends; the variable never points at a freed form.
  struct FreeAbout {
    ~FreeAbout() {
      TComponent::Free(AboutF);
      AboutF = nullptr;
    }
  } freeAbout;
  AboutF->AfterConstruction();
  AboutF->ShowModal();
}

void TOptionsF::FormDestroy(TObject*) {
  Planets.reset();
}
