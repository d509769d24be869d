// The user's XScreenSaver settings file, found through HOME (or the password database), and
// the system's defaults it is made from when the user has none: read only when they are
// regular files, and replaced only by a new file renamed over the old, which the stop signals
// cannot interrupt and which a later change removes when a SIGKILL left it.
#include "hack/ListFile_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "hack/QuotedText.h"
#include "hack/StandardOutput.h"
#include "hack/XScreenSaverList.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDefaultsPath[] = "/etc/X11/app-defaults/XScreenSaver";
// A settings file is a few kilobytes; anything larger is something else.
constexpr std::size_t kMaxListBytes = 16 << 20;

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* user = getpwuid(getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

// What stops a change: its message, one line.
class ListError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A descriptor closed with its owner.
class Descriptor {
public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return descriptor_; }

private:
  int descriptor_;
};

// Refuses anything but a regular file of at most kMaxListBytes.
void CheckListFile(const struct stat& info, const std::string& shown) {
  const char* kind = S_ISDIR(info.st_mode)    ? "a folder"
                     : S_ISFIFO(info.st_mode) ? "a FIFO"
                     : S_ISCHR(info.st_mode)  ? "a character device"
                     : S_ISBLK(info.st_mode)  ? "a block device"
                     : S_ISSOCK(info.st_mode) ? "a socket"
                     : S_ISREG(info.st_mode)  ? nullptr
                                              : "not a regular file";
  if (kind != nullptr)
    throw ListError(shown + " is " + kind + ", not a file of settings; nothing changed");
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxListBytes)
    throw ListError(shown + " holds more than 16 MB: not a file of settings; nothing changed");
}

// The text of a settings file, or nothing when there is none. Throws ListError for anything
// that cannot be read or is not a file of settings: it is looked at before it is opened (opening
// a device may do something), and opened so that a FIFO or a terminal cannot block or take it.
std::optional<std::string> ReadListFile(const std::string& path) {
  const std::string shown = QuotedText(path);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    // Only a name that is not there at all means that there is no file: a link that leads
    // nowhere, in a loop or into a folder the user may not search hides a file of its own.
    const int error = errno;
    struct stat link {};
    const bool isLink = lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
    if (error == ENOENT && !isLink) return std::nullopt;
    throw ListError((isLink ? shown + " is a symbolic link that cannot be followed: "
                            : "cannot check " + shown + ": ") +
                    std::strerror(error) + "; nothing changed");
  }
  CheckListFile(info, shown);
  const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Get() < 0 || fstat(file.Get(), &info) != 0)
    throw ListError("cannot read " + shown + ": " + std::strerror(errno) + "; nothing changed");
  CheckListFile(info, shown);
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(file.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0)
      throw ListError("cannot read " + shown + ": " + std::strerror(errno) + "; nothing changed");
    if (got == 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
    // It grew since it was looked at.
    if (text.size() > kMaxListBytes) {
      info.st_size = static_cast<off_t>(text.size());
      CheckListFile(info, shown);
    }
  }
}

// The new file's name is the old one's with this and mkstemp's six letters and digits: one
// that a killed change left is known for ours by it.
constexpr std::string_view kNewFileMark = ".velorium-new-";
constexpr std::size_t kUniqueLength = 6;

// SIGTERM, SIGINT and SIGHUP held back for the object's life: once the new file is made, they
// take effect only when it has taken the old one's place (or is gone) and that is said.
class HeldStopSignals {
public:
  HeldStopSignals() {
    sigset_t stop;
    sigemptyset(&stop);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stop, signal);
    sigprocmask(SIG_BLOCK, &stop, &before_);
  }
  ~HeldStopSignals() { sigprocmask(SIG_SETMASK, &before_, nullptr); }
  HeldStopSignals(const HeldStopSignals&) = delete;
  HeldStopSignals& operator=(const HeldStopSignals&) = delete;

private:
  sigset_t before_;
};

