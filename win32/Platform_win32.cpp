// Win32 answers for Platform.h.
#include "framework/Platform.h"

#include <windows.h>

#include <vector>

#include "win32/WideText_win32.h"

std::string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return {};
    }
    // A full buffer means the name may have been cut short.
    if (length < buffer.size()) {
      return Utf8FromWide(std::wstring_view(buffer.data(), length));
    }
    buffer.resize(buffer.size() * 2);
  }
}
