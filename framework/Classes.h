// The framework's file stream: a file opened or created on construction, without
// sharing, and closed on destruction. Portable header; one implementation per platform.
#pragma once

#include <cstdint>
#include <string>

#include "framework/SysUtils.h"

// Open an existing file for reading only.
constexpr std::uint16_t fmOpenRead = 0x0000;
// Create the file, or empty it if it exists, for reading and writing.
constexpr std::uint16_t fmCreate = 0xFFFF;

// A file held open without sharing: while one stream has it, no other stream can
// open or create it. Throws EFOpenError ("Cannot open file <full path>") or
// EFCreateError ("Cannot create file <full path>") when that fails. Names are UTF-8 (on
// Windows the message shows the path in the ANSI code page).
class TFileStream {
public:
  TFileStream(const std::string& fileName, std::uint16_t mode);
  ~TFileStream();
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  // Both return the number of bytes really moved; 0 at the end of the file.
  int Read(void* buffer, int count);
  int Write(const void* buffer, int count);

  const std::string& FileName() const { return fileName_; }

private:
  std::string fileName_;
  // A Win32 HANDLE or a POSIX descriptor, whichever the platform file uses.
  std::intptr_t handle_;
};

// True when a regular file (not a directory) exists at path.
bool FileExists(const std::string& path);
