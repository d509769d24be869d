// The handles of the window a scene draws into, as X11 names them: the hack's description of
// its drawable, the display connection that GLX draws through (the scene's DC) and the GLX
// context (TplanetsContext_glx.cpp).
#pragma once

struct SceneDrawable;
struct _XDisplay;
struct __GLXcontextRec;
using TSceneOwner = SceneDrawable;
using TDrawingHandle = _XDisplay*;
using TRenderContext = __GLXcontextRec*;
