// The window of a scene in the native scene tests: a client size and whether the context can
// be made. There is no real window, context or screen: the calls go to the recorder.
#pragma once

struct RecordedWindow {
  int width = 775;
  int height = 512;
  bool contextFails = false;
};
using TSceneOwner = RecordedWindow;
using TDrawingHandle = RecordedWindow*;
using TRenderContext = void*;
