// A file replaced whole by a new file written beside it in the same folder, which takes its
// place in one step, and only while that place still holds the file the new text was made
// from. What holds the stop signals back while the new file exists.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
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

// The new file of a change, beside the file it is to replace in the same folder; removed with
// the object unless it took that file's place. Its name is the old one's with
// ".velorium-new-" and six letters and digits.
class NewFile {
public:
  // `folder` stays open for the object's life; `sync` makes what was written to a file, or to
  // a folder's list of names, lasting (fsync).
  NewFile(int folder, std::string name, std::function<int(int descriptor)> sync);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Writes `text` to a new file with the mode and owner of `old` (null: none). Returns 0 or
  // what failed (an errno).
  int Write(const std::string& text, const struct stat* old);

  // Unsynced: in place, but not lasting.
  enum class Placed { Done, Changed, Failed, Unsynced };
  // Puts the new file in the place of the name if that still is the file `read` (null:
  // still nothing), and syncs the folder; else leaves everything as it was (Changed). What
  // failed is then Error().
  Placed PutInPlace(const struct stat* read);
  int Error() const { return error_; }

private:
  int Make();
  Placed Exchange(const struct stat& read);
  Placed Add();
  Placed Rename(const struct stat* read);
  Placed Failed();

  const int folder_;
  const std::string listName_;
  const std::function<int(int)> sync_;
  std::string name_;
  Descriptor file_;
  int error_ = 0;
};
