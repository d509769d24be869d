// velorium's command line, environment and display names generated at random from a fixed
// seed (scripts/test runs this with the hack built under AddressSanitizer and
// UndefinedBehaviorSanitizer): each case ends with 0, or with 1 and one line of error (and the
// usage after it), and nothing crashes or trips a sanitizer.
#include "tests/linux/Hack.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <random>

#include "hack/QuotedText.h"

namespace linuxtest {
namespace {

constexpr unsigned kSeed = 15;
constexpr int kCases = 300;
// A case that still runs then is drawing; it is ended with SIGTERM.
constexpr Milliseconds kRunningAfter{300};

bool IsOneLine(const std::string& line) {
  return std::all_of(line.begin(), line.end(),
                     [](unsigned char c) { return c >= 0x20 && c <= 0x7e; });
}

// Whether the process has a handler for the signal, as /proc shows (SigCgt, in hexadecimal).
bool Catches(unsigned long pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) == 0) {
      return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    }
  }
  return false;
}

TEST(HackFuzz, EveryCaseEndsWithZeroOrOneLineOfErrorAndNoSanitizerReport) {
  TestDisplay display(320, 240);
  const std::string name = display.name();
  unsetenv("DISPLAY");
  unsetenv("XSCREENSAVER_WINDOW");
  const std::string usage = runHack({"--help"}).output;
  const std::vector<std::string> displays = {
      name,   name + ".0", name + ".-1", name + ".-100000", name + ".7",
      ":299", "",          "\x1b[31m:0", "127.0.0.1:1",     name + ".2147483647"};
  // A window that exists (no OpenGL in this process, which LeakSanitizer watches).
  Display* x = display.connection();
  const std::string window =
      HexId(XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 64, 48, 0, 0, 0));
  XSync(x, False);
  const std::vector<std::string> windowIds = {
      window,    "0x1", "0",  "-1",        "0xFFFFFFFF", "4294967296",          "12\n34",
      "\x1b[2J", "",    "0x", "0x7654321", "\xff\xfe",   "99999999999999999999"};
  const std::vector<std::string> options = {
      "--root",  "-root",      "--root",      "--window", "--window-id", "-display",
      "--comet", "--no-comet", "--no-orbits", "--fps",    "--help",      "--version",
      "--delay", "-delay",     "--bogus",     "-",        "--",          "--ro\tot"};
  std::mt19937 random(kSeed);
  auto pick = [&](const std::vector<std::string>& words) {
    return words[std::uniform_int_distribution<std::size_t>(0, words.size() - 1)(random)];
  };
  for (int k = 0; k < kCases; ++k) {
    std::vector<std::string> command = {hackPath()};
    const int length = std::uniform_int_distribution<int>(0, 4)(random);
    // Mostly options with their values, sometimes a stray word.
    for (int w = 0; w < length; ++w) {
      switch (random() % 5) {
        case 0:
          command.insert(command.end(), {"--display", pick(displays)});
          break;
        case 1:
          command.insert(command.end(), {"--window-id", pick(windowIds)});
          break;
        case 2:
          command.push_back(pick(random() % 2 ? displays : windowIds));
          break;
        default:
          command.push_back(pick(options));
          break;
      }
    }
    // Mesa is not clean under LeakSanitizer: the cases that draw would report its leaks.
    std::vector<std::string> environment = {"ASAN_OPTIONS=detect_leaks=0",
                                            "DISPLAY=" + pick(displays)};
    if (random() % 3 == 0) environment.push_back("XSCREENSAVER_WINDOW=" + pick(windowIds));
    std::string described;
    for (const std::string& word : command) described += QuotedText(word) + " ";
    for (std::size_t e = 1; e < environment.size(); ++e) {
      described += QuotedText(environment[e]) + " ";
    }
    SCOPED_TRACE("case " + std::to_string(k) + ": " + described);

    Process hack(command, environment);
    if (!hack.wait(kRunningAfter)) {
      // Not while the dynamic loader is still at work: a signal then ends any program.
      waitUntil([&] { return Catches(hack.id(), SIGTERM) || !hack.running(); });
      hack.signal(SIGTERM);
    }
    const std::optional<ExitStatus> status = hack.wait();
    const std::string errors = hack.errors();
    EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
    ASSERT_TRUE(status == 0 || status == 1) << "status " << status.value_or(-1) << ": " << errors;
    if (status == 0) {
      EXPECT_EQ(errors, "");
      continue;
    }
    const std::size_t end = errors.find('\n');
    ASSERT_NE(end, std::string::npos) << errors;
    EXPECT_EQ(errors.compare(0, 10, "velorium: "), 0) << errors;
    EXPECT_TRUE(IsOneLine(errors.substr(0, end))) << errors;
    const std::string rest = errors.substr(end + 1);
    EXPECT_TRUE(rest.empty() || rest == usage) << errors;
  }
}

}  // namespace
}  // namespace linuxtest
