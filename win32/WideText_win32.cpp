// Conversions at the Win32 boundary: MultiByteToWideChar and WideCharToMultiByte, each asked
// for the length first.
#include "win32/WideText_win32.h"

#include <windows.h>

namespace {

std::string Narrow(std::wstring_view text, UINT codePage) {
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(codePage, 0, text.data(), length, narrow.data(), size, nullptr, nullptr);
  }
  return narrow;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view text) {
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  return Narrow(text, CP_UTF8);
}

std::string AnsiFromWide(std::wstring_view text) {
  return Narrow(text, CP_ACP);
}
