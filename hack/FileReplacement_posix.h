// A file replaced whole by a new file written beside it in the same folder, which takes its
// place in one step, and stays there only when the file it took the place of still holds the
// text the new one was made from. The folder's lock, and what holds the stop signals back
// while the new file exists.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>

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

// Whether two looks were at the same file.
bool SameFile(const struct stat& a, const struct stat& b);

// The lock (flock) that keeps the changes of one folder's files apart, each for a whole attempt
// from before it reads to after its new file is in place. Any process that can open the folder
// can hold it, so it is tried without blocking, every 20 ms for at most three seconds, and the
// stop signals can end the wait.
class FolderLock {
public:
  explicit FolderLock(int folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  // Whether another process held it for all those seconds.
  bool Busy() const { return busy_; }
  // Whether this object holds it: not when busy, nor where the file system has no flock.
  bool Held() const { return held_; }

private:
  const int folder_;
  bool held_ = false;
  bool busy_ = false;
};

// Removes the new files of `name` in `folder` that killed changes left: each of this user, a
// regular file, and still marked as a new file of velorium's, not a file that came out of an
// exchange. The caller holds the folder's lock, so that no change is under way.
void RemoveLeftNewFiles(int folder, std::string_view name);

// SIGTERM, SIGINT and SIGHUP held back for the object's life: once the new file is made, they
// take effect only when it has taken the old one's place (or is gone) and that is said.
class HeldStopSignals {
public:
  HeldStopSignals();
  ~HeldStopSignals();
  HeldStopSignals(const HeldStopSignals&) = delete;
  HeldStopSignals& operator=(const HeldStopSignals&) = delete;

private:
  sigset_t before_;
};

// Where a test steps into a replacement.
struct ReplacementHooks {
  // Runs in every attempt once the new text is written and synced, before it takes the old
  // file's place.
  std::function<void()> beforeRename;
  // Runs once the new file and the old have changed places, before the file that came out is
  // checked.
  std::function<void()> afterExchange = nullptr;
  // Makes what was written to a file, or to a folder's list of names, lasting: fsync.
  std::function<int(int descriptor)> sync = fsync;
};

// The new file of a change, beside the file it is to replace in the same folder; removed with
// the object unless it took that file's place. Its name is the old one's with
// ".velorium-new-" and six letters and digits.
class NewFile {
public:
  // `folder` and `hooks` stay for the object's life.
  NewFile(int folder, std::string name, const ReplacementHooks& hooks);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Writes `text` to a new file with the mode and owner of `old` (null: none). Returns 0 or
  // what failed (an errno).
  int Write(const std::string& text, const struct stat* old);

  // The file the new text was made from: open, as it was looked at, and the text read.
  struct Read {
    int descriptor;
    struct stat info;
    std::string_view text;
  };
  // Unsynced: in place, but not lasting.
  enum class Placed { Done, Changed, Failed, Unsynced };
  // Puts the new file in the place of the name, and syncs the folder, if the file that comes
  // out is `read` and holds its text still (null: if there is nothing). Else the newest file
  // another program put there is back in place (Changed). What failed is then Error().
  Placed PutInPlace(const Read* read);
  int Error() const { return error_; }

private:
  int Make();
  Placed Exchange(const Read& read);
  bool CameOut(const Read& read, struct stat& out) const;
  Placed ExchangeBack(struct stat out);
  Placed Add();
  Placed Rename(const Read* read);
  Placed Synced(Placed placed);
  Placed Failed();

  const int folder_;
  const std::string listName_;
  const ReplacementHooks& hooks_;
  std::string name_;
  Descriptor file_;
  struct stat made_ {};
  int error_ = 0;
};
