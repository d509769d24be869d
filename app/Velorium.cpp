// Entry point of Velorium.scr. Windows starts a screen saver with "/s", "/p <window>"
// or "/c[:window]"; the entry's own parameters are not used.
#include <windows.h>

#include <string>

#include "app/Startup.h"

namespace {

constexpr const wchar_t* kOpenGlLibraries[] = {L"opengl32.dll", L"glu32.dll"};

// OpenGL's libraries are not among Windows' known DLLs: loaded by name, a file of the same
// name beside the saver (say, in a download folder) would be taken in place of the system's.
// Both are delay-loaded, so nothing has loaded them yet; loaded here from the system folder,
// every later load by name (the delay-load helper's, gdi32's own for the pixel-format calls)
// finds these copies. False, with the library named, when one cannot be loaded.
bool loadOpenGlFromTheSystemFolder(const wchar_t*& missing) {
  for (const wchar_t* library : kOpenGlLibraries) {
    if (LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) == nullptr) {
      missing = library;
      return false;
    }
  }
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The current folder leaves the search path for any library loaded by name.
  SetDllDirectoryW(L"");
  const wchar_t* missing = nullptr;
  if (!loadOpenGlFromTheSystemFolder(missing)) {
    // Without it the first drawing call would end the program with an unhandled exception.
    const std::wstring text = std::wstring(L"Cannot load ") + missing + L" from the system folder.";
    MessageBoxW(nullptr, text.c_str(), L"Velorium I", MB_OK | MB_ICONERROR);
    return 1;
  }
  return VeloriumMain();
}
