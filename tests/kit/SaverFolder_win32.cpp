// Finding the built saver and copying it into a folder of the test's own.
#include "tests/kit/SaverFolder_win32.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/kit/Wait.h"
#include "win32/WideText_win32.h"

namespace kit {
namespace {

std::wstring wide(const std::string& utf8) {
  return WideFromUtf8(utf8);
}

std::string fullPath(const std::string& path) {
  std::array<char, MAX_PATH> buffer{};
  const DWORD length = GetFullPathNameA(path.c_str(), buffer.size(), buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) return path;
  return std::string(buffer.data(), length);
}

}  // namespace

std::string programFolder() {
  std::array<char, MAX_PATH> buffer{};
  const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), buffer.size());
  const std::string path(buffer.data(), length);
  return path.substr(0, path.find_last_of("\\/"));
}

std::string saverPath() {
  // The build tree keeps the saver in app\ beside tests\ and bench\; when it is missing,
  // the error names where the end-to-end tests look for it.
  std::string folder = programFolder();
  std::string forTests;
  for (int level = 0; level < 3; ++level) {
    folder += "\\..";
    const std::string candidate = fullPath(folder + "\\app\\Velorium.scr");
    if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
    if (level == 1) forTests = candidate;
  }
  return forTests;
}

SaverFolder::SaverFolder() {
  std::array<char, MAX_PATH> temp{};
  std::array<char, MAX_PATH> unique{};
  GetTempPathA(temp.size(), temp.data());
  // A unique name from the system, taken over by a folder.
  GetTempFileNameA(temp.data(), "vel", 0, unique.data());
  path_ = unique.data();
  DeleteFileA(path_.c_str());
  CreateDirectoryA(path_.c_str(), nullptr);
  if (!CopyFileA(saverPath().c_str(), saver().c_str(), FALSE)) {
    throw std::runtime_error("cannot copy the saver to " + path_);
  }
}

SaverFolder::~SaverFolder() {
  releaseSettings();
  RemoveDirectoryW(wide(settingsFile()).c_str());
  // A saver that was just terminated may hold its file a moment longer.
  waitUntil(
      [&] {
        return DeleteFileW(wide(saver()).c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
      },
      Milliseconds{5000}, Milliseconds{100});
  WIN32_FIND_DATAW entry{};
  HANDLE search = FindFirstFileW(wide(path_ + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileW((wide(path_ + "\\") + entry.cFileName).c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(wide(path_).c_str());
}

void SaverFolder::extendName(const std::string& text) {
  const std::string renamed = path_ + " " + text;
  if (!MoveFileW(wide(path_).c_str(), wide(renamed).c_str())) {
    throw std::runtime_error("cannot rename " + path_);
  }
  path_ = renamed;
}

void SaverFolder::writeSettings(const Bytes& bytes) const {
  std::ofstream file(std::filesystem::path(wide(settingsFile())),
                     std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::optional<Bytes> SaverFolder::settings() const {
  std::ifstream file(std::filesystem::path(wide(settingsFile())), std::ios::binary);
  if (!file) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void SaverFolder::holdSettings() {
  held_ = CreateFileW(wide(settingsFile()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + settingsFile());
}

void SaverFolder::releaseSettings() {
  if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
  held_ = INVALID_HANDLE_VALUE;
}

void SaverFolder::makeSettingsAFolder() const {
  CreateDirectoryW(wide(settingsFile()).c_str(), nullptr);
}

void SaverFolder::addFile(const std::string& source) const {
  const std::string name = source.substr(source.find_last_of("\\/") + 1);
  if (!CopyFileW(wide(source).c_str(), wide(path_ + "\\" + name).c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + source + " to " + path_);
  }
}

bool SaverFolder::holds(const std::string& name) const {
  return GetFileAttributesW(wide(path_ + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void PrintTo(const SettingsCase& settings, std::ostream* out) {
  if (!settings.file) {
    *out << "no settings file";
    return;
  }
  *out << "settings bytes {";
  for (size_t i = 0; i < settings.file->size(); ++i)
    *out << (i > 0 ? ", " : "") << int{(*settings.file)[i]};
  *out << "}";
}

std::string namesIn(const std::string& folder) {
  std::string names;
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") names += " " + name;
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

}  // namespace kit
