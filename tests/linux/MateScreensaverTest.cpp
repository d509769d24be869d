// velorium as a theme of MATE's screen saver (Debian's mate-screensaver), which runs themes
// only from the usual hack folders: so the test installs the package it builds, unless the
// installed one has the same files. Activated, the saver shows the scene on the screen;
// deactivated, the hack is gone within a second.
// GoogleTest before Xlib, whose None and Bool macros would break it.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/linux/LinuxTestKit.h"

namespace linuxtest {
namespace {

namespace fs = std::filesystem;

const char kInstalledHack[] = "/usr/libexec/xscreensaver/velorium";
constexpr Milliseconds kPackageLimit{120000};

// Makes the package of this build with CPack in `folder` and installs it with dpkg when the
// installed package's files differ from it (or there is none).
void InstallThePackage(const std::string& folder) {
  ChildProcess cpack({"cpack", "--config", VELORIUM_CPACK_CONFIG, "-B", folder});
  ASSERT_EQ(cpack.Wait(kPackageLimit), 0) << cpack.Output() << cpack.Errors();
  const std::string deb = folder + "/velorium_" VELORIUM_VERSION "_amd64.deb";
  ChildProcess sums({"dpkg-deb", "--info", deb, "md5sums"});
  ASSERT_EQ(sums.Wait(), 0) << sums.Errors();
  std::ifstream installed("/var/lib/dpkg/info/velorium.md5sums");
  const std::string installedSums((std::istreambuf_iterator<char>(installed)), {});
  if (installedSums == sums.Output()) return;
  ChildProcess dpkg({"dpkg", "-i", deb});
  ASSERT_EQ(dpkg.Wait(kPackageLimit), 0) << dpkg.Output() << dpkg.Errors();
}

// A folder of the test's own with the saver's settings in a GSettings key file: the single
// theme Velorium, no lock.
class MateHome {
public:
  MateHome() {
    char pattern[] = "/tmp/velorium-mate-XXXXXX";
    dir_ = mkdtemp(pattern);
    fs::create_directories(dir_ + "/config/glib-2.0/settings");
    std::ofstream(dir_ + "/config/glib-2.0/settings/keyfile")
        << "[org/mate/screensaver]\nmode='single'\nthemes=['screensavers-velorium']\n"
           "lock-enabled=false\n";
  }
  ~MateHome() {
    std::error_code error;
    fs::remove_all(dir_, error);
  }
  const std::string& Dir() const { return dir_; }

private:
  std::string dir_;
};

// Ends the session bus, the saver and its hack together: setsid made them a process group.
struct EndsGroup {
  pid_t group;
  ~EndsGroup() { kill(-group, SIGKILL); }
};

TEST(MateScreensaver, ActivatedShowsTheSceneAndDeactivatedEndsTheHackWithinASecond) {
  if (geteuid() != 0) GTEST_SKIP() << "the test installs the package and needs root to do so";
  MateHome home;
  InstallThePackage(home.Dir() + "/package");
  if (HasFatalFailure()) return;
  TestDisplay display(1024, 768);
  // No accessibility bus or virtual file system services: only what the saver needs.
  std::vector<std::string> environment = {
      "HOME=" + home.Dir(), "XDG_CONFIG_HOME=" + home.Dir() + "/config",
      "GSETTINGS_BACKEND=keyfile", "DISPLAY=" + display.Name(), "NO_AT_BRIDGE=1",
      "GIO_USE_VFS=local"};
  const std::string bus = home.Dir() + "/bus";
  ChildProcess session({"setsid", "dbus-run-session", "--", "sh", "-c",
                        "echo \"$DBUS_SESSION_BUS_ADDRESS\" >'" + bus +
                            "' && exec mate-screensaver --no-daemon"},
                       environment);
  EndsGroup endsGroup{session.Pid()};
  ASSERT_TRUE(WaitUntil([&] {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(bus, error);
    return !error && size > 1;
  })) << session.Errors();
  std::string address;
  std::getline(std::ifstream(bus), address);
  environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + address);
  auto command = [&](const char* what) {
    ChildProcess process({"mate-screensaver-command", what}, environment);
    return process.Wait(Milliseconds(5000)).value_or(-1);
  };
  ASSERT_TRUE(WaitUntil([&] { return command("--query") == 0; })) << session.Errors();

  ASSERT_EQ(command("--activate"), 0);
  ASSERT_TRUE(WaitUntil([&] { return ProcessesRunning(kInstalledHack).size() == 1; }))
      << session.Errors();
  SceneSeen seen;
  EXPECT_TRUE(ScreenShowsTheScene(display.Connection(), seen))
      << "sun at the centre: " << seen.sunAtCentre << ", planet colours: " << seen.planetColours;

  ASSERT_EQ(command("--deactivate"), 0);
  EXPECT_TRUE(WaitUntil([&] { return ProcessesRunning(kInstalledHack).empty(); },
                        Milliseconds(1000)))
      << "velorium still runs a second after the saver was deactivated";
  command("--exit");
  EXPECT_EQ(session.Wait(Milliseconds(5000)), 0) << session.Errors();
}

}  // namespace
}  // namespace linuxtest
