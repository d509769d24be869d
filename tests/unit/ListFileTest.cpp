// velorium --add-to-list and --remove-from-list on real files in a folder of their own, each
// change in a child process, as in the program, under a memory limit and a time-out.
#include "hack/ListFile_posix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <sstream>
#include <tuple>

#include "tests/kit/TempDir.h"

namespace {

namespace fs = std::filesystem;
constexpr bool kAdd = true, kRemove = false;
const std::string kList = "programs: \\\n  maze --root \\n\n";
const std::string kAdded =
    "programs: \\\n  maze --root \\n\\\n  GL:\t\t\t\t/opt/velorium --root\t\t\t    \\n\n";

struct Outcome {
  int status = -1;  // the exit status, or 128 + the signal that ended the change
  std::string output, errors;
};

class ListFile : public testing::Test {
protected:
  ListFile() { fs::create_directory(home); }
  // Starts the change in a child with 256 MB more memory than it has and 20 seconds, for a
  // read without end or a wait for ever; `before` runs first there. A change that leaves
  // SIGXFSZ's handling changed ends with 126.
  pid_t Start(bool add, const std::function<void()>& before = {}, const ListHooks& hooks = {}) {
    const pid_t child = fork();
    if (child != 0) return child;
    alarm(20);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t bytes = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE)) + (256 << 20);
    const rlimit memory{bytes, bytes};
    setrlimit(RLIMIT_AS, &memory);
    const std::string name = dir.File(std::to_string(getpid()));
    std::FILE* out = std::fopen((name + ".out").c_str(), "w");
    std::FILE* errors = std::fopen((name + ".errors").c_str(), "w");
    if (before) before();
    std::signal(SIGXFSZ, SIG_DFL);
    // What the change throws ends the child as it would end the program.
    _exit([&]() noexcept {
      const int status = ChangeList(files, add, out, errors, hooks);
      return std::signal(SIGXFSZ, SIG_DFL) == SIG_DFL ? status : 126;
    }());
  }
  Outcome Finish(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    const std::string name = dir.File(std::to_string(child));
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), Text(name + ".out"),
            Text(name + ".errors")};
  }
  // Each change refused with "'<refused>' <why>; nothing changed" and the home folder as it was
  // (what is at the list's place, where it leads, how many files); then that place emptied.
  void ExpectRefused(const std::vector<bool>& changes, const std::string& why,
                     const std::function<void()>& before = {}) {
    const std::string error = "velorium: '" + refused + "' " + why + "; nothing changed\n";
    std::error_code unreachable;
    const auto kinds = [&] {
      return std::tuple(fs::symlink_status(list).type(), fs::status(list, unreachable).type(),
                        Files());
    };
    const auto was = kinds();
    for (bool add : changes) {
      const Outcome run = Finish(Start(add, before));
      EXPECT_EQ(std::tie(run.status, run.errors, run.output), std::tuple(1, error, ""));
      EXPECT_TRUE(kinds() == was) << why;
    }
    fs::remove(list);
  }
  long Files() const { return std::distance(fs::directory_iterator(home), {}); }
  static std::string Text(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  }
  static void WriteList(const std::string& path, const std::string& text = kList) {
    WriteBytes(path, Bytes(text.begin(), text.end()));
  }

  TempDir dir;
  const std::string home = dir.File("home"), list = home + "/.xscreensaver";
  ListFiles files{list, dir.File("defaults"), "/opt/velorium"};
  std::string refused = list;  // the file the messages name
};

TEST_F(ListFile, AFolderAFifoOrAFileOfMoreThan16MiBIsRefusedByNameAndLeftAsItWas) {
  fs::create_directory(list);
  ExpectRefused({kAdd, kRemove}, "is a folder, not a file of settings");
  ASSERT_EQ(mkfifo(dir.File("home/fifo").c_str(), 0600), 0);
  fs::create_symlink("fifo", list);
  ExpectRefused({kAdd, kRemove}, "is a FIFO, not a file of settings");
  WriteList(list);
  fs::resize_file(list, (16 << 20) + 1);
  ExpectRefused({kAdd, kRemove}, "holds more than 16 MiB: not a file of settings");
  fs::create_directory(files.defaults);
  refused = files.defaults;
  ExpectRefused({kAdd}, "is a folder, not a file of settings");
}

