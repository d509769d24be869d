// POSIX file stream. Windows opens files without sharing; here an exclusive flock,
// taken before anything is truncated, keeps every other stream of ours out.
#include "framework/Classes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>

namespace {

std::string fullPathOf(const std::string& fileName) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(fileName, error);
  return error ? fileName : full.lexically_normal().string();
}

bool isDirectory(int fd) {
  struct stat status {};
  return fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
}

// Opens and locks the file; -1 when either step fails. A directory opens read-only
// on POSIX but not on Windows, so it is refused here too.
int openLocked(const std::string& fileName, bool create) {
  int flags = create ? O_RDWR | O_CREAT | O_CLOEXEC : O_RDONLY | O_CLOEXEC;
  int fd = open(fileName.c_str(), flags, 0666);
  if (fd < 0) {
    return -1;
  }
  if (isDirectory(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || (create && ftruncate(fd, 0) != 0)) {
    close(fd);
    return -1;
  }
  return fd;
}

// Runs one read or write of count bytes, again if a signal interrupted it; the
// bytes really moved, 0 on an error.
template <typename Transfer>
int moveBytes(int count, Transfer transfer) {
  if (count <= 0) {
    return 0;
  }
  ssize_t moved;
  do {
    moved = transfer(static_cast<std::size_t>(count));
  } while (moved < 0 && errno == EINTR);
  return moved < 0 ? 0 : static_cast<int>(moved);
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : fileName_(fileName) {
  const bool create = mode == fmCreate;
  int fd = openLocked(fileName, create);
  if (fd < 0) {
    if (create) {
      throw EFCreateError("Cannot create file " + fullPathOf(fileName));
    }
    throw EFOpenError("Cannot open file " + fullPathOf(fileName));
  }
  handle_ = fd;
}

TFileStream::~TFileStream() {
  close(static_cast<int>(handle_));
}

int TFileStream::Read(void* buffer, int count) {
  const int fd = static_cast<int>(handle_);
  return moveBytes(count, [&](std::size_t size) { return read(fd, buffer, size); });
}

int TFileStream::Write(const void* buffer, int count) {
  const int fd = static_cast<int>(handle_);
  return moveBytes(count, [&](std::size_t size) { return write(fd, buffer, size); });
}

bool FileExists(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}
