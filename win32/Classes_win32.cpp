// Win32 file stream: CreateFileA with share mode 0, so the file stays ours alone
// until the stream is destroyed.
#include "framework/Classes.h"

#include <windows.h>

#include <vector>

namespace {

// The absolute form of a name, as the error messages show it.
std::string fullPathOf(const std::string& fileName) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetFullPathNameA(fileName.c_str(), static_cast<DWORD>(buffer.size()),
                                    buffer.data(), nullptr);
    if (length == 0) {
      return fileName;
    }
    if (length < buffer.size()) {
      return std::string(buffer.data(), length);
    }
    buffer.resize(length);
  }
}

HANDLE asHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : fileName_(fileName) {
  const bool create = mode == fmCreate;
  // CREATE_ALWAYS truncates only after the share check has passed, so a file that
  // someone else holds open is left as it was.
  HANDLE file = CreateFileA(fileName.c_str(), create ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                            0, nullptr, create ? CREATE_ALWAYS : OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (create) {
      throw EFCreateError("Cannot create file " + fullPathOf(fileName));
    }
    throw EFOpenError("Cannot open file " + fullPathOf(fileName));
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

TFileStream::~TFileStream() { CloseHandle(asHandle(handle_)); }

int TFileStream::Read(void* buffer, int count) {
  DWORD moved = 0;
  if (count <= 0 || !ReadFile(asHandle(handle_), buffer, static_cast<DWORD>(count), &moved, nullptr)) {
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
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
