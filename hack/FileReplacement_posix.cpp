// The new file that replaces a file whole: made beside it, written and synced, then put in its
// place by exchanging the two names (renameat2), and the file that came out checked to be the
// one that was read. A folder lock keeps two changes of one folder apart.
#include "hack/FileReplacement_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/syscall.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <random>
#include <string_view>

// The C library may not have renameat2(); the system call is called by its number.
#ifndef RENAME_EXCHANGE
#include <linux/fs.h>
#endif

namespace {

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

// The new file's name is the old one's with this and six letters and digits: one that a killed
// change left is known for ours by it.
constexpr std::string_view kNewFileMark = ".velorium-new-";
constexpr std::string_view kUniqueLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kUniqueLength = 6;

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

bool Unsupported() {
  return errno == EINVAL || errno == ENOSYS;
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

}  // namespace

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

HeldStopSignals::HeldStopSignals() {
  sigset_t stop;
  sigemptyset(&stop);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stop, signal);
  sigprocmask(SIG_BLOCK, &stop, &before_);
}

HeldStopSignals::~HeldStopSignals() {
  sigprocmask(SIG_SETMASK, &before_, nullptr);
}

NewFile::NewFile(int folder, std::string name, std::function<int(int)> sync)
    : folder_(folder), listName_(std::move(name)), sync_(std::move(sync)) {}

NewFile::~NewFile() {
  // Only while it is ours: a failed exchange may have left another file under its name.
  struct stat made {};
  if (file_.Get() >= 0 && fstat(file_.Get(), &made) == 0 && Holds(folder_, name_, &made))
    unlinkat(folder_, name_.c_str(), 0);
}

int NewFile::Write(const std::string& text, const struct stat* old) {
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
  if (failure == 0 && sync_(file) != 0) failure = errno;
  return failure;
}

NewFile::Placed NewFile::PutInPlace(const struct stat* read) {
  Placed placed = Placed::Failed;
  {
    const FolderLock lock(folder_);
    placed = read != nullptr ? Exchange(*read) : Add();
  }
  if (placed == Placed::Done && sync_(folder_) != 0) {
    error_ = errno;
    return Placed::Unsynced;
  }
  return placed;
}

// Makes the file, locked for as long as it is open, once those of `listName_` that killed
// changes left are gone. Returns 0 or what failed.
int NewFile::Make() {
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
NewFile::Placed NewFile::Exchange(const struct stat& read) {
  if (RenameAt2(folder_, name_, listName_, RENAME_EXCHANGE) == 0) {
    if (Holds(folder_, name_, &read)) {
      unlinkat(folder_, name_.c_str(), 0);
      return Placed::Done;
    }
    return RenameAt2(folder_, name_, listName_, RENAME_EXCHANGE) == 0 ? Placed::Changed : Failed();
  }
  if (errno == ENOENT) return Placed::Changed;
  return Unsupported() ? Rename(&read) : Failed();
}

// The new file takes a name that nothing holds.
NewFile::Placed NewFile::Add() {
  if (RenameAt2(folder_, name_, listName_, RENAME_NOREPLACE) == 0) return Placed::Done;
  if (errno == EEXIST) return Placed::Changed;
  return Unsupported() ? Rename(nullptr) : Failed();
}

// A file system that cannot exchange two names (NFS, say) has the name checked right before
// a plain rename. In between, another file put there would be replaced, never written to.
NewFile::Placed NewFile::Rename(const struct stat* read) {
  if (!Holds(folder_, listName_, read)) return Placed::Changed;
  return renameat(folder_, name_.c_str(), folder_, listName_.c_str()) == 0 ? Placed::Done
                                                                           : Failed();
}

NewFile::Placed NewFile::Failed() {
  error_ = errno;
  return Placed::Failed;
}