bool IsNewFileOf(std::string_view entry, std::string_view name) {
  if (entry.size() != name.size() + kNewFileMark.size() + kUniqueLength ||
      !entry.starts_with(name) || entry.substr(name.size(), kNewFileMark.size()) != kNewFileMark)
    return false;
  const std::string_view unique = entry.substr(entry.size() - kUniqueLength);
  return std::all_of(unique.begin(), unique.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

// Removes the new files of `name` that killed changes left in `folder`: each of our user, a
// regular file and locked by no change under way. The caller holds the folder's lock, so that
// no change is between making its new file and locking it.
void RemoveLeftNewFiles(int folder, std::string_view name) {
  const int listed = dup(folder);
  DIR* const listing = listed < 0 ? nullptr : fdopendir(listed);
  if (listing == nullptr) {
    if (listed >= 0) close(listed);
    return;
  }
  for (const dirent* entry; (entry = readdir(listing)) != nullptr;) {
    if (!IsNewFileOf(entry->d_name, name)) continue;
    const Descriptor file(
        openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    struct stat named {};
    if (file.Get() < 0 || fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != geteuid() || flock(file.Get(), LOCK_EX | LOCK_NB) != 0)
      continue;
    if (fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == info.st_dev && named.st_ino == info.st_ino)
      unlinkat(folder, entry->d_name, 0);
  }
  closedir(listing);
}

// The new file for `target`, made beside it once those that killed changes left are removed.
// The folder is locked from the constructor (which waits for the lock, before the stop signals
// are held) to the file's making, where the file system allows.
class NewFile {
public:
  explicit NewFile(const std::string& target)
      : folder_(open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
        folderLocked_(folder_.Get() >= 0 && flock(folder_.Get(), LOCK_EX) == 0),
        name_(target.substr(target.rfind('/') + 1)),
        path_(target) {
    path_.append(kNewFileMark).append(kUniqueLength, 'X');
  }
  // Makes the file, locked for as long as it is open. Returns the descriptor, or -1 with errno.
  int Make() {
    if (folderLocked_) RemoveLeftNewFiles(folder_.Get(), name_);
    const int file = mkostemp(path_.data(), O_CLOEXEC);
    const int error = errno;
    if (file >= 0) flock(file, LOCK_EX | LOCK_NB);
    if (folderLocked_) flock(folder_.Get(), LOCK_UN);
    errno = error;
    return file;
  }
  const std::string& Path() const { return path_; }

private:
  static std::string FolderOf(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  }

  const Descriptor folder_;
  const bool folderLocked_;
  const std::string name_;
  std::string path_;
};

// Puts `text` in the place of the file `target` (no link) with no moment in which that file is
// lost or half written: a new file beside it, given the old one's mode and owner, renamed over
// it. Returns what failed, or nothing; on failure the old file is as it was.
std::optional<std::string> ReplaceFile(const std::string& target, NewFile& newFile,
                                       const std::string& text, bool existed,
                                       const std::function<void()>& beforeRename) {
  struct stat old {};
  if (existed && stat(target.c_str(), &old) != 0) return std::strerror(errno);
  const Descriptor file(newFile.Make());
  if (file.Get() < 0) return std::strerror(errno);
  // A file size limit then fails the write instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  int failure = 0;
  for (size_t done = 0; done < text.size() && failure == 0;) {
    const ssize_t written = write(file.Get(), text.data() + done, text.size() - done);
    if (written >= 0) {
      done += static_cast<size_t>(written);
    } else if (errno != EINTR) {
      failure = errno;
    }
  }
  const mode_t creationMask = umask(0);
  umask(creationMask);
  const mode_t mode = existed ? old.st_mode & 07777 : 0666 & ~creationMask;
  // An owner the user may not give leaves the file the user's: no reason to fail. The owner
  // goes first: a change of owner drops the setuid and setgid bits.
  if (failure == 0 && existed && fchown(file.Get(), old.st_uid, old.st_gid) != 0 && errno != EPERM)
    failure = errno;
  if (failure == 0 && fchmod(file.Get(), mode) != 0) failure = errno;
  if (failure == 0 && fsync(file.Get()) != 0) failure = errno;
  if (failure == 0 && beforeRename) beforeRename();
  // Only a regular file is replaced, whatever took the old one's place meanwhile.
  struct stat now {};
  if (failure == 0 && lstat(target.c_str(), &now) == 0 && !S_ISREG(now.st_mode)) failure = EEXIST;
  // Renamed while it is open, and so locked: no other change takes it for a left one.
  if (failure == 0 && rename(newFile.Path().c_str(), target.c_str()) != 0) failure = errno;
  if (failure == 0) return std::nullopt;
  unlink(newFile.Path().c_str());
  return std::strerror(failure);
}

int Fail(std::FILE* errors, const std::string& message) {
  std::fprintf(errors, "velorium: %s\n", message.c_str());
  std::fflush(errors);
  return 1;
}

int Change(const ListFiles& files, bool add, std::FILE* out, std::FILE* errors,
           const std::function<void()>& beforeRename) {
  const std::string& path = files.settings;
  const std::string shown = QuotedText(path);
  const std::optional<std::string> read = ReadListFile(path);
  const bool existed = read.has_value();
  const std::string settings = read.value_or("");
  const std::string command = ListCommandFor(files.executable);
  ListEdit edit;
  if (!add) {
    edit = RemoveFromList(settings);
  } else if (const std::string_view problem = ListPathProblem(files.executable); !problem.empty()) {
    throw ListError(QuotedText(files.executable) + " cannot be added to the list: its path holds " +
                    std::string(problem) +
                    "; install velorium in /usr/libexec/xscreensaver or in a folder whose path "
                    "has no blank, quote, backslash, '=' or control character; nothing changed");
  } else {
    // The system's list is read only when it is needed.
    const std::string defaults =
        HasList(settings) ? std::string() : ReadListFile(files.defaults).value_or("");
    edit = AddToList(settings, defaults, command);
  }
  switch (edit.result) {
    case ListEdit::Result::NoDefaults:
      throw ListError("no list of hacks in " + QuotedText(files.defaults) + " to make " + shown +
                      " from: is XScreenSaver installed?");
    case ListEdit::Result::AlreadyThere:
      std::fprintf(out, "Velorium is in the list of hacks in %s already; nothing changed.\n",
                   shown.c_str());
      return FlushedStatus(out, errors, 0);
    case ListEdit::Result::NotThere:
      std::fprintf(out, "Velorium is not in the list of hacks in %s; nothing changed.\n",
                   shown.c_str());
      return FlushedStatus(out, errors, 0);
    case ListEdit::Result::Added:
    case ListEdit::Result::Removed:
      break;
  }
  std::error_code error;
  const std::string target = existed ? fs::canonical(path, error).string() : path;
  if (error)
    throw ListError("cannot follow " + shown + ": " + error.message() + "; nothing changed");
  NewFile newFile(target);
  const HeldStopSignals held;
  if (const std::optional<std::string> failure =
          ReplaceFile(target, newFile, edit.text, existed, beforeRename))
    return Fail(errors, "cannot write " + shown + ": " + *failure + "; it is as it was");
  const std::string entry = QuotedText("GL: " + command);
  if (edit.result == ListEdit::Result::Removed) {
    std::fprintf(out, "Took Velorium out of the list of hacks in %s.\n", shown.c_str());
  } else if (existed) {
    std::fprintf(out, "Added %s to the end of the list of hacks in %s.\n", entry.c_str(),
                 shown.c_str());
  } else {
    std::fprintf(out, "Made %s with the list of hacks in %s and %s at its end.\n", shown.c_str(),
                 QuotedText(files.defaults).c_str(), entry.c_str());
  }
  return FlushedStatus(out, errors, 0);
}

}  // namespace

int ChangeList(const ListFiles& files, bool add, std::FILE* out, std::FILE* errors,
               const std::function<void()>& beforeRename) {
  try {
    return Change(files, add, out, errors, beforeRename);
  } catch (const ListError& error) {
    return Fail(errors, error.what());
  }
}

int ChangeXScreenSaverList(bool add) {
  const std::string home = HomeFolder();
  if (home.empty()) return Fail(stderr, "cannot find the home folder: HOME is not set");
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (add && error) return Fail(stderr, "cannot find where velorium is: " + error.message());
  return ChangeList({home + "/.xscreensaver", kDefaultsPath, executable.string()}, add, stdout,
                    stderr);
}
