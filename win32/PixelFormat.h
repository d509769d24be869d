// Choosing and setting the one pixel format the scene asks for, with the decision
// after each platform call kept apart from the calls themselves.
#pragma once

#include <windows.h>

// The platform calls the set-up needs, bound to one device context.
class PixelFormatPlatform {
public:
  virtual ~PixelFormatPlatform() = default;
  virtual int Choose(const PIXELFORMATDESCRIPTOR& request) = 0;
  virtual bool Set(int index, const PIXELFORMATDESCRIPTOR& request) = 0;
  // Fills `description`; returns 0 on failure.
  virtual int Describe(int index, PIXELFORMATDESCRIPTOR& description) = 0;
  // Shows a set-up failure to the user (caption "Error", OK only) and returns when dismissed.
  virtual void Report(const char* message) = 0;
};

// The process-wide request: 24-bit RGBA, double-buffered, window, OpenGL, 32-bit depth.
// Its dwFlags is 0 until the first set-up stores the flags; after a set-up it holds the
// description of the chosen format.
PIXELFORMATDESCRIPTOR& RequestedFormat();
// The request with its flags stored: the first call in the process stores
// PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, later calls store nothing.
PIXELFORMATDESCRIPTOR& PreparedRequestedFormat();

// Chooses, sets and describes a format on the platform's device context, `format` being
// both the request and, afterwards, the description of the chosen format. On failure one
// of "-> SetPixelFormat <-", "-> DescribePixelFormat <-" or "-> Need palette <-" is
// reported and the result is false.
bool NegotiatePixelFormat(PixelFormatPlatform& platform, PIXELFORMATDESCRIPTOR& format);
