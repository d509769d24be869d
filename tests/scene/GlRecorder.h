// A stand-in for OpenGL 1.1 and GLU in the native scene tests: every call the scene makes is
// kept as one line of text, "glTranslated(4, 0, 0)", with enums by name and numbers to six
// significant digits, so that a test can write out the calls it expects.
#pragma once

#include <string>
#include <vector>

using GlCalls = std::vector<std::string>;

// The calls since the last take, in order; the record starts again empty.
GlCalls TakeGlCalls();
// Adds a call of the window system's (the platform file's "SwapFrame()") to the record.
void RecordGlCall(std::string call);
// A new context: nothing recorded, nothing enabled.
void ResetGl();
