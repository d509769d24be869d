// velorium's command line as a user meets it: help, version, usage errors and bad window ids,
// each ending at once without drawing anything. One run of each kind of error: which words are
// errors, and how a message quotes them, is held by the command line's unit tests, and that
// every bad command ends in one line of error by the fuzz test. The list changes here are those
// only whole processes show: a failed write, another user's lock, and a race with a process
// that swaps the list.
#include "tests/linux/Hack.h"

#include <unistd.h>

#include <filesystem>
#include <set>

#include "tests/kit/TempDir.h"

namespace linuxtest {
namespace {

const char kUsageFirstLine[] = "usage: velorium [options]\n";

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

class HackCommand : public OnSharedDisplay<320, 240> {
protected:
  // The screen stays as the server made it: black, nothing drawn.
  static void ExpectNothingDrawn() {
    EXPECT_TRUE(readScene(grabWindow(X(), DefaultRootWindow(X()))).nothingDrawn());
  }
};

TEST_F(HackCommand, HelpPrintsTheUsageOnStandardOutputAndEndsWithZero) {
  for (const char* help : {"--help", "-help"}) {
    const Outcome run = runHack({help});
    EXPECT_EQ(run.status, 0) << help;
    EXPECT_TRUE(StartsWith(run.output, kUsageFirstLine)) << run.output;
    EXPECT_NE(run.output.find("--window-id ID"), std::string::npos);
    EXPECT_EQ(run.errors, "");
  }
}

TEST_F(HackCommand, VersionPrintsTheVersionOnStandardOutputAndEndsWithZero) {
  const Outcome run = runHack({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, "velorium 1.0.0\n");
  EXPECT_EQ(run.errors, "");
}

TEST_F(HackCommand, AnUnknownOptionPrintsTheUsageOnStandardErrorAndEndsWithOne) {
  const Outcome run = runHack({"--root", "--bogus"}, display_->name());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "");
  EXPECT_TRUE(StartsWith(run.errors, "velorium: ")) << run.errors;
  EXPECT_NE(run.errors.find(kUsageFirstLine), std::string::npos) << run.errors;
  ExpectNothingDrawn();
}

TEST_F(HackCommand, ABadWindowIdIsOneLineOfErrorAndStatusOne) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> environment;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"--window-id", "xyz"}, {}, "velorium: 'xyz' is not a window id\n"},
      {{"--root"},
       {"XSCREENSAVER_WINDOW=123456789"},
       "velorium: no window 0x75bcd15 on display '" + display_->name() + "'\n"},
  };
  for (const Case& c : cases) {
    expectRefused(runHack(c.args, display_->name(), c.environment), c.error);
  }
  ExpectNothingDrawn();
}

TEST_F(HackCommand, ADisplayThatCannotBeOpenedIsOneLineOfErrorAndStatusOne) {
  expectRefused(runHack({"--display", ":299.7", "--root"}),
                "velorium: cannot open display ':299.7'\n");
}

TEST_F(HackCommand, AScreenTheDisplayDoesNotHaveIsOneLineOfErrorAndStatusOne) {
  const std::string name = display_->name();
  expectRefused(runHack({}, "", {"DISPLAY=" + name + ".-100000"}),
                "velorium: display '" + name + ".-100000' has no screen -100000\n");
}

// glvnd's libEGL finds no driver (libegl-mesa0's) in an empty list of places to look.
TEST_F(HackCommand, WithoutAnEglDriverForX11ItIsOneLineOfErrorAndStatusOne) {
  expectRefused(runHack({"--root"}, display_->name(), {"__EGL_VENDOR_LIBRARY_DIRS=/nonexistent"}),
                "velorium: EGL offers no X11 platform: no EGL driver for X11 is installed\n");
  ExpectNothingDrawn();
}

TEST_F(HackCommand, AServerThatGoesAwayDuringStartUpIsOneLineOfErrorAndStatusOne) {
  PlayedDisplay dying;
  Process hack({hackPath(), "--display", dying.name()});
  ASSERT_TRUE(dying.takeConnection());
  dying.answerFromThenHangUp(display_->name());
  expectRefused({hack.wait(), hack.output(), hack.errors()},
                "velorium: lost the connection to the X display\n");
}

TEST_F(HackCommand, OutputThatCannotBeWrittenIsOneLineOfErrorAndStatusOne) {
  const TempDir home;
  const std::string list = "programs:\n";
  WriteBytes(home.File(".xscreensaver"), Bytes(list.begin(), list.end()));
  for (const char* what : {"--version", "--help", "--add-to-list"}) {
    expectRefused(runToEnd({"/bin/sh", "-c", "exec \"$0\" \"$1\" >/dev/full", hackPath(), what},
                           {"HOME=" + home.Path().string()}),
                  "velorium: cannot write to standard output: No space left on device\n");
  }
}

