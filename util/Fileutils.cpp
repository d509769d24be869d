// The settings file's small helpers.
#include "util/Fileutils.h"

#include "framework/Platform.h"

namespace {

// Backslash paths also separate at the colon of a drive ("D:file").
bool isDelimiter(char c, char delim) {
  return c == delim || (delim == '\\' && c == ':');
}

// Index of the last delimiter in path, or npos.
std::size_t lastDelimiter(const std::string& path, char delim) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (isDelimiter(path[i - 1], delim)) {
      return i - 1;
    }
  }
  return std::string::npos;
}

}  // namespace

std::string GetExeDir() {
  return ExtractDirWithDelimiter(ExecutablePath(), kPathDelim);
}

std::string ExtractDirWithDelimiter(const std::string& path, char delim) {
  std::string dir;
  const std::size_t last = lastDelimiter(path, delim);
  if (last != std::string::npos) {
    // Only a separating delimiter goes; a drive's colon and the backslash of a root stay.
    const bool separates = path[last] == delim && last > 0 && !isDelimiter(path[last - 1], delim);
    dir = path.substr(0, separates ? last : last + 1);
  }
  if (dir.empty() || dir.back() != delim) {
    dir += delim;
  }
  return dir;
}

std::uint8_t ReadByte(TFileStream& stream, std::uint8_t missing) {
  std::uint8_t value = 0;
  return stream.Read(&value, 1) == 1 ? value : missing;
}

void WriteByte(TFileStream& stream, std::uint8_t value) {
  if (stream.Write(&value, 1) != 1) {
    throw EWriteError("Cannot write file " + stream.FileName());
  }
}
