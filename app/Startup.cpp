// Start-up and mode selection.
#include "app/Startup.h"

#include "forms/Optionsu.h"
#include "forms/Veloriumu1.h"
#include "forms/Veloriumu2.h"
#include "framework/Params.h"
#include "win32/Forms.h"

namespace {

constexpr char kTitle[] = "Velorium I";

void CreateModeForm(TApplication& application, SaverMode mode) {
  switch (mode) {
    case SaverMode::FullScreen:
      application.CreateForm(VeloriumF1);
      break;
    case SaverMode::Preview:
      application.CreateForm(VeloriumF2);
      break;
    case SaverMode::Options:
      application.CreateForm(OptionsF);
      break;
    case SaverMode::None:
      application.Terminate();
      break;
  }
}

}  // namespace

int RunApplication(SaverMode mode, const MainFormMaker& makeMainForm) {
  TApplication application;
  try {
    try {
      application.Initialize();
      application.SetTitle(kTitle);
      if (mode == SaverMode::None) {
        application.Terminate();
      } else {
        makeMainForm(application, mode);
      }
      application.Run();
    } catch (const Exception&) {
      throw;
    } catch (...) {
      throw Exception("");
    }
  } catch (const Exception& error) {
    application.ShowException(error);
  }
  return 0;
}

int VeloriumMain() {
  SaverMode mode = SelectMode(ParamList());
  return RunApplication(mode, CreateModeForm);
}
