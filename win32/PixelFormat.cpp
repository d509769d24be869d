// The pixel-format negotiation.
#include "win32/PixelFormat.h"

namespace {

constexpr DWORD kRequestedFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;

PIXELFORMATDESCRIPTOR MakeRequest() {
  PIXELFORMATDESCRIPTOR request{};
  request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  request.nVersion = 1;
  request.dwFlags = 0;
  request.iPixelType = PFD_TYPE_RGBA;
  request.cColorBits = 24;
  request.cDepthBits = 32;
  request.iLayerType = PFD_MAIN_PLANE;
  return request;
}

struct ProcessRequest {
  PIXELFORMATDESCRIPTOR format = MakeRequest();
  bool flagsStored = false;
};

ProcessRequest& TheRequest() {
  static ProcessRequest request;
  return request;
}

}  // namespace

PIXELFORMATDESCRIPTOR& RequestedFormat() {
  return TheRequest().format;
}

PIXELFORMATDESCRIPTOR& PreparedRequestedFormat() {
  ProcessRequest& request = TheRequest();
  if (!request.flagsStored) {
    request.format.dwFlags = kRequestedFlags;
    request.flagsStored = true;
  }
  return request.format;
}

bool NegotiatePixelFormat(PixelFormatPlatform& platform, PIXELFORMATDESCRIPTOR& format) {
  // An index of 0 (nothing matched) is passed on: setting it fails below.
  int index = platform.Choose(format);
  if (!platform.Set(index, format)) {
    platform.Report("-> SetPixelFormat <-");
    return false;
  }
  if (platform.Describe(index, format) == 0) {
    platform.Report("-> DescribePixelFormat <-");
    return false;
  }
  if ((format.dwFlags & PFD_NEED_PALETTE) != 0) {
    platform.Report("-> Need palette <-");
    return false;
  }
  return true;
}
