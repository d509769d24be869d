// The handles of the window a scene draws into on Linux, as EGL names them: the drawable that
// X11 or Wayland gives (egl/SceneDrawable.h), the EGL display its context and swap go through
// (the scene's DC) and the EGL context (TplanetsContext_egl.cpp). EGL's handles are untyped
// pointers.
#pragma once

struct SceneDrawable;
using TSceneOwner = SceneDrawable;
using TDrawingHandle = void*;
using TRenderContext = void*;
