// velorium --add-to-list and --remove-from-list on real files in a folder of their own. Each
// change runs in a child process, as in the program, under a memory limit and a time-out.
#include "hack/ListFile_posix.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "tests/unit/TempDir.h"

namespace {

namespace fs = std::filesystem;
constexpr bool kAdd = true, kRemove = false;
const std::string kList = "programs: \\\n  maze --root \\n\n";
const std::string kAdded =
    "programs: \\\n  maze --root \\n\\\n  GL:\t\t\t\t/opt/velorium --root\t\t\t    \\n\n";

std::string Text(const std::string& path) {
  const Bytes bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

struct Outcome {
  int status = -1;  // the exit status, or 128 + the signal that ended the change
  std::string output, errors;
};

class ListFile : public testing::Test {
protected:
  ListFile() { fs::create_directory(home); }

  // Runs `before`, then the change, in a child with 256 MB of memory more than it has and
  // 20 seconds: a read without end or a wait for ever ends it.
  pid_t Start(bool add, const std::function<void()>& before = {},
              const std::function<void()>& beforeRename = {}) {
    const pid_t child = fork();
    if (child != 0) return child;
    alarm(20);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t bytes = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE)) + (256 << 20);
    const rlimit memory{bytes, bytes};
    setrlimit(RLIMIT_AS, &memory);
    const std::string me = std::to_string(getpid());
    std::FILE* out = std::fopen(dir.File("out" + me).c_str(), "w");
    std::FILE* errors = std::fopen(dir.File("errors" + me).c_str(), "w");
    if (before) before();
    // What the change throws ends the child as it would end the program.
    const int status = [&]() noexcept {
      return ChangeList(files, add, out, errors, beforeRename);
    }();
    std::fclose(out);
    std::fclose(errors);
    _exit(status);
  }
  Outcome Finish(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    const std::string id = std::to_string(child);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
            Text(dir.File("out" + id)), Text(dir.File("errors" + id))};
  }
  Outcome Change(bool add, const std::function<void()>& before = {},
                 const std::function<void()>& beforeRename = {}) {
    return Finish(Start(add, before, beforeRename));
  }
  // Each change refused with `error` and the home folder as it was.
  void ExpectRefused(const std::vector<bool>& changes, const std::string& error,
                     const std::function<void()>& before = {}) {
    const std::string was = Listing();
    for (bool add : changes) {
      const Outcome run = Change(add, before);
      EXPECT_EQ(run.status, 1) << error;
      EXPECT_EQ(run.errors, "velorium: " + error + "\n");
      EXPECT_EQ(run.output, "");
      EXPECT_EQ(Listing(), was);
    }
  }
  // The names, kinds and sizes of what the home folder holds.
  std::string Listing() const {
    std::string listing;
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(home, fs::directory_options::skip_permission_denied)) {
      const fs::file_status status = entry.symlink_status();
      listing += entry.path().filename().string() + " " +
                 std::to_string(static_cast<int>(status.type())) + " " +
                 std::to_string(fs::is_regular_file(status) ? entry.file_size() : 0) + "\n";
    }
    return listing;
  }

  TempDir dir;
  const std::string home = dir.File("home"), list = home + "/.xscreensaver";
  ListFiles files{list, dir.File("defaults"), "/opt/velorium"};
};

TEST_F(ListFile, AFolderAFifoOrAFileOfMoreThan16MBIsRefusedByNameAndLeftAsItWas) {
  const std::string shown = "'" + list + "'";
  fs::create_directory(list);
  ExpectRefused({kAdd, kRemove}, shown + " is a folder, not a file of settings; nothing changed");
  fs::remove(list);
  ASSERT_EQ(mkfifo(dir.File("home/fifo").c_str(), 0600), 0);
  fs::create_symlink("fifo", list);
  ExpectRefused({kAdd, kRemove}, shown + " is a FIFO, not a file of settings; nothing changed");
  fs::remove(list);
  WriteBytes(list, Bytes(kList.begin(), kList.end()));
  fs::resize_file(list, (16 << 20) + 1);
  ExpectRefused({kAdd, kRemove},
                shown + " holds more than 16 MB: not a file of settings; nothing changed");
  fs::remove(list);
  fs::create_directory(files.defaults);
  ExpectRefused({kAdd},
                "'" + files.defaults + "' is a folder, not a file of settings; nothing changed");
}

