// The scene's platform members for the native scene tests: the window is a RecordedWindow, and
// making the context, the swap and the end after a failed set-up are calls in the record.
#include "scene/Tplanets.h"
#include "tests/scene/GlRecorder.h"

// A new context starts a new record.
bool TPlanets::CreateContext() {
  ResetGl();
  RecordGlCall("CreateContext()");
  DC = Form;
  HasContext = SetupPixelFormat();
  return HasContext;
}

bool TPlanets::SetupPixelFormat() {
  return !Form->contextFails;
}

void TPlanets::ReleaseContext() {
  HasContext = false;
}

int TPlanets::ClientWidth() const {
  return Form->width;
}

int TPlanets::ClientHeight() const {
  return Form->height;
}

void TPlanets::SwapFrame() {
  RecordGlCall("SwapFrame()");
}

void TPlanets::EndAfterFailedSetup() {
  RecordGlCall("EndAfterFailedSetup()");
}
