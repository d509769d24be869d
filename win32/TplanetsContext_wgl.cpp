// The scene on Windows: its owner is a form of our framework, its context comes from WGL,
// and a failed set-up ends the application.
#include "scene/GL.h"
#include "scene/Tplanets.h"
#include "win32/Forms.h"
#include "win32/PixelFormat.h"

namespace {

// The real platform calls on one device context.
class WindowPixelFormat : public PixelFormatPlatform {
public:
  explicit WindowPixelFormat(HDC dc) : dc_(dc) {}
  int Choose(const PIXELFORMATDESCRIPTOR& request) override {
    return ChoosePixelFormat(dc_, &request);
  }
  bool Set(int index, const PIXELFORMATDESCRIPTOR& request) override {
    return SetPixelFormat(dc_, index, &request) != FALSE;
  }
  int Describe(int index, PIXELFORMATDESCRIPTOR& description) override {
    return DescribePixelFormat(dc_, index, sizeof(PIXELFORMATDESCRIPTOR), &description);
  }
  void Report(const char* message) override { Application->MessageBox(message, "Error", MB_OK); }

private:
  HDC dc_;
};

}  // namespace

bool TPlanets::CreateContext() {
  DC = GetDC(Form->Handle());
  HasContext = SetupPixelFormat();
  if (HasContext) {
    RC = wglCreateContext(DC);
    wglMakeCurrent(DC, RC);
  }
  return HasContext;
}

bool TPlanets::SetupPixelFormat() {
  WindowPixelFormat platform(DC);
  return NegotiatePixelFormat(platform, PreparedRequestedFormat());
}

void TPlanets::ReleaseContext() {
  if (!HasContext) return;
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(RC);
}

int TPlanets::ClientWidth() const {
  return Form->ClientWidth();
}

int TPlanets::ClientHeight() const {
  return Form->ClientHeight();
}

void TPlanets::SwapFrame() {
  SwapBuffers(DC);
}

void TPlanets::EndAfterFailedSetup() {
  if (Application != nullptr) Application->Terminate();
}