TEST_F(ListFile, ALinkThatCannotBeFollowedIsRefusedAndStaysALink) {
  const std::string error = "'" + list + "' is a symbolic link that cannot be followed: ";
  fs::create_symlink("missing", list);
  ExpectRefused({kAdd, kRemove}, error + "No such file or directory; nothing changed");
  fs::remove(list);
  fs::create_symlink(".xscreensaver", list);
  ExpectRefused({kAdd, kRemove}, error + "Too many levels of symbolic links; nothing changed");
  fs::remove(list);
  // Into a folder the user may not search, as an unreachable network home gives. Root may
  // search any folder: run as root, the change runs as nobody.
  const fs::path locked = dir.File("home/locked");
  fs::create_directory(locked);
  WriteBytes(locked / "list", Bytes(kList.begin(), kList.end()));
  fs::permissions(locked, fs::perms::none);
  fs::create_symlink("locked/list", list);
  ExpectRefused({kAdd, kRemove}, error + "Permission denied; nothing changed", [] {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(125);
  });
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_EQ(Text(locked / "list"), kList);
}

TEST_F(ListFile, TheListKeepsItsModeWithTheSetuidAndSetgidBits) {
  WriteBytes(list, Bytes(kList.begin(), kList.end()));
  fs::permissions(list, fs::perms{06751});
  EXPECT_EQ(Change(kAdd).status, 0);
  EXPECT_EQ(fs::status(list).permissions(), fs::perms{06751});
}

TEST_F(ListFile, AProgramPathTheDaemonWouldReadOtherwiseIsRefusedWithWhereToInstall) {
  WriteBytes(list, Bytes(kList.begin(), kList.end()));
  const std::string where =
      "; install velorium in /usr/libexec/xscreensaver or in a folder whose path has no blank, "
      "quote, backslash, '=' or control character; nothing changed";
  for (const auto& [path, error] : std::vector<std::pair<std::string, std::string>>{
           {"/x/my bin/velorium",
            "'/x/my bin/velorium' to the list: its path holds a blank, "
            "where the daemon and the settings program end the command"},
           {"/x/\"v\"/velorium",
            "'/x/\"v\"/velorium' to the list: its path holds a quote, which "
            "the daemon reads as its own"},
           {"/x\\velorium",
            "'/x\\\\velorium' to the list: its path holds a backslash, which the "
            "daemon's reader takes away"},
           {"/x/a=b/velorium",
            "'/x/a=b/velorium' to the list: its path holds an '=', which "
            "makes the daemon run the command through a shell"},
           {"/x/\x1b[31m\n/velorium",
            "'/x/\\x1b[31m\\n/velorium' to the list: its path holds "
            "a control character, which breaks the list's lines"}}) {
    files.executable = path;
    ExpectRefused({kAdd}, "cannot add " + error + where);
  }
}

TEST_F(ListFile, AStopSignalDuringTheWriteTakesEffectOnceTheNewListIsInPlaceAndSaid) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    WriteBytes(list, Bytes(kList.begin(), kList.end()));
    const Outcome run = Change(kAdd, {}, [signal] { raise(signal); });
    EXPECT_EQ(run.status, 128 + signal);
    EXPECT_EQ(run.output, "Added 'GL: /opt/velorium --root' to the end of the list of hacks in '" +
                              list + "'.\n");
    EXPECT_EQ(Text(list), kAdded);
    EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 1) << Listing();
  }
}

// A change killed as it writes leaves its new file: the next change removes it, but not the new
// file of a change under way, nor the user's copies.
TEST_F(ListFile, ANewFileLeftByAKilledChangeIsRemovedByTheNextAndNothingElse) {
  for (const char* name : {".xscreensaver", ".xscreensaver.bak", ".xscreensaver.a1B2c3"})
    WriteBytes(home + "/" + name, Bytes(kList.begin(), kList.end()));
  EXPECT_EQ(Change(kAdd, {}, [] { raise(SIGKILL); }).status, 128 + SIGKILL);
  EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 4) << Listing();
  int ready[2], go[2];
  ASSERT_EQ(pipe(ready) | pipe(go), 0);
  char byte = 0;
  const pid_t held = Start(kAdd, {}, [&] {
    if (write(ready[1], &byte, 1) != 1 || read(go[0], &byte, 1) != 1) _exit(125);
  });
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 4) << Listing();
  EXPECT_EQ(Change(kAdd).status, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 4) << Listing();
  ASSERT_EQ(write(go[1], &byte, 1), 1);
  EXPECT_EQ(Finish(held).status, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 3) << Listing();
  EXPECT_EQ(Text(list), kAdded);
}

// Made in the test's own folder: a device like /dev/zero, which reads without end, and a link
// to one like /dev/null.
TEST_F(ListFile, ADeviceOrALinkToOneIsRefusedAndLeftAsItWas) {
  if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
  const std::string error =
      "'" + list + "' is a character device, not a file of settings; nothing changed";
  ASSERT_EQ(mknod(list.c_str(), S_IFCHR | 0600, makedev(1, 5)), 0);
  ExpectRefused({kAdd, kRemove}, error);
  fs::remove(list);
  ASSERT_EQ(mknod(dir.File("home/null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  fs::create_symlink("null", list);
  ExpectRefused({kAdd, kRemove}, error);
}

}  // namespace
