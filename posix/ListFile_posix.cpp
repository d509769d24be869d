// The user's XScreenSaver settings file, found through HOME (or the password database), and
// the system's defaults it is made from when the user has none.
#include "posix/ListFile_posix.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

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

int Fail(const std::string& message) {
  std::fprintf(stderr, "velorium: %s\n", message.c_str());
  return 1;
}

}  // namespace

int ChangeXScreenSaverList(bool add) {
  const std::string home = HomeFolder();
  if (home.empty()) return Fail("cannot find the home folder: HOME is not set");
  const std::string path = home + "/.xscreensaver";
  std::error_code error;
  const bool existed = fs::exists(path, error);
  const std::optional<std::string> settings = existed ? ReadText(path) : std::string();
  if (!settings) return Fail("cannot read " + path);
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (add && error) return Fail("cannot find where velorium is: " + error.message());
  const std::string command = ListCommandFor(executable.string());
  const ListEdit edit = add ? AddToList(*settings, ReadText(kDefaultsPath).value_or(""), command)
                            : RemoveFromList(*settings);
  switch (edit.result) {
    case ListEdit::Result::NoDefaults:
      return Fail(std::string("no list of hacks in ") + kDefaultsPath + " to make " + path +
                  " from: is XScreenSaver installed?");
    case ListEdit::Result::AlreadyThere:
      std::printf("Velorium is in the list of hacks in %s already; nothing changed.\n",
                  path.c_str());
      return 0;
    case ListEdit::Result::NotThere:
      std::printf("Velorium is not in the list of hacks in %s; nothing changed.\n", path.c_str());
      return 0;
    case ListEdit::Result::Added:
    case ListEdit::Result::Removed:
      break;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << edit.text;
  out.close();
  if (!out) return Fail("cannot write " + path);
  if (edit.result == ListEdit::Result::Removed) {
    std::printf("Took Velorium out of the list of hacks in %s.\n", path.c_str());
  } else if (existed) {
    std::printf("Added \"GL: %s\" to the end of the list of hacks in %s.\n", command.c_str(),
                path.c_str());
  } else {
    std::printf("Made %s with the list of hacks in %s and \"GL: %s\" at its end.\n", path.c_str(),
                kDefaultsPath, command.c_str());
  }
  return 0;
}
