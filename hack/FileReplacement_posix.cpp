// The new file that replaces a file whole: made beside it, written and synced, then put in its
// place by exchanging the two names (renameat2), and the file that came out checked to be the
// one that was read, with the text read; else put back. A folder lock, tried without blocking,
// keeps two changes of one folder apart.
#include "hack/FileReplacement_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/xattr.h>

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

// The folder lock is tried this often, this far apart: three seconds.
constexpr int kLockTries = 150;
constexpr useconds_t kLockIntervalUs = 20'000;

// The new file's name is the old one's with this and six letters and digits: one that a killed
// change left is known for ours by it.
constexpr std::string_view kNewFileMark = ".velorium-new-";
constexpr std::string_view kUniqueLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kUniqueLength = 6;
// Marks a new file from its making until it is put in place: a left one of that name and
// mark is velorium's, while a file of that name without it may be another program's that an
// exchange brought there.
constexpr char kMadeMark[] = "user.velorium.new";
// How often a change exchanges the names again for another program that keeps putting its
// newer files in place meanwhile.
constexpr int kExchangesBack = 10;

bool IsNewFileOf(std::string_view entry, std::string_view name) {
  if (entry.size() != name.size() + kNewFileMark.size() + kUniqueLength ||
      !entry.starts_with(name) || entry.substr(name.size(), kNewFileMark.size()) != kNewFileMark)
    return false;
  const std::string_view unique = entry.substr(entry.size() - kUniqueLength);
  return std::all_of(unique.begin(), unique.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
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

// Whether the file read holds the text read, read again: its times may be too coarse to show
// a change, and its size the same.
bool HoldsText(const NewFile::Read& read) {
  std::string now(read.text.size() + 1, '\0');
  std::size_t got = 0;
  while (got < now.size()) {
    const ssize_t part =
        pread(read.descriptor, now.data() + got, now.size() - got, static_cast<off_t>(got));
    if (part < 0 && errno == EINTR) continue;
    if (part <= 0) break;
    got += static_cast<std::size_t>(part);
  }
  return got == read.text.size() && now.compare(0, got, read.text) == 0;
}

}  // namespace

FolderLock::FolderLock(int folder) : folder_(folder) {
  for (int tries = 0; tries < kLockTries; ++tries) {
    if (flock(folder, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) return;
    usleep(kLockIntervalUs);
  }
  busy_ = true;
}

FolderLock::~FolderLock() {
  if (held_) flock(folder_, LOCK_UN);
}

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
        info.st_uid != geteuid() || fgetxattr(file.Get(), kMadeMark, nullptr, 0) < 0)
      continue;
    if (fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(named, info))
      unlinkat(folder, entry->d_name, 0);
  }
  closedir(listing);
}

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

NewFile::NewFile(int folder, std::string name, const ReplacementHooks& hooks)
    : folder_(folder), listName_(std::move(name)), hooks_(hooks) {}

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
  if (failure == 0 && hooks_.sync(file) != 0) failure = errno;
  return failure;
}

NewFile::Placed NewFile::PutInPlace(const Read* read) {
  if (hooks_.beforeRename) hooks_.beforeRename();
  // From here on the file may be the list.
  fremovexattr(file_.Get(), kMadeMark);
  if (read == nullptr) return Synced(Add());
  // Most changes of another program show here already, before any reader could see the new
  // list and it could be set aside.
  if (!Holds(folder_, listName_, &read->info) || !HoldsText(*read)) return Placed::Changed;
  return Exchange(*read);
}

