// The handles of the window a scene draws into, as X11 names them: the hack's description of
// its X window, the display connection and the GLX context (TplanetsContext_glx.cpp).
#pragma once

struct XSceneWindow;
struct _XDisplay;
struct __GLXcontextRec;
using TSceneOwner = XSceneWindow;
using TDeviceContext = _XDisplay*;
using TRenderContext = __GLXcontextRec*;
