// POSIX answers for Platform.h (Linux: the executable is /proc/self/exe).
#include "framework/Platform.h"

#include <filesystem>

std::string ExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}
