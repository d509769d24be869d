// velorium under the real XScreenSaver daemon (Debian's xscreensaver and xscreensaver-gl):
// added to a new user's list by velorium --add-to-list and selected, it shows the scene on
// the screen; deactivated, the hack is gone and the daemon's log reports no
// abnormal end. The daemon will not start hacks as root, so it runs as nobody.
// The kit first: GoogleTest before Xlib, whose None and Bool macros would break it.
#include "tests/linux/Hack.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/kit/TempDir.h"

namespace linuxtest {
namespace {

namespace fs = std::filesystem;

// The daemon's settings for the test, after the list: nothing that would delay or lock the
// screen, and no change of hack for ten minutes.
const char kQuietSettings[] =
    "fade: False\nunfade: False\nlock: False\nnice: 0\n"
    "cycle: 0:10:00\ntimeout: 0:30:00\nsplash: False\n";

// The number of hacks in the system's list, which ends each of them with "\n".
int SystemHackCount() {
  std::ifstream defaults("/etc/X11/app-defaults/XScreenSaver");
  int count = 0;
  bool inList = false;
  for (std::string line; std::getline(defaults, line);) {
    inList = inList || line.starts_with("*programs:");
    if (inList && line.find("\\n") != std::string::npos) ++count;
    if (inList && !line.ends_with("\\")) break;
  }
  return count;
}

// A folder the daemon's user can read, with a copy of velorium and a home for that user;
// whatever runs that copy is ended with the folder.
class DaemonHome {
public:
  DaemonHome() {
    fs::permissions(dir_.Path(), fs::perms{0755});
    fs::copy_file(hackPath(), hack_);
    fs::permissions(hack_, fs::perms{0755});
    fs::create_directory(home_);
    chown(home_.c_str(), getpwnam("nobody")->pw_uid, getgrnam("nogroup")->gr_gid);
  }
  ~DaemonHome() {
    for (pid_t pid : processesRunning(hack_)) kill(pid, SIGKILL);
  }
  const std::string& Hack() const { return hack_; }
  const std::string& Home() const { return home_; }

private:
  TempDir dir_;
  std::string hack_ = dir_.File("velorium"), home_ = dir_.File("home");
};

int Command(const TestDisplay& display, const std::vector<std::string>& what) {
  return daemonCommand(commandOf("xscreensaver-command", what), {display.variable()});
}

// A new user, as nobody, with no display: velorium --add-to-list makes ~/.xscreensaver from
// the system's list with velorium (by its path) last; the daemon then runs it when it is
// selected by its number after all the system's hacks.
TEST(XScreenSaverDaemon, AddedToTheListItShowsTheSceneWhenSelectedAndEndsWhenDeactivated) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "the daemon test runs the daemon as nobody and needs root to do so";
  }
  DaemonHome home;
  const std::vector<std::string> asNobody = {
      "setpriv", "--reuid=nobody",      "--regid=nogroup",   "--clear-groups", "env",
      "-i",      "HOME=" + home.Home(), "PATH=/usr/bin:/bin"};
  std::vector<std::string> addToList = asNobody;
  addToList.insert(addToList.end(), {home.Hack(), "--add-to-list"});
  const Outcome add = runToEnd(addToList);
  ASSERT_EQ(add.status, 0) << add.errors;
  EXPECT_NE(add.output.find("'GL: " + home.Hack() + " --root'"), std::string::npos) << add.output;
  std::ofstream(home.Home() + "/.xscreensaver", std::ios::app) << kQuietSettings;

  TestDisplay display(1024, 768);
  std::vector<std::string> startDaemon = asNobody;
  startDaemon.insert(startDaemon.end(),
                     {display.variable(), "xscreensaver", "--no-splash", "--verbose"});
  Process daemon(startDaemon);
  ASSERT_TRUE(waitUntil([&] { return Command(display, {"-version"}) == 0; })) << daemon.errors();

  ASSERT_EQ(Command(display, {"-select", std::to_string(SystemHackCount() + 1)}), 0);
  long hack = 0;
  expectSceneUntilDeactivated(
      display.connection(), daemon, home.Hack(), [&] { return Command(display, {"-deactivate"}); },
      hack);
  if (HasFatalFailure()) return;

  Command(display, {"-exit"});
  daemon.wait(Milliseconds(5000));
  const std::string log = daemon.output() + daemon.errors();
  EXPECT_NE(log.find("forked \"" + home.Hack() + " --root\""), std::string::npos) << log;
  // The daemon's own helpers (systemd, authentication) may end with errors here; only the
  // lines about the hack count.
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.find(home.Hack()) == std::string::npos &&
        line.find("pid " + std::to_string(hack)) == std::string::npos) {
      continue;
    }
    for (const char* abnormal : {"abnormal", "crash", "core", "signal", "status"}) {
      EXPECT_EQ(line.find(abnormal), std::string::npos) << line;
    }
  }
}

}  // namespace
}  // namespace linuxtest
