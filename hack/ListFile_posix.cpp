// The user's XScreenSaver settings file, found through HOME (or the password database), and
// the system's defaults it is made from when the user has none: found (a link followed once),
// checked and read through one descriptor of its folder, changed, replaced (FileReplacement),
// and what was done said in one line.
#include "hack/ListFile_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "hack/FileReplacement_posix.h"
#include "hack/QuotedText.h"
#include "hack/StandardOutput.h"
#include "hack/XScreenSaverList.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDefaultsPath[] = "/etc/X11/app-defaults/XScreenSaver";
// A settings file is a few kilobytes; anything larger is something else.
constexpr std::size_t kMaxListBytes = 16 << 20;
// A list that another program changes this often in a row while it is edited is left to it.
constexpr int kAttempts = 5;

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

std::string Unchanged(const std::string& message) {
  return message + "; nothing changed";
}

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
    throw ListError(Unchanged(shown + " is " + kind + ", not a file of settings"));
  if (static_cast<std::uintmax_t>(info.st_size) > kMaxListBytes)
    throw ListError(Unchanged(shown + " holds more than 16 MiB: not a file of settings"));
}

// Refuses what belongs to another user than the one running the change, where the change
// writes (`written`): root with a user's HOME (sudo without -H) would leave the user a list of
// root's, or write where the user's link leads.
void CheckOwner(const struct stat& info, const std::string& shown, bool written) {
  if (!written || info.st_uid == geteuid()) return;
  const passwd* user = getpwuid(info.st_uid);
  const std::string name = user != nullptr && user->pw_name != nullptr
                               ? QuotedText(user->pw_name) + ", "
                               : std::string();
  throw ListError(Unchanged(shown + " belongs to another user (" + name + "uid " +
                            std::to_string(info.st_uid) + "): run velorium as that user"));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A file of settings as one attempt found it: the folder that holds it (opened), the file's
// name there, and the file opened and read (-1 and empty when there is none).
struct FoundFile {
  std::string shown;  // the path it was asked for, quoted
  std::string folderPath;
  Descriptor folder;
  std::string name;
  bool linked = false;  // found through a link
  Descriptor file;
  struct stat info {};
  std::string text;
};

// Finds the folder and name of the file `path` names, a link followed once, for a file the
// change writes or only reads. Throws ListError for a link that leads nowhere (it may hide a
// file of the user's own) or is another user's.
FoundFile Locate(const std::string& path, bool written) {
  FoundFile found;
  found.shown = QuotedText(path);
  std::string target = path;
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0) {
    if (errno != ENOENT)
      throw ListError(Unchanged("cannot check " + found.shown + ": " + std::strerror(errno)));
  } else if (S_ISLNK(link.st_mode)) {
    CheckOwner(link, found.shown, written);
    found.linked = true;
    std::error_code error;
    target = fs::canonical(path, error).string();
    if (error)
      throw ListError(Unchanged(found.shown +
                                " is a symbolic link that cannot be followed: " + error.message()));
  }
  found.folderPath = FolderOf(target);
  found.name = target == "/" ? "." : target.substr(target.rfind('/') + 1);
  found.folder = Descriptor(open(found.folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // A file only read may be missing with its folder.
  if (found.folder.Get() < 0 && !(errno == ENOENT && !written))
    throw ListError(
        Unchanged("cannot open the folder of " + found.shown + ": " + std::strerror(errno)));
  return found;
}

std::string ReadAll(int file, const std::string& shown) {
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(file, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ListError(Unchanged("cannot read " + shown + ": " + std::strerror(errno)));
    if (got == 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
    // It grew since it was looked at.
    if (text.size() > kMaxListBytes) {
      struct stat grown {};
      grown.st_mode = S_IFREG;
      grown.st_size = static_cast<off_t>(text.size());
      CheckListFile(grown, shown);
    }
  }
}

// Opens and reads the file `found` names in its folder, without following a link: looked at
// before it is opened (opening a device may do something), and opened so that a FIFO or a
// terminal cannot block or take it. Returns false when something else than what Locate found
// is there now (a link, or nothing where there was something): the attempt starts again.
bool ReadFound(FoundFile& found, bool written) {
  const int folder = found.folder.Get();
  const std::string& shown = found.shown;
  if (folder < 0) return true;
  // The new list will be made here, the folder owner's.
  struct stat holder {};
  if (fstat(folder, &holder) == 0) CheckOwner(holder, QuotedText(found.folderPath), written);
  struct stat seen {};
  if (fstatat(folder, found.name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT)
      throw ListError(Unchanged("cannot check " + shown + ": " + std::strerror(errno)));
    // Nothing is made where a link leads.
    return !found.linked;
  }
  if (S_ISLNK(seen.st_mode)) return false;
  CheckListFile(seen, shown);
  found.file = Descriptor(openat(folder, found.name.c_str(),
                                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (found.file.Get() < 0 && (errno == ENOENT || errno == ELOOP)) return false;
  if (found.file.Get() < 0 || fstat(found.file.Get(), &found.info) != 0)
    throw ListError(Unchanged("cannot read " + shown + ": " + std::strerror(errno)));
  if (!SameFile(found.info, seen)) return false;
  CheckListFile(found.info, shown);
  CheckOwner(found.info, shown, written);
  if (written && found.info.st_nlink > 1)
    throw ListError(Unchanged(shown + " has " + std::to_string(found.info.st_nlink) +
                              " names (hard links), and a new list would replace only this one: "
                              "keep one (a symbolic link may lead to it) and run this again"));
  found.text = ReadAll(found.file.Get(), shown);
  return true;
}

int Fail(std::FILE* errors, const std::string& message) {
  std::fprintf(errors, "velorium: %s\n", message.c_str());
  std::fflush(errors);
  return 1;
}

// One change as velorium is asked for it.
struct Request {
  const ListFiles& files;
  bool add;
  std::FILE* out;
  std::FILE* errors;
  const ListHooks& hooks;
};

// The list's text changed, or what the change found to say; nothing when the system's list
// changed under it.
std::optional<ListEdit> Edit(const Request& request, const FoundFile& list) {
  const std::string program = ListProgramFor(request.files.executable);
  if (BreaksAtCrLf(list.text))
    throw ListError(Unchanged(list.shown +
                              " has a backslash right before a CR LF line end in its list of "
                              "hacks, where XScreenSaver ends the list and cannot read the lines "
                              "after: give the list plain line ends (LF) and run this again"));
  if (!request.add) return RemoveFromList(list.text, program);
  if (const std::string_view problem = ListPathProblem(request.files.executable); !problem.empty())
    throw ListError(Unchanged(QuotedText(request.files.executable) +
                              " cannot be added to the list: its path holds " +
                              std::string(problem) +
                              "; install velorium in /usr/libexec/xscreensaver or in a folder "
                              "whose path has no blank, quote, backslash, '=' or control "
                              "character"));
  // The system's list is read only when it is needed.
  std::string defaults;
  if (!HasList(list.text)) {
    FoundFile system = Locate(request.files.defaults, false);
    if (!ReadFound(system, false)) return std::nullopt;
    defaults = std::move(system.text);
  }
  ListEdit edit = AddToList(list.text, defaults, program);
  if (edit.result == ListEdit::Result::NoDefaults)
    throw ListError("no list of hacks in " + QuotedText(request.files.defaults) + " to make " +
                    list.shown + " from: is XScreenSaver installed?");
  // Else no remove could read it to take Velorium out again.
  if (edit.text.size() > kMaxListBytes)
    throw ListError(Unchanged(list.shown +
                              " would hold more than 16 MiB with Velorium added, more than a "
                              "change reads"));
  return edit;
}

// Says what a change that is in place did to the list `shown` (a file before, if `hadList`),
// and returns its exit status.
int SayChanged(const Request& request, const std::string& shown, ListEdit::Result result,
               bool hadList) {
  const std::string entry = QuotedText(ListEntryFor(ListProgramFor(request.files.executable)));
  if (result == ListEdit::Result::Removed) {
    std::fprintf(request.out, "Took Velorium out of the list of hacks in %s.\n", shown.c_str());
  } else if (hadList) {
    std::fprintf(request.out, "Added %s to the end of the list of hacks in %s.\n", entry.c_str(),
                 shown.c_str());
  } else {
    std::fprintf(request.out, "Made %s with the list of hacks in %s and %s at its end.\n",
                 shown.c_str(), QuotedText(request.files.defaults).c_str(), entry.c_str());
  }
  return FlushedStatus(request.out, request.errors, 0);
}

// One attempt at the change: the exit status, or nothing when the list (or the system's)
// changed under it, with everything as it was.
std::optional<int> TryChange(const Request& request) {
  FoundFile list = Locate(request.files.settings, true);
  // Held until the new list is in place; the stop signals are not held while it is awaited.
  const FolderLock lock(list.folder.Get());
  if (lock.Busy())
    throw ListError(Unchanged(QuotedText(list.folderPath) +
                              " stayed locked by another process for 3 seconds (lslocks names "
                              "it): run this again once it is done"));
  if (lock.Held()) RemoveLeftNewFiles(list.folder.Get(), list.name);
  if (!ReadFound(list, true)) return std::nullopt;
  const std::optional<ListEdit> edit = Edit(request, list);
  if (!edit) return std::nullopt;
  const std::string& shown = list.shown;
  switch (edit->result) {
    case ListEdit::Result::AlreadyThere:
      std::fprintf(request.out,
                   "Velorium is in the list of hacks in %s already; nothing changed.\n",
                   shown.c_str());
      return FlushedStatus(request.out, request.errors, 0);
    case ListEdit::Result::NotThere:
      std::fprintf(request.out, "Velorium is not in the list of hacks in %s; nothing changed.\n",
                   shown.c_str());
      return FlushedStatus(request.out, request.errors, 0);
    case ListEdit::Result::NoDefaults:
    case ListEdit::Result::Added:
    case ListEdit::Result::Removed:
      break;
  }
  const struct stat* read = list.file.Get() >= 0 ? &list.info : nullptr;
  const NewFile::Read readFile{list.file.Get(), list.info, list.text};
  // Released once the new file is gone, or in place, and that is said.
  const HeldStopSignals held;
  NewFile newFile(list.folder.Get(), list.name, request.hooks);
  int failure = newFile.Write(edit->text, read);
  const NewFile::Placed placed = failure == 0
                                     ? newFile.PutInPlace(read != nullptr ? &readFile : nullptr)
                                     : NewFile::Placed::Failed;
  if (placed == NewFile::Placed::Changed) return std::nullopt;
  if (placed == NewFile::Placed::Failed) {
    failure = failure != 0 ? failure : newFile.Error();
    return Fail(request.errors,
                "cannot write " + shown + ": " + std::strerror(failure) + "; it is as it was");
  }
  if (placed == NewFile::Placed::Unsynced)
    return Fail(request.errors,
                shown + " holds the change, but a power cut may undo it: " +
                    "its folder cannot be synced: " + std::strerror(newFile.Error()));
  return SayChanged(request, shown, edit->result, read != nullptr);
}

}  // namespace

int ChangeList(const ListFiles& files, bool add, std::FILE* out, std::FILE* errors,
               const ListHooks& hooks) {
  const Request request{files, add, out, errors, hooks};
  try {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      if (const std::optional<int> status = TryChange(request)) return *status;
    }
    return Fail(errors, Unchanged(QuotedText(files.settings) + " changed while being edited"));
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
