// The handles of the window a scene draws into, as each platform names them. The scene
// itself is portable; its window, context and swap live in TplanetsContext_wgl.cpp
// (Win32 forms and WGL) or TplanetsContext_glx.cpp (X11 and GLX).
#pragma once

#ifdef _WIN32
class TForm;
struct HDC__;
struct HGLRC__;
// The form whose client area is drawn into, its device context and the WGL context.
using TSceneOwner = TForm;
using TDeviceContext = HDC__*;
using TRenderContext = HGLRC__*;
#else
struct XSceneWindow;
struct _XDisplay;
struct __GLXcontextRec;
// The X window drawn into, its display connection and the GLX context.
using TSceneOwner = XSceneWindow;
using TDeviceContext = _XDisplay*;
using TRenderContext = __GLXcontextRec*;
#endif
