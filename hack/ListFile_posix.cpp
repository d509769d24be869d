// The user's XScreenSaver settings file, found through HOME (or the password database), and
// the system's defaults it is made from when the user has none.
#include "hack/ListFile_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

#include "hack/QuotedText.h"
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

// Puts `text` in the place of the file `path` names with no moment in which that file is lost
// or half written: a new file beside the one a symbolic link leads to, given the old one's
// mode and owner, renamed over it. Returns what failed, or nothing; on failure the old file
// is as it was.
std::optional<std::string> ReplaceFile(const std::string& path, const std::string& text,
                                       bool existed, const std::function<void()>& beforeRename) {
  std::error_code error;
  const std::string target = existed ? fs::canonical(path, error).string() : path;
  if (error) return error.message();
  struct stat old {};
  if (existed && stat(target.c_str(), &old) != 0) return std::strerror(errno);
  std::string temporary = target + ".XXXXXX";
  const int file = mkstemp(temporary.data());
  if (file < 0) return std::strerror(errno);
  // A file size limit then fails the write instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  int failure = 0;
  for (size_t done = 0; done < text.size() && failure == 0;) {
    const ssize_t written = write(file, text.data() + done, text.size() - done);
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
  if (failure == 0 && existed && fchown(file, old.st_uid, old.st_gid) != 0 && errno != EPERM)
    failure = errno;
  if (failure == 0 && fchmod(file, mode) != 0) failure = errno;
  if (failure == 0 && fsync(file) != 0) failure = errno;
  if (close(file) != 0 && failure == 0) failure = errno;
  if (failure == 0 && beforeRename) beforeRename();
  if (failure == 0 && rename(temporary.c_str(), target.c_str()) != 0) failure = errno;
  if (failure == 0) return std::nullopt;
  unlink(temporary.c_str());
  return std::strerror(failure);
}

int Fail(std::FILE* errors, const std::string& message) {
  std::fprintf(errors, "velorium: %s\n", message.c_str());
  return 1;
}

int Change(const ListFiles& files, bool add, std::FILE* out,
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
    throw ListError("cannot add " + QuotedText(files.executable) + " to the list: its path holds " +
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
      return 0;
    case ListEdit::Result::NotThere:
      std::fprintf(out, "Velorium is not in the list of hacks in %s; nothing changed.\n",
                   shown.c_str());
      return 0;
    case ListEdit::Result::Added:
    case ListEdit::Result::Removed:
      break;
  }
  if (const std::optional<std::string> failure =
          ReplaceFile(path, edit.text, existed, beforeRename))
    throw ListError("cannot write " + shown + ": " + *failure + "; it is as it was");
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
  return 0;
}

}  // namespace

int ChangeList(const ListFiles& files, bool add, std::FILE* out, std::FILE* errors,
               const std::function<void()>& beforeRename) {
  try {
    return Change(files, add, out, beforeRename);
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
