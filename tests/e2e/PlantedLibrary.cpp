// A stand-in for a library planted beside the saver under the name of one it uses: when it is
// loaded it leaves a marker file, its own path with ".loaded" added. It exports the functions
// of the library it stands in for, all one function that does nothing, so that a program that
// imports them does start with it.
#include <windows.h>

namespace {

void leaveMarker(HMODULE self) {
  WCHAR path[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcatW(path, L".loaded");
  const HANDLE marker =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
}

}  // namespace

extern "C" INT_PTR WINAPI plantedFunction() {
  return 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) leaveMarker(self);
  return TRUE;
}
