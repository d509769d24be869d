// The handles of the window a scene draws into, as Win32 names them: the form whose client
// area is drawn into, its device context that WGL draws through (the scene's DC) and the WGL
// context (TplanetsContext_wgl.cpp).
#pragma once

class TForm;
struct HDC__;
struct HGLRC__;
using TSceneOwner = TForm;
using TDrawingHandle = HDC__*;
using TRenderContext = HGLRC__*;
