// Win32 file stream: CreateFileW with share mode 0, so the file stays ours alone
// until the stream is destroyed. Names are UTF-8, so that a folder of any name works.
#include "framework/Classes.h"

#include <windows.h>

#include <vector>

#include "win32/WideText_win32.h"

namespace {

// The absolute form of a name, in the ANSI code page as the error messages show it.
std::string fullPathOf(const std::wstring& fileName) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetFullPathNameW(fileName.c_str(), static_cast<DWORD>(buffer.size()),
                                    buffer.data(), nullptr);
    if (length == 0) {
      return AnsiFromWide(fileName);
    }
    if (length < buffer.size()) {
      return AnsiFromWide(std::wstring_view(buffer.data(), length));
    }
    buffer.resize(length);
  }
}

HANDLE asHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : fileName_(fileName) {
  const bool create = mode == fmCreate;
  const std::wstring wideName = WideFromUtf8(fileName);
  // CREATE_ALWAYS truncates only after the share check has passed, so a file that
  // someone else holds open is left as it was.
  HANDLE file =
      CreateFileW(wideName.c_str(), create ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, 0,
                  nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (create) {
      throw EFCreateError("Cannot create file " + fullPathOf(wideName));
    }
    throw EFOpenError("Cannot open file " + fullPathOf(wideName));
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

TFileStream::~TFileStream() {
  CloseHandle(asHandle(handle_));
}

int TFileStream::Read(void* buffer, int count) {
  DWORD moved = 0;
  if (count <= 0 ||
      !ReadFile(asHandle(handle_), buffer, static_cast<DWORD>(count), &moved, nullptr)) {
    return 0;
  }
  return static_cast<int>(moved);
}

int TFileStream::Write(const void* buffer, int count) {
  DWORD moved = 0;
  if (count <= 0 ||
      !WriteFile(asHandle(handle_), buffer, static_cast<DWORD>(count), &moved, nullptr)) {
    return 0;
  }
  return static_cast<int>(moved);
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
