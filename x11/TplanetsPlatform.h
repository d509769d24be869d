// The handles of the window a scene draws into, as X11 and EGL name them: the hack's description
// of its drawable, the EGL display on its X connection that the context and the swap go
// through (the scene's DC) and the EGL context (TplanetsContext_egl.cpp). EGL's handles are
// untyped pointers.
#pragma once

struct SceneDrawable;
using TSceneOwner = SceneDrawable;
using TDrawingHandle = void*;
using TRenderContext = void*;
