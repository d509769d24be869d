// The user's XScreenSaver settings file, found through HOME (or the password database), and
// the system's defaults it is made from when the user has none.
#include "hack/ListFile_posix.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "hack/QuotedText.h"
#include "hack/XScreenSaverList.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDefaultsPath[] = "/etc/X11/app-defaults/XScreenSaver";

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* user = getpwuid(getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

std::optional<std::string> ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

// Puts `text` in the place of the file `path` names with no moment in which that file is lost
// or half written: a new file beside the one a symbolic link leads to, given the old one's
// mode and owner, renamed over it. Returns what failed, or nothing; on failure the old file
// is as it was.
std::optional<std::string> ReplaceFile(const std::string& path, const std::string& text,
                                       bool existed) {
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
  if (failure == 0 && fchmod(file, mode) != 0) failure = errno;
  // An owner the user may not give leaves the file the user's: no reason to fail.
  if (failure == 0 && existed && fchown(file, old.st_uid, old.st_gid) != 0 && errno != EPERM)
    failure = errno;
  if (failure == 0 && fsync(file) != 0) failure = errno;
  if (close(file) != 0 && failure == 0) failure = errno;
  if (failure == 0 && rename(temporary.c_str(), target.c_str()) != 0) failure = errno;
  if (failure == 0) return std::nullopt;
  unlink(temporary.c_str());
  return std::strerror(failure);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "velorium: %s\n", message.c_str());
  return 1;
}

}  // namespace

int ChangeXScreenSaverList(bool add) {
  const std::string home = HomeFolder();
  if (home.empty()) return Fail("cannot find the home folder: HOME is not set");
  const std::string path = home + "/.xscreensaver";
  const std::string shown = QuotedText(path);
  std::error_code error;
  const bool existed = fs::exists(path, error);
  const std::optional<std::string> settings = existed ? ReadText(path) : std::string();
  if (!settings) return Fail("cannot read " + shown);
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (add && error) return Fail("cannot find where velorium is: " + error.message());
  const std::string command = ListCommandFor(executable.string());
  const ListEdit edit = add ? AddToList(*settings, ReadText(kDefaultsPath).value_or(""), command)
                            : RemoveFromList(*settings);
  switch (edit.result) {
    case ListEdit::Result::NoDefaults:
      return Fail(std::string("no list of hacks in ") + kDefaultsPath + " to make " + shown +
                  " from: is XScreenSaver installed?");
    case ListEdit::Result::AlreadyThere:
      std::printf("Velorium is in the list of hacks in %s already; nothing changed.\n",
                  shown.c_str());
      return 0;
    case ListEdit::Result::NotThere:
      std::printf("Velorium is not in the list of hacks in %s; nothing changed.\n", shown.c_str());
      return 0;
    case ListEdit::Result::Added:
    case ListEdit::Result::Removed:
      break;
  }
  if (const std::optional<std::string> failure = ReplaceFile(path, edit.text, existed))
    return Fail("cannot write " + shown + ": " + *failure + "; it is as it was");
  if (edit.result == ListEdit::Result::Removed) {
    std::printf("Took Velorium out of the list of hacks in %s.\n", shown.c_str());
  } else if (existed) {
    std::printf("Added \"GL: %s\" to the end of the list of hacks in %s.\n", command.c_str(),
                shown.c_str());
  } else {
    std::printf("Made %s with the list of hacks in %s and \"GL: %s\" at its end.\n", shown.c_str(),
                kDefaultsPath, command.c_str());
  }
  return 0;
}
