// The full-screen saver form.
#include "forms/Veloriumu1.h"

#include <limits>

#include "framework/FloatingPoint.h"

TVeloriumF1* VeloriumF1 = nullptr;
std::int32_t MouseMoveCount = 0;

namespace {
// Mouse-move events tolerated before the saver closes.
constexpr std::int32_t kToleratedMouseMoves = 5;
}  // namespace

TVeloriumF1::TVeloriumF1(TComponent* owner) : TForm(owner) {
  Publish("Timer1", Timer1);
  Publish("ApplicationEvents1", ApplicationEvents1);
  Publish("FormCreate", &TVeloriumF1::FormCreate);
  Publish("FormShow", &TVeloriumF1::FormShow);
  Publish("FormResize", &TVeloriumF1::FormResize);
  Publish("Timer1Timer", &TVeloriumF1::Timer1Timer);
  Publish("FormKeyDown", &TVeloriumF1::FormKeyDown);
  Publish("FormClick", &TVeloriumF1::FormClick);
  Publish("ApplicationEvents1Deactivate", &TVeloriumF1::ApplicationEvents1Deactivate);
  Publish("FormMouseMove", &TVeloriumF1::FormMouseMove);
  Publish("FormDestroy", &TVeloriumF1::FormDestroy);
  // The saver covers the task bar: the program's own task-bar button is never shown.
  Application->TaskBarButton = false;
  MonitorCovers.OnKeyDown = [this](TObject* sender) { FormKeyDown(sender); };
  MonitorCovers.OnClick = [this](TObject* sender) { FormClick(sender); };
  MonitorCovers.OnMouseMove = [this](TObject* sender) { FormMouseMove(sender); };
  InitForm("TVELORIUMF1");
  MaskFloatingPointExceptions();
}

TVeloriumF1::~TVeloriumF1() = default;

void TVeloriumF1::FormCreate(TObject*) {
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
  Planets = std::make_unique<TPlanets>(VeloriumF1);
  Planets->LoadOptions();
}

void TVeloriumF1::FormShow(TObject*) {
  ShowWindow(Application->Handle(), SW_HIDE);
  MonitorCovers.Show(Handle());
}

void TVeloriumF1::FormResize(TObject*) {
  if (Planets) Planets->Resize();
}

void TVeloriumF1::Timer1Timer(TObject*) {
  // Ticks wait until the form is on screen: a modal error box inside FormCreate
  // keeps the timer running before the form is set up.
  if (!Planets || !Visible || !HandleAllocated()) return;
  // Nothing is drawn that nobody can see; the frames go on from the same Counter.
  if (Sight.FrameCanBeSeen(Handle(), Timer1)) Planets->Tick();
}

void TVeloriumF1::FormKeyDown(TObject*) {
  Close();
}

void TVeloriumF1::FormClick(TObject*) {
  Close();
}

void TVeloriumF1::ApplicationEvents1Deactivate(TObject*) {
  Close();
}

void TVeloriumF1::FormMouseMove(TObject*) {
  if (MouseMoveCount < std::numeric_limits<std::int32_t>::max()) ++MouseMoveCount;
  if (MouseMoveCount > kToleratedMouseMoves) Close();
}

void TVeloriumF1::FormDestroy(TObject*) {
  Planets.reset();
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
}
