// velorium as a theme of MATE's screen saver (Debian's mate-screensaver), which runs themes
// only from the usual hack folders: so the test installs the package it builds, unless the
// installed one has the same files, and puts back what was there. Activated, the saver shows the
// scene on the screen; deactivated, the hack is gone. The kit first: GoogleTest before Xlib, whose
// None and Bool macros would break it.
#include "tests/linux/Hack.h"

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/kit/TempDir.h"

namespace linuxtest {
namespace {

namespace fs = std::filesystem;

const char kInstalledHack[] = "/usr/libexec/xscreensaver/velorium";
constexpr Milliseconds kPackageLimit{120000};

// The system's velorium package as it was before the test, put back afterwards however the
// test ends: removed and purged (it has no configuration files) when there was none, else the
// one that was installed, repacked by dpkg-repack before it is replaced.
class SystemPackage {
public:
  // Installs the package of this build, made with CPack in `folder`, when the installed
  // package's files differ from it (or there is none).
  void Install(const std::string& folder) {
    const Outcome cpack =
        runToEnd({"cpack", "--config", VELORIUM_CPACK_CONFIG, "-B", folder}, {}, kPackageLimit);
    ASSERT_EQ(cpack.status, 0) << cpack.output << cpack.errors;
    const std::string deb = folder + "/velorium_" VELORIUM_VERSION "_amd64.deb";
    const Outcome sums = runToEnd({"dpkg-deb", "--info", deb, "md5sums"});
    ASSERT_EQ(sums.status, 0) << sums.errors;
    std::ifstream installed("/var/lib/dpkg/info/velorium.md5sums");
    if (std::string(std::istreambuf_iterator<char>(installed), {}) == sums.output) return;
    std::vector<std::string> restore = {"dpkg", "--purge", "velorium"};
    if (installed.is_open()) {
      const Outcome repack = runToEnd({"sh", "-c",
                                       "mkdir \"$0\" && cd \"$0\" && "
                                       "dpkg-repack velorium >&2 && echo \"$PWD\"/*.deb",
                                       folder + "/kept"},
                                      {}, kPackageLimit);
      ASSERT_EQ(repack.status, 0) << repack.errors;
      restore = {"dpkg", "-i", repack.output.substr(0, repack.output.find('\n'))};
    }
    restore_ = restore;
    const Outcome dpkg = runToEnd({"dpkg", "-i", deb}, {}, kPackageLimit);
    ASSERT_EQ(dpkg.status, 0) << dpkg.output << dpkg.errors;
  }
  ~SystemPackage() {
    if (restore_.empty()) return;
    const Outcome restored = runToEnd(restore_, {}, kPackageLimit);
    EXPECT_EQ(restored.status, 0) << "the system's velorium package could not be put back: "
                                  << restored.output << restored.errors;
  }

private:
  std::vector<std::string> restore_;
};

// Ends what the test started however it ends: the session bus, the saver and its hack, which
// setsid made one process group, then puts the system's package back, and last the folder.
struct Leftovers {
  TempDir folder;
  SystemPackage package;
  pid_t group = 0;
  ~Leftovers() {
    if (group > 0) kill(-group, SIGKILL);
  }
};

TEST(MateScreensaver, ActivatedShowsTheSceneAndDeactivatedEndsTheHack) {
  if (geteuid() != 0) GTEST_SKIP() << "the test installs the package and needs root to do so";
  Leftovers leftovers;
  const std::string home = leftovers.folder.Path().string();
  leftovers.package.Install(home + "/package");
  if (HasFatalFailure()) return;
  // The saver's settings: the single theme Velorium, no lock.
  fs::create_directories(home + "/glib-2.0/settings");
  std::ofstream(home + "/glib-2.0/settings/keyfile")
      << "[org/mate/screensaver]\nmode='single'\nthemes=['screensavers-velorium']\n"
         "lock-enabled=false\n";
  TestDisplay display(1024, 768);
  // No accessibility bus or virtual file system services: only what the saver needs.
  std::vector<std::string> environment = {
      "HOME=" + home,     "XDG_CONFIG_HOME=" + home, "GSETTINGS_BACKEND=keyfile",
      display.variable(), "NO_AT_BRIDGE=1",          "GIO_USE_VFS=local"};
  Process session({"setsid", "dbus-run-session", "--", "sh", "-c",
                   "echo \"$DBUS_SESSION_BUS_ADDRESS\"; exec mate-screensaver --no-daemon"},
                  environment);
  leftovers.group = session.id();
  ASSERT_TRUE(waitUntil([&] { return session.output().find('\n') != std::string::npos; }))
      << session.errors();
  environment.push_back("DBUS_SESSION_BUS_ADDRESS=" +
                        session.output().substr(0, session.output().find('\n')));
  auto command = [&](const char* what) {
    return daemonCommand({"mate-screensaver-command", what}, environment);
  };
  ASSERT_TRUE(waitUntil([&] { return command("--query") == 0; })) << session.errors();

  ASSERT_EQ(command("--activate"), 0);
  long hack = 0;
  expectSceneUntilDeactivated(
      display.connection(), session, kInstalledHack, [&] { return command("--deactivate"); }, hack);
  if (HasFatalFailure()) return;
  command("--exit");
  EXPECT_EQ(session.wait(Milliseconds(5000)), 0) << session.errors();
}

}  // namespace
}  // namespace linuxtest