// The settings file's new text replaces it whole or not at all: behind a symbolic link, with
// its mode; a write that fails (at a file size limit, as on a full disk) leaves it as it was.
TEST_F(HackCommand, AddToListReplacesTheSettingsFileWholeOrNotAtAll) {
  namespace fs = std::filesystem;
  const TempDir home;
  fs::create_directory(home.Path() / "kept");
  const std::string file = home.File("kept/xscreensaver");
  std::string text = "programs: \\\n";
  for (int i = 0; i < 60; ++i) text += "  hack" + std::to_string(i) + " --root \\n\\\n";
  const Bytes old(text.begin(), text.end());
  WriteBytes(file, old);
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("kept/xscreensaver", home.File(".xscreensaver"));
  const std::vector<std::string> environment{"HOME=" + home.Path().string()};

  const Outcome limited = runToEnd(
      {"/bin/sh", "-c", "ulimit -f 1; exec \"$0\" --add-to-list", hackPath()}, environment);
  EXPECT_EQ(limited.status, 1) << limited.errors;
  EXPECT_NE(limited.errors.find("; it is as it was"), std::string::npos) << limited.errors;
  EXPECT_EQ(ReadBytes(file), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(home.Path() / "kept"), {}), 1) << "litter left";

  const Outcome added = runHack({"--add-to-list"}, "", environment);
  EXPECT_EQ(added.status, 0) << added.errors;
  EXPECT_TRUE(fs::is_symlink(home.File(".xscreensaver")));
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  const Bytes now = ReadBytes(file);
  EXPECT_NE(std::string(now.begin(), now.end()).find("velorium --root"), std::string::npos);
}

// Any user who can open the home folder can lock it: velorium waits for it at most a few
// seconds, and the daemon's SIGTERM ends the wait at once, the list as it was.
TEST(ListLock, AnotherUsersLockOnTheHomeFolderGivesWayToSigterm) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can run the lock's holder as another user";
  const TempDir home;
  const std::string list = "programs:\n";
  WriteBytes(home.File(".xscreensaver"), Bytes(list.begin(), list.end()));
  const Process holder({"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "flock",
                        "--no-fork", home.Path().string(), "sleep", "60"});
  ASSERT_TRUE(waitUntil([&] {
    return runToEnd({"flock", "-n", home.Path().string(), "true"}).status == 1;
  }));
  const Process add({hackPath(), "--add-to-list"}, {"HOME=" + home.Path().string()});
  pause(Milliseconds(500));
  add.signal(SIGTERM);
  EXPECT_EQ(add.wait(Milliseconds(1000)), 128 + SIGTERM);
  EXPECT_EQ(ReadBytes(home.File(".xscreensaver")), Bytes(list.begin(), list.end()));
}

// One process swaps ~/.xscreensaver, a list of its own, with a link to another file while
// velorium adds and removes, two at a time: each file only ever holds its own text, and the link
// stays a link.
TEST(ListRace, AListSwappedWithALinkDuringChangesNeverTakesTheOtherFilesText) {
  namespace fs = std::filesystem;
  const TempDir home;
  const std::string list = home.File(".xscreensaver"), link = home.File("link");
  const std::string own = "programs: \\\n  maze --root \\n\n";
  const std::string other = "programs: \\\n  gears --root \\n\n";
  fs::create_directory(home.Path() / "kept");
  WriteBytes(list, Bytes(own.begin(), own.end()));
  WriteBytes(home.File("kept/other"), Bytes(other.begin(), other.end()));
  fs::create_symlink("kept/other", link);
  {
    // renameat2(AT_FDCWD, list, AT_FDCWD, link, RENAME_EXCHANGE) without end.
    const Process swapper({"python3", "-c",
                           "import ctypes, sys\nswap = ctypes.CDLL(None).renameat2\nwhile True: "
                           "swap(-100, sys.argv[1].encode(), -100, sys.argv[2].encode(), 2)",
                           list, link});
    // The exit statuses seen, of adds and of removes: 0 or 1 each, and 0 at least once.
    std::set<ExitStatus> added, removed;
    for (int run = 0; run < 100; ++run) {
      const Process add({hackPath(), "--add-to-list"}, {"HOME=" + home.Path().string()});
      const Process remove({hackPath(), "--remove-from-list"}, {"HOME=" + home.Path().string()});
      added.insert(add.wait().value_or(99));
      removed.insert(remove.wait().value_or(99));
    }
    for (const std::set<ExitStatus>* statuses : {&added, &removed}) {
      EXPECT_TRUE(statuses->contains(0)) << "no change succeeded";
      EXPECT_LE(*statuses->rbegin(), 1);
    }
  }
  // The swapper moves names under a change, so the list read may be left under the change's
  // new-file name (the next change clears it); whatever the names, the link is still there and
  // each file holds only its own text.
  int links = 0;
  for (const auto& entry : fs::recursive_directory_iterator(home.Path())) {
    const std::string name = entry.path().lexically_relative(home.Path()).string();
    if (entry.is_symlink()) ++links;
    if (entry.is_symlink() || entry.is_directory()) continue;
    const Bytes bytes = ReadBytes(entry.path().string());
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.find(name == "kept/other" ? "maze" : "gears"), std::string::npos) << name;
    EXPECT_TRUE(name == "kept/other" || name == ".xscreensaver" || name == "link" ||
                name.starts_with(".xscreensaver.velorium-new-"))
        << "litter left: " << name;
  }
  EXPECT_EQ(links, 1) << "the link was replaced";
}

}  // namespace
}  // namespace linuxtest