// Makes the file, marked as a new file of velorium's where the file system keeps extended
// attributes. Returns 0 or what failed.
int NewFile::Make() {
  std::random_device random;
  std::uniform_int_distribution<std::size_t> letter(0, kUniqueLetters.size() - 1);
  for (int tries = 0; tries < 100; ++tries) {
    name_ = listName_;
    name_.append(kNewFileMark);
    for (std::size_t k = 0; k < kUniqueLength; ++k) name_ += kUniqueLetters[letter(random)];
    file_ = Descriptor(
        openat(folder_, name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file_.Get() >= 0) {
      fsetxattr(file_.Get(), kMadeMark, "", 0, 0);
      return fstat(file_.Get(), &made_) == 0 ? 0 : errno;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

// The new file and the one at the list's name change places, and the one that came out is
// checked: another file than the one read, or one whose text changed, goes back. A write
// into it after the check, by a program that opened it before, is not seen.
NewFile::Placed NewFile::Exchange(const Read& read) {
  if (RenameAt2(folder_, name_, listName_, RENAME_EXCHANGE) != 0) {
    if (errno == ENOENT) return Placed::Changed;
    return Unsupported() ? Synced(Rename(&read)) : Failed();
  }
  if (hooks_.afterExchange) hooks_.afterExchange();
  struct stat out {};
  if (!CameOut(read, out)) return ExchangeBack(out);
  const Placed placed = Synced(Placed::Done);
  // Checked again once the folder is synced: a program that opened the file before the
  // exchange writes into it within moments if at all, and most such writes show by then.
  if (!CameOut(read, out)) return ExchangeBack(out);
  if (Holds(folder_, name_, &read.info)) unlinkat(folder_, name_.c_str(), 0);
  return placed;
}

// Whether the file now under the new file's name, `out`, is the file read with its text.
bool NewFile::CameOut(const Read& read, struct stat& out) const {
  return fstatat(folder_, name_.c_str(), &out, AT_SYMLINK_NOFOLLOW) == 0 &&
         SameFile(out, read.info) && HoldsText(read);
}

// Puts `out`, the file that came out, back in the list's place. When another program put its
// newer file there meanwhile, the exchange brings that one out instead: the names change
// again until the file that comes out is the one put there last. A file velorium put there
// that comes back out is deleted if it is the new file, or if another program's rename took
// the new file's place (which that rename would have taken from it); else it stays, another
// program's, under the new file's name.
NewFile::Placed NewFile::ExchangeBack(struct stat out) {
  struct stat put = made_;
  for (int round = 0; round < kExchangesBack; ++round) {
    if (RenameAt2(folder_, name_, listName_, RENAME_EXCHANGE) != 0) return Failed();
    struct stat came {};
    if (fstatat(folder_, name_.c_str(), &came, AT_SYMLINK_NOFOLLOW) != 0) return Placed::Changed;
    if (SameFile(came, put)) {
      struct stat made {};
      const bool replaced = fstat(file_.Get(), &made) == 0 && made.st_nlink == 0;
      if (SameFile(came, made_) || replaced) unlinkat(folder_, name_.c_str(), 0);
      return Placed::Changed;
    }
    put = std::exchange(out, came);
  }
  return Placed::Changed;
}

// The new file takes a name that nothing holds.
NewFile::Placed NewFile::Add() {
  if (RenameAt2(folder_, name_, listName_, RENAME_NOREPLACE) == 0) return Placed::Done;
  if (errno == EEXIST) return Placed::Changed;
  return Unsupported() ? Rename(nullptr) : Failed();
}

// A file system that cannot exchange two names (NFS, say) has the name checked right before a
// plain rename, as PutInPlace checked the text. In between, another file put there would be
// replaced, never written to, but a write into the old file would be lost.
NewFile::Placed NewFile::Rename(const Read* read) {
  if (!Holds(folder_, listName_, read != nullptr ? &read->info : nullptr)) return Placed::Changed;
  return renameat(folder_, name_.c_str(), folder_, listName_.c_str()) == 0 ? Placed::Done
                                                                           : Failed();
}

// The folder synced once the new file is in place (Done), so that the change lasts.
NewFile::Placed NewFile::Synced(Placed placed) {
  if (placed == Placed::Done && hooks_.sync(folder_) != 0) {
    error_ = errno;
    return Placed::Unsynced;
  }
  return placed;
}

NewFile::Placed NewFile::Failed() {
  error_ = errno;
  return Placed::Failed;
}
