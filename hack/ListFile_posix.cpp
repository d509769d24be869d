// The user's XScreenSaver settings file, found through HOME (or the password database), and
// the system's defaults it is made from when the user has none. A link is followed once; the
// file is then read and replaced through one descriptor of its folder, by a new file that takes
// the place of the very file read, which the stop signals cannot interrupt.
#include "hack/ListFile_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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
#include <random>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "hack/QuotedText.h"
#include "hack/StandardOutput.h"
#include "hack/XScreenSaverList.h"

// The C library may not have renameat2(); the system call is called by its number.
#ifndef RENAME_EXCHANGE
#include <linux/fs.h>
#endif

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

// A descriptor closed with its owner.
class Descriptor {
public:
  explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    std::swap(descriptor_, other.descriptor_);
    return *this;
  }
  int Get() const { return descriptor_; }

private:
  int descriptor_;
};

// An exclusive lock on a folder for the object's life, where the file system allows: the
// changes of one folder take it to make their new files and to put them in place, and only its
// holder removes what killed changes left.
class FolderLock {
public:
  explicit FolderLock(int folder) : folder_(folder), held_(flock(folder, LOCK_EX) == 0) {}
  ~FolderLock() {
    if (held_) flock(folder_, LOCK_UN);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool Held() const { return held_; }

private:
  const int folder_;
  const bool held_;
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

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens and reads the file `found` names in its folder, without following a link: looked at
// before it is opened (opening a device may do something), and opened so that a FIFO or a
// terminal cannot block or take it. Returns false when something else than what Locate found
// is there now (a link, or nothing where there was something): the attempt starts again.
bool ReadFound(FoundFile& found, bool written) {
  const int folder = found.folder.Get();
  const std::string& shown = found.shown;
  if (folder < 0) return true;
  struct stat seen {};
  if (fstatat(folder, found.name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT)
      throw ListError(Unchanged("cannot check " + shown + ": " + std::strerror(errno)));
    // Nothing is made where a link leads.
    if (found.linked) return false;
    // The new list will be made here, the folder owner's.
    struct stat holder {};
    if (fstat(folder, &holder) == 0) CheckOwner(holder, QuotedText(found.folderPath), written);
    return true;
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
  found.text = ReadAll(found.file.Get(), shown);
  return true;
}

// The new file's name is the old one's with this and six letters and digits: one that a killed
// change left is known for ours by it.
constexpr std::string_view kNewFileMark = ".velorium-new-";
constexpr std::string_view kUniqueLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
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
// no change is between making its new file and locking it, or has the old file out under its
// new file's name.
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
    if (fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(named, info))
      unlinkat(folder, entry->d_name, 0);
  }
  closedir(listing);
}

int RenameAt2(int folder, const std::string& from, const std::string& to, unsigned flags) {
  return static_cast<int>(syscall(SYS_renameat2, folder, from.c_str(), folder, to.c_str(), flags));
}

// Whether the name `name` in `folder` is the file `read` is, or nothing when it is null.
bool Holds(int folder, const std::string& name, const struct stat* read) {
  struct stat now {};
  if (fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) return read == nullptr;
  return read != nullptr && SameFile(now, *read);
}

// The new file of a change, beside the file it is to replace in the same folder; removed with
// the object unless it took that file's place.
class NewFile {
public:
  NewFile(const FoundFile& list, const ListHooks& hooks)
      : folder_(list.folder.Get()), listName_(list.name), hooks_(hooks) {}
  ~NewFile() {
    // Only while it is ours: a failed exchange may have left another file under its name.
    struct stat made {};
    if (file_.Get() >= 0 && fstat(file_.Get(), &made) == 0 && Holds(folder_, name_, &made))
      unlinkat(folder_, name_.c_str(), 0);
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Writes `text` to a new file with the mode and owner of `old` (null: none). Returns 0 or
  // what failed (an errno).
  int Write(const std::string& text, const struct stat* old) {
    if (const int error = Make(); error != 0) return error;
    const int file = file_.Get();
    // A file size limit then fails the write instead of ending the program.
    struct sigaction ignore {};
    struct sigaction before {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &before);
    int failure = 0;
    for (size_t done = 0; done < text.size() && failure == 0;) {
      const ssize_t written = write(file, text.data() + done, text.size() - done);
      if (written >= 0) {
        done += static_cast<size_t>(written);
      } else if (errno != EINTR) {
        failure = errno;
      }
    }
    sigaction(SIGXFSZ, &before, nullptr);
    const mode_t creationMask = umask(0);
    umask(creationMask);
    const mode_t mode = old != nullptr ? old->st_mode & 07777 : 0666 & ~creationMask;
    // An owner the user may not give leaves the file the user's: no reason to fail. The owner
    // goes first: a change of owner drops the setuid and setgid bits.
    if (failure == 0 && old != nullptr && fchown(file, old->st_uid, old->st_gid) != 0 &&
        errno != EPERM)
      failure = errno;
    if (failure == 0 && fchmod(file, mode) != 0) failure = errno;
    if (failure == 0 && hooks_.sync(file) != 0) failure = errno;
    return failure;
  }

  // Unsynced: in place, but not lasting.
  enum class Placed { Done, Changed, Failed, Unsynced };
  // Puts the new file in the place of the list's name if that still is the file `read` (null:
  // still nothing), and syncs the folder; else leaves everything as it was (Changed). What
  // failed is then Error().
  Placed PutInPlace(const struct stat* read) {
    Placed placed = Placed::Failed;
    {
      const FolderLock lock(folder_);
      placed = read != nullptr ? Exchange(*read) : Add();
    }
    if (placed == Placed::Done && hooks_.sync(folder_) != 0) {
      error_ = errno;
      return Placed::Unsynced;
    }
    return placed;
  }
  int Error() const { return error_; }

private:
  // Makes the file, locked for as long as it is open, once those of `listName_` that killed
  // changes left are gone. Returns 0 or what failed.
  int Make() {
    const FolderLock lock(folder_);
    if (lock.Held()) RemoveLeftNewFiles(folder_, listName_);
    std::random_device random;
    std::uniform_int_distribution<std::size_t> letter(0, kUniqueLetters.size() - 1);
    for (int tries = 0; tries < 100; ++tries) {
      name_ = listName_;
      name_.append(kNewFileMark);
      for (std::size_t k = 0; k < kUniqueLength; ++k) name_ += kUniqueLetters[letter(random)];
      file_ = Descriptor(
          openat(folder_, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
      if (file_.Get() >= 0) {
        // Renamed while it is open, and so locked: no other change takes it for a left one.
        flock(file_.Get(), LOCK_EX | LOCK_NB);
        return 0;
      }
      if (errno != EEXIST) return errno;
    }
    return EEXIST;
  }

  // The new file and the one at the list's name change places, and the one that came out is
  // checked: another than the one read goes back.
  Placed Exchange(const struct stat& read) {
    if (RenameAt2(folder_, name_, listName_, RENAME_EXCHANGE) == 0) {
      if (Holds(folder_, name_, &read)) {
        unlinkat(folder_, name_.c_str(), 0);
        return Placed::Done;
      }
      return RenameAt2(folder_, name_, listName_, RENAME_EXCHANGE) == 0 ? Placed::Changed
                                                                        : Failed();
    }
    if (errno == ENOENT) return Placed::Changed;
    return Unsupported() ? Rename(&read) : Failed();
  }

  // The new file takes a name that nothing holds.
  Placed Add() {
    if (RenameAt2(folder_, name_, listName_, RENAME_NOREPLACE) == 0) return Placed::Done;
    if (errno == EEXIST) return Placed::Changed;
    return Unsupported() ? Rename(nullptr) : Failed();
  }

  // A file system that cannot exchange two names (NFS, say) has the name checked right before
  // a plain rename. In between, another file put there would be replaced, never written to.
  Placed Rename(const struct stat* read) {
    if (!Holds(folder_, listName_, read)) return Placed::Changed;
    return renameat(folder_, name_.c_str(), folder_, listName_.c_str()) == 0 ? Placed::Done
                                                                             : Failed();
  }

  static bool Unsupported() { return errno == EINVAL || errno == ENOSYS; }
  Placed Failed() {
    error_ = errno;
    return Placed::Failed;
  }

  const int folder_;
  const std::string listName_;
  const ListHooks& hooks_;
  std::string name_;
  Descriptor file_;
  int error_ = 0;
};

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
  if (HasCrLfLineEnds(list.text))
    throw ListError(Unchanged(list.shown +
                              " ends its lines with CR LF, and XScreenSaver then reads only the "
                              "first line of its list of hacks: give it plain line ends (LF) and "
                              "run this again"));
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

// One attempt at the change: the exit status, or nothing when the list (or the system's)
// changed under it, with everything as it was.
std::optional<int> TryChange(const Request& request) {
  FoundFile list = Locate(request.files.settings, true);
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
  // Released once the new file is gone, or in place, and that is said.
  const HeldStopSignals held;
  NewFile newFile(list, request.hooks);
  int failure = newFile.Write(edit->text, read);
  if (failure == 0 && request.hooks.beforeRename) request.hooks.beforeRename();
  const NewFile::Placed placed = failure == 0 ? newFile.PutInPlace(read) : NewFile::Placed::Failed;
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
  const std::string entry =
      QuotedText("GL: " + ListProgramFor(request.files.executable) + " --root");
  if (edit->result == ListEdit::Result::Removed) {
    std::fprintf(request.out, "Took Velorium out of the list of hacks in %s.\n", shown.c_str());
  } else if (read != nullptr) {
    std::fprintf(request.out, "Added %s to the end of the list of hacks in %s.\n", entry.c_str(),
                 shown.c_str());
  } else {
    std::fprintf(request.out, "Made %s with the list of hacks in %s and %s at its end.\n",
                 shown.c_str(), QuotedText(request.files.defaults).c_str(), entry.c_str());
  }
  return FlushedStatus(request.out, request.errors, 0);
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
