// The settings file's small helpers: the executable's directory and one-byte reads
// and writes on a file stream.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Classes.h"

// The directory of the executable, always ending in the path delimiter.
std::string GetExeDir();

// The directory part of path, ending in delim. The path is cut at its last delimiter
// (with '\\' the colon of a drive counts as one too). That delimiter is dropped when it
// is delim following a non-delimiter ("D:\Games\x" gives "D:\Games") and kept otherwise:
// a drive's colon ("D:x" gives "D:") or the backslash of a root ("D:\x" gives "D:\").
// Then delim is appended unless the result already ends in it.
std::string ExtractDirWithDelimiter(const std::string& path, char delim);

// The next byte of stream, or missing when the stream has no byte left to give.
std::uint8_t ReadByte(TFileStream& stream, std::uint8_t missing);

// Writes value at the stream's position; throws EWriteError ("Cannot write file
// <name>") when the byte was not stored, so a full disk is not taken for success.
void WriteByte(TFileStream& stream, std::uint8_t value);
