// OpenGL 1.1 and GLU headers; Windows' own need <windows.h> first.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>
