// Entry point of Velorium.scr. Windows starts a screen saver with "/s", "/p <window>"
// or "/c[:window]"; the entry's own parameters are not used.
#include <windows.h>

#include <delayimp.h>

#include <string>

#include "app/Startup.h"

// OpenGL's libraries, opengl32.dll and glu32.dll, are not among Windows' known DLLs: loaded by
// name, a file of the same name beside the saver (say, in a download folder) would be taken in
// place of the system's. Both are delay-loaded (cmake/Hardening.cmake), and both come from the
// system folder: opengl32 first thing in the entry point, so that every later load by name
// (gdi32's own, for the pixel-format calls, and the delay-load helper's) finds that copy; glu32,
// which nothing else loads, when the delay-load helper first needs it. Loading glu32 at start-up
// too held the first frame on the screen for a second or so under Wine.

namespace {

// Loads a library from the system folder; without it the program cannot draw, and the user is
// told so. Null when it cannot be loaded.
HMODULE loadFromTheSystemFolder(const wchar_t* library) {
  const HMODULE loaded = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (loaded == nullptr) {
    const std::wstring text = std::wstring(L"Cannot load ") + library + L" from the system folder.";
    MessageBoxW(nullptr, text.c_str(), L"Velorium I", MB_OK | MB_ICONERROR);
  }
  return loaded;
}

// The delay-load helper's notification before it loads a library by name: the library is
// loaded here, from the system folder, instead. The helper's own search is never used: a
// library missing there ends the program.
FARPROC WINAPI loadDelayedLibrary(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary) return nullptr;
  const std::string name(info->szDll);
  const HMODULE loaded = loadFromTheSystemFolder(std::wstring(name.begin(), name.end()).c_str());
  if (loaded == nullptr) ExitProcess(1);
  return reinterpret_cast<FARPROC>(loaded);
}

}  // namespace

#if defined(_MSC_VER)
// MSVC's delay-load helper takes its hook from a constant the program defines.
extern "C" const PfnDliHook __pfnDliNotifyHook2 = loadDelayedLibrary;
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The current folder leaves the search path for any library loaded by name.
  SetDllDirectoryW(L"");
#if !defined(_MSC_VER)
  __pfnDliNotifyHook2 = loadDelayedLibrary;
#endif
  if (loadFromTheSystemFolder(L"opengl32.dll") == nullptr) return 1;
  return VeloriumMain();
}
