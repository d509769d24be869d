// What the program needs to know of the system it runs on: where its executable
// lives and how paths are written there. Portable header; one implementation per platform.
#pragma once

#include <string>

#ifdef _WIN32
constexpr char kPathDelim = '\\';
#else
constexpr char kPathDelim = '/';
#endif

// Full path of the running executable in UTF-8, whatever the folder's name; empty if the
// system will not say.
std::string ExecutablePath();