// Made in the test's own folder: a device like /dev/zero, which reads without end, and a link
// to one like /dev/null.
TEST_F(ListFile, ADeviceOrALinkToOneIsRefusedAndLeftAsItWas) {
  if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
  ASSERT_EQ(mknod(list.c_str(), S_IFCHR | 0600, makedev(1, 5)), 0);
  ExpectRefused({kAdd, kRemove}, "is a character device, not a file of settings");
  ASSERT_EQ(mknod(dir.File("home/null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  fs::create_symlink("null", list);
  ExpectRefused({kAdd, kRemove}, "is a character device, not a file of settings");
}

TEST_F(ListFile, ALinkThatCannotBeFollowedIsRefusedAndStaysALink) {
  const std::string unfollowed = "is a symbolic link that cannot be followed: ";
  fs::create_symlink("missing", list);
  ExpectRefused({kAdd, kRemove}, unfollowed + "No such file or directory");
  fs::create_symlink(".xscreensaver", list);
  ExpectRefused({kAdd, kRemove}, unfollowed + "Too many levels of symbolic links");
  // Into a folder the user may not search, as an unreachable network home gives. Root may
  // search any folder: run as root, the change runs as nobody, whose link it is.
  fs::create_directory(dir.File("home/locked"));
  fs::permissions(dir.File("home/locked"), fs::perms::none);
  fs::create_symlink("locked/list", list);
  ExpectRefused({kAdd, kRemove}, unfollowed + "Permission denied", [&] {
    if (geteuid() == 0 &&
        (lchown(list.c_str(), 65534, 65534) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
      _exit(125);
  });
  fs::permissions(dir.File("home/locked"), fs::perms::owner_all);
}

// Root with a user's HOME (sudo without -H) would leave the user a list of root's, or write
// where the user's link leads.
TEST_F(ListFile, AListOrLinkOrHomeOfAnotherUserIsRefusedWithWhoMustRunTheChange) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  const std::string why =
      "belongs to another user ('nobody', uid 65534): run velorium as that user";
  const std::string kept = dir.File("kept");
  for (const std::string* nobodys : {&list, &kept}) {
    WriteList(kept);
    fs::create_symlink(kept, list);
    lchown(nobodys->c_str(), 65534, 65534);
    ExpectRefused({kAdd, kRemove}, why);
  }
  fs::rename(kept, list);
  ExpectRefused({kAdd, kRemove}, why);
  // The new list is made in the folder, with a list of root's there or without one.
  lchown(home.c_str(), 65534, 65534);
  refused = home;
  WriteList(list);
  ExpectRefused({kAdd, kRemove}, why);
  ExpectRefused({kAdd, kRemove}, why);
}

// A new list takes the place of one name: the file's other names would keep the old list.
TEST_F(ListFile, AListWithASecondNameIsRefusedAndLeftAsItWas) {
  WriteList(dir.File("dotfiles"));
  fs::create_hard_link(dir.File("dotfiles"), list);
  ExpectRefused({kAdd, kRemove},
                "has 2 names (hard links), and a new list would replace only this one: keep one "
                "(a symbolic link may lead to it) and run this again");
}

// Any process that can open the folder can lock it, another user's or a stopped velorium: a
// change waits a few seconds for it (a stop signal ends the wait: HackCommandTest's ListLock).
TEST_F(ListFile, AFolderLockedByAnotherProcessEndsTheChangeInSecondsWithWhatToDo) {
  WriteList(list);
  const int folder = open(home.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(flock(folder, LOCK_EX), 0);
  refused = home;
  ExpectRefused({kAdd},
                "stayed locked by another process for 3 seconds (lslocks names it): run "
                "this again once it is done");
  close(folder);
}

// A remove reads at most 16 MiB: an add beyond would leave a list no remove takes it out of.
TEST_F(ListFile, AnAddPast16MiBIsRefusedAndAnyOtherIsUndoneByARemoveByteForByte) {
  const std::string fits = std::string((16 << 20) - kAdded.size() - 1, '#') + "\n" + kList;
  WriteList(list, fits);
  EXPECT_EQ(Finish(Start(kAdd)).status, 0);
  EXPECT_EQ(fs::file_size(list), 16u << 20);
  EXPECT_EQ(Finish(Start(kRemove)).status, 0);
  EXPECT_TRUE(Text(list) == fits);
  WriteList(list, "#" + fits);
  ExpectRefused({kAdd},
                "would hold more than 16 MiB with Velorium added, more than a change reads");
}

TEST_F(ListFile, AListTheDaemonCutsAtACrLfIsRefusedWithHowToMendIt) {
  WriteList(list, "programs: \\\r\n  velorium --root \\n\r\n");
  ExpectRefused({kAdd, kRemove},
                "has a backslash right before a CR LF line end in its list of hacks, where "
                "XScreenSaver ends the list and cannot read the lines after: give the list plain "
                "line ends (LF) and run this again");
}

// Another program's change before the exchange is checked: a write, the same size, into the
// list it opened before the exchange, alone or with a rename of its next list right after.
// The edit starts again from the newest text, a few times at most, and leaves no file behind.
TEST_F(ListFile, AListChangedDuringTheEditIsEditedAgainFromItsNewestTextAFewTimesAtMost) {
  const std::string pong = "programs: \\\n  pong --root \\n\n";
  const std::string gears = "programs: \\\n  gears --root \\n\n";
  const auto added = [](const std::string& text) {
    return text.substr(0, text.size() - 1) + "\\\n  GL:\t\t\t\t/opt/velorium --root\t\t\t    \\n\n";
  };
  const auto replace = [&](const std::string& text) {
    WriteList(list + "~", text);
    fs::rename(list + "~", list);
  };
  // In the first attempt only.
  int attempt = 0, opened = -1;
  const ListHooks hooks = {
      .beforeRename = [&] { opened = ++attempt == 1 ? open(list.c_str(), O_WRONLY) : -1; }};
  const auto writeOpened = [&] { return pwrite(opened, pong.data(), pong.size(), 0) > 0; };
  for (const bool renamed : {false, true}) {
    WriteList(list);
    ListHooks changing = hooks;
    changing.afterExchange = [&] {
      if (writeOpened() && renamed) replace(gears);
    };
    const Outcome run = Finish(Start(kAdd, {}, changing));
    EXPECT_EQ(std::tie(run.status, run.errors), std::tuple(0, ""));
    EXPECT_EQ(Text(list), added(renamed ? gears : pong));
    EXPECT_EQ(Files(), 1);
  }
  WriteList(list);
  const Outcome run = Finish(Start(kAdd, {}, {.beforeRename = [&] { replace(gears); }}));
  EXPECT_EQ(
      std::tie(run.status, run.errors),
      std::tuple(1, "velorium: '" + list + "' changed while being edited; nothing changed\n"));
  EXPECT_EQ(Text(list), gears);
  EXPECT_EQ(Files(), 1);
}

// Status 0 says the change is on disk: the new file is synced before its rename, the folder after.
TEST_F(ListFile, TheFolderIsSyncedOnceTheNewListIsInPlace) {
  WriteList(list);
  const auto sync = [&](int descriptor) {
    struct stat synced {};
    fstat(descriptor, &synced);
    std::ofstream(dir.File("synced"), std::ios::app)
        << (S_ISDIR(synced.st_mode) ? "folder" : "file")
        << (Text(list) == kAdded ? " after\n" : " before\n");
    return fsync(descriptor);
  };
  EXPECT_EQ(Finish(Start(kAdd, {}, {.beforeRename = {}, .sync = sync})).status, 0);
  EXPECT_EQ(Text(dir.File("synced")), "file before\nfolder after\n");
}

TEST_F(ListFile, AProgramPathWithABlankIsRefusedWithWhereToInstallInstead) {
  WriteList(list);
  refused = files.executable = "/x/my bin/velorium";
  ExpectRefused({kAdd},
                "cannot be added to the list: its path holds a blank, where the daemon and "
                "the settings program end the command; install velorium in "
                "/usr/libexec/xscreensaver or in a folder whose path has no blank, quote, "
                "backslash, '=' or control character");
}

TEST_F(ListFile, TheListKeepsItsModeWithTheSetuidAndSetgidBits) {
  WriteList(list);
  fs::permissions(list, fs::perms{06751});
  EXPECT_EQ(Finish(Start(kAdd)).status, 0);
  EXPECT_EQ(fs::status(list).permissions(), fs::perms{06751});
}

TEST_F(ListFile, AStopSignalDuringTheWriteTakesEffectOnceTheNewListIsInPlaceAndSaid) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    WriteList(list);
    const Outcome run = Finish(Start(kAdd, {}, {.beforeRename = [signal] { raise(signal); }}));
    EXPECT_EQ(run.status, 128 + signal);
    EXPECT_EQ(run.output, "Added 'GL: /opt/velorium --root' to the end of the list of hacks in '" +
                              list + "'.\n");
    EXPECT_EQ(Text(list), kAdded);
    EXPECT_EQ(Files(), 1);
  }
}

// A change killed as it writes leaves its new file: the next change, even one that changes
// nothing, removes it, but not the user's copies nor another program's file of such a name.
TEST_F(ListFile, ANewFileLeftByAKilledChangeIsRemovedByTheNextAndNothingElse) {
  for (const char* name : {".xscreensaver", ".xscreensaver.bak", ".xscreensaver.a1B2c3",
                           ".xscreensaver.velorium-new-Q1w2E3"})
    WriteList(home + "/" + name);
  if (setxattr(list.c_str(), "user.velorium-test", "", 0, 0) != 0)
    GTEST_SKIP() << "velorium marks its new files with an extended attribute";
  EXPECT_EQ(Finish(Start(kAdd, {}, {.beforeRename = [] { raise(SIGKILL); }})).status,
            128 + SIGKILL);
  EXPECT_EQ(Files(), 5);
  EXPECT_EQ(Finish(Start(kRemove)).output,
            "Velorium is not in the list of hacks in '" + list + "'; nothing changed.\n");
  EXPECT_EQ(Files(), 4);
  EXPECT_EQ(Finish(Start(kAdd)).status, 0);
  EXPECT_EQ(Files(), 4);
  EXPECT_EQ(Text(list), kAdded);
}

}  // namespace
