// velorium under the real XScreenSaver daemon (Debian's xscreensaver and xscreensaver-gl):
// activated, it shows the scene on the screen; deactivated, the hack is gone within a second
// and the daemon's log reports no abnormal end. The daemon will not start hacks as root, so
// it runs as nobody, with a home of its own that lists only velorium.
// GoogleTest before Xlib, whose None and Bool macros would break it.
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/linux/LinuxTestKit.h"

namespace linuxtest {
namespace {

namespace fs = std::filesystem;

// The daemon's settings: only velorium, by absolute path, with nothing that would delay or
// lock the screen, and no change of hack for ten minutes.
std::string SettingsFor(const std::string& hack) {
  return "mode: one\nselected: 0\nfade: False\nunfade: False\nlock: False\nnice: 0\n"
         "cycle: 0:10:00\ntimeout: 0:30:00\nsplash: False\n"
         "programs: GL: " + hack + " --root \\n\n";
}

// Processes that run the file `executable` (not ended or only waiting to be reaped).
std::vector<pid_t> ProcessesRunning(const std::string& executable) {
  std::vector<pid_t> found;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) != executable) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string pid, command, state;
    stat >> pid >> command >> state;
    if (state != "Z") found.push_back(std::stoi(name));
  }
  return found;
}

class DaemonHome {
public:
  DaemonHome() {
    char pattern[] = "/tmp/velorium-daemon-XXXXXX";
    dir_ = mkdtemp(pattern);
    chmod(dir_.c_str(), 0755);
    hack_ = dir_ + "/velorium";
    fs::copy_file(HackPath(), hack_);
    chmod(hack_.c_str(), 0755);
    home_ = dir_ + "/home";
    fs::create_directory(home_);
    std::ofstream(home_ + "/.xscreensaver") << SettingsFor(hack_);
    const passwd* nobody = getpwnam("nobody");
    const group* nogroup = getgrnam("nogroup");
    chown(home_.c_str(), nobody->pw_uid, nogroup->gr_gid);
    chown((home_ + "/.xscreensaver").c_str(), nobody->pw_uid, nogroup->gr_gid);
  }
  ~DaemonHome() {
    for (pid_t pid : ProcessesRunning(hack_)) kill(pid, SIGKILL);
    std::error_code error;
    fs::remove_all(dir_, error);
  }
  const std::string& Hack() const { return hack_; }
  const std::string& Home() const { return home_; }

private:
  std::string dir_, hack_, home_;
};

int Command(const TestDisplay& display, const std::string& what) {
  ChildProcess command({"xscreensaver-command", what}, {"DISPLAY=" + display.Name()});
  return command.Wait(Milliseconds(5000)).value_or(-1);
}

TEST(XScreenSaverDaemon, ActivatedShowsTheSceneAndDeactivatedEndsTheHackWithinASecond) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "the daemon test runs the daemon as nobody and needs root to do so";
  }
  TestDisplay display(1024, 768);
  DaemonHome home;
  ChildProcess daemon({"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "env",
                       "-i", "HOME=" + home.Home(), "DISPLAY=" + display.Name(),
                       "PATH=/usr/bin:/bin", "xscreensaver", "--no-splash", "--verbose"});
  ASSERT_TRUE(WaitUntil([&] { return Command(display, "-version") == 0; }))
      << daemon.Errors();

  ASSERT_EQ(Command(display, "-activate"), 0);
  ASSERT_TRUE(WaitUntil([&] { return ProcessesRunning(home.Hack()).size() == 1; }))
      << daemon.Errors();
  const pid_t hack = ProcessesRunning(home.Hack()).front();
  SceneSeen seen;
  EXPECT_TRUE(WaitUntil([&] {
    seen = ReadScene(GrabWindow(display.Connection(), DefaultRootWindow(display.Connection())));
    return seen.sunAtCentre && seen.planetColours == 9;
  })) << "sun at the centre: " << seen.sunAtCentre << ", planet colours: " << seen.planetColours;

  ASSERT_EQ(Command(display, "-deactivate"), 0);
  EXPECT_TRUE(WaitUntil([&] { return ProcessesRunning(home.Hack()).empty(); },
                        Milliseconds(1000)))
      << "velorium " << hack << " still runs a second after the daemon was deactivated";

  Command(display, "-exit");
  daemon.Wait(Milliseconds(5000));
  const std::string log = daemon.Output() + daemon.Errors();
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
