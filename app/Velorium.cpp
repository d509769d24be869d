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
// (gdi32's own, for the pixel-format calls) finds that copy; glu32 through the delay-load
// helper, which is told to take it from there too.

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

#if !defined(_MSC_VER)
// The delay-import descriptors dlltool made (named after cmake/Hardening.cmake's libraries)
// and mingw-w64's delay-load helper.
extern "C" const ImgDelayDescr __DELAY_IMPORT_DESCRIPTOR_libopengl32_delay_a;
extern "C" const ImgDelayDescr __DELAY_IMPORT_DESCRIPTOR_libglu32_delay_a;
extern "C" IMAGE_DOS_HEADER __ImageBase;
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* entry);

namespace {

// Binds every function of a delay-loaded library now, not at its first call: the stubs of
// binutils 2.40's dlltool do not keep the floating-point argument registers, so a first call
// through them (gluLookAt's, glColor3d's) would be made with wrong arguments.
void bindAllFunctions(const ImgDelayDescr& descriptor) {
  auto* entry =
      reinterpret_cast<FARPROC*>(reinterpret_cast<char*>(&__ImageBase) + descriptor.rvaIAT);
  for (; *entry != nullptr; ++entry) __delayLoadHelper2(&descriptor, entry);
}

}  // namespace
#endif

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
#if !defined(_MSC_VER)
  bindAllFunctions(__DELAY_IMPORT_DESCRIPTOR_libopengl32_delay_a);
  bindAllFunctions(__DELAY_IMPORT_DESCRIPTOR_libglu32_delay_a);
#endif
  return VeloriumMain();
}
