// Reading the XScreenSaver hack's command line.
#include "hack/HackCommandLine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

using Args = std::vector<std::string>;
using Kind = HackCommand::Kind;
constexpr std::nullopt_t kUnset = std::nullopt;

TEST(HackCommandLine, NoArgumentsDrawsEverythingInAWindowOfItsOwn) {
  HackCommand command = ParseHackCommandLine({}, kUnset);
  EXPECT_EQ(command.kind, Kind::Run);
  EXPECT_EQ(command.options.target, HackTarget::OwnWindow);
  EXPECT_TRUE(command.options.comet);
  EXPECT_TRUE(command.options.orbits);
  EXPECT_FALSE(command.options.fps);
  EXPECT_EQ(command.options.display, "");
}

TEST(HackCommandLine, AnEmptyArgumentListIsNoArguments) {
  const char* const argv[] = {"velorium", "--fps", nullptr};
  EXPECT_EQ(HackArguments(2, argv), Args{"--fps"});
  EXPECT_EQ(HackArguments(0, argv + 2), Args{});
  EXPECT_EQ(HackArguments(0, nullptr), Args{});
}

TEST(HackCommandLine, OneDashAndTwoDashesAreAlike) {
  for (const Args& args : {Args{"-no-comet", "-no-orbits", "-fps", "-display", ":5"},
                           Args{"--no-comet", "--no-orbits", "--fps", "--display", ":5"}}) {
    HackCommand command = ParseHackCommandLine(args, kUnset);
    ASSERT_EQ(command.kind, Kind::Run) << args[0];
    EXPECT_FALSE(command.options.comet);
    EXPECT_FALSE(command.options.orbits);
    EXPECT_TRUE(command.options.fps);
    EXPECT_EQ(command.options.display, ":5");
  }
}

TEST(HackCommandLine, TheLastOfAnOptionAndItsNegationWins) {
  HackCommand command =
      ParseHackCommandLine(Args{"--no-comet", "--comet", "--orbits", "--no-orbits"}, kUnset);
  EXPECT_TRUE(command.options.comet);
  EXPECT_FALSE(command.options.orbits);
}

TEST(HackCommandLine, RootDrawsIntoXScreenSaverWindowInHexOrDecimal) {
  EXPECT_EQ(ParseHackCommandLine(Args{"--root"}, "0x1a00007").options.windowId, 0x1a00007u);
  EXPECT_EQ(ParseHackCommandLine(Args{"-root"}, "27262983").options.windowId, 27262983u);
  HackCommand command = ParseHackCommandLine(Args{"--root"}, "0X2C");
  EXPECT_EQ(command.options.target, HackTarget::Root);
  EXPECT_EQ(command.options.windowId, 0x2Cu);
}

TEST(HackCommandLine, RootWithoutXScreenSaverWindowDrawsIntoTheRootWindow) {
  HackCommand command = ParseHackCommandLine(Args{"--root"}, kUnset);
  EXPECT_EQ(command.options.target, HackTarget::Root);
  EXPECT_EQ(command.options.windowId, 0u);
}

TEST(HackCommandLine, WindowIdWinsOverRootWhereverItStands) {
  for (const Args& args :
       {Args{"--root", "--window-id", "0x400001"}, Args{"-window-id", "4194305", "-root"}}) {
    HackCommand command = ParseHackCommandLine(args, "0x99");
    ASSERT_EQ(command.kind, Kind::Run);
    EXPECT_EQ(command.options.target, HackTarget::WindowId);
    EXPECT_EQ(command.options.windowId, 0x400001u);
  }
}

TEST(HackCommandLine, OfRootAndWindowTheLastWins) {
  EXPECT_EQ(ParseHackCommandLine(Args{"--root", "--window"}, kUnset).options.target,
            HackTarget::OwnWindow);
  EXPECT_EQ(ParseHackCommandLine(Args{"--window", "--root"}, kUnset).options.target,
            HackTarget::Root);
}

TEST(HackCommandLine, HelpWinsOverEverythingBeforeIt) {
  EXPECT_EQ(ParseHackCommandLine(Args{"--root", "--help"}, kUnset).kind, Kind::Help);
  EXPECT_EQ(ParseHackCommandLine(Args{"-help"}, kUnset).kind, Kind::Help);
}

TEST(HackCommandLine, AnythingElseIsAUsageError) {
  struct Case {
    Args args;
    const char* error;
  };
  for (const Case& c :
       {Case{{"--bogus"}, "unknown option '--bogus'"}, Case{{"root"}, "unknown option 'root'"},
        Case{{"---root"}, "unknown option '---root'"}, Case{{"-"}, "unknown option '-'"},
        Case{{"--Root"}, "unknown option '--Root'"}, Case{{"--fps=1"}, "unknown option '--fps=1'"},
        Case{{"--root", "extra"}, "unknown option 'extra'"},
        Case{{"--add-to-list", "extra"}, "'--add-to-list' takes nothing after it, not 'extra'"},
        Case{{"-remove-from-list", "--display"},
             "'-remove-from-list' takes nothing after it, not '--display'"},
        Case{{"--version", "extra"}, "'--version' takes nothing after it, not 'extra'"},
        Case{{"--help", "--version"}, "'--help' takes nothing after it, not '--version'"},
        Case{{"--window-id"}, "option '--window-id' needs a value"},
        Case{{"--root", "-display"}, "option '-display' needs a value"}}) {
    HackCommand command = ParseHackCommandLine(c.args, kUnset);
    EXPECT_EQ(command.kind, Kind::Usage) << c.args[0];
    EXPECT_EQ(command.error, c.error);
  }
}

TEST(HackCommandLine, AWindowIdThatIsNotANumberIsAnError) {
  for (const char* id : {"", "xyz", "0x", "0x12g", "-5", "+5", " 5", "5 ", "0", "0x0", "4294967296",
                         "0x100000000", "1e3"}) {
    HackCommand command = ParseHackCommandLine(Args{"--window-id", id}, kUnset);
    EXPECT_EQ(command.kind, Kind::Error) << id;
    EXPECT_EQ(command.error, std::string("'") + id + "' is not a window id");
  }
}

TEST(HackCommandLine, ABadXScreenSaverWindowIsAnErrorOnlyForRoot) {
  HackCommand command = ParseHackCommandLine(Args{"--root"}, "window");
  EXPECT_EQ(command.kind, Kind::Error);
  EXPECT_EQ(command.error, "XSCREENSAVER_WINDOW 'window' is not a window id");
  EXPECT_EQ(ParseHackCommandLine({}, "window").kind, Kind::Run);
  EXPECT_EQ(ParseHackCommandLine(Args{"--root", "--window-id", "7"}, "window").kind, Kind::Run);
}

TEST(HackCommandLine, WindowIdsReachThirtyTwoBits) {
  EXPECT_EQ(ParseWindowId("4294967295"), 4294967295u);
  EXPECT_EQ(ParseWindowId("0xFFFFFFFF"), 4294967295u);
  EXPECT_EQ(ParseWindowId("0x00a"), 10u);
  EXPECT_EQ(ParseWindowId("010"), 10u);
}

TEST(HackCommandLine, DelayIsAWholeNumberOfMicrosecondsUpToASecond) {
  EXPECT_EQ(ParseHackCommandLine({}, kUnset).options.delayUs, 40000);
  EXPECT_EQ(ParseHackCommandLine(Args{"-delay", "0"}, kUnset).options.delayUs, 0);
  EXPECT_EQ(ParseHackCommandLine(Args{"--delay", "1000000"}, kUnset).options.delayUs, 1000000);
  for (const char* delay : {"", "-1", "+5", "1000001", "2.5", "4e4", " 5", "ten"}) {
    HackCommand command = ParseHackCommandLine(Args{"--delay", delay}, kUnset);
    EXPECT_EQ(command.kind, Kind::Usage) << delay;
    EXPECT_EQ(command.error, std::string("'--delay' takes a whole number of microseconds from 0 "
                                         "to 1000000, not '") +
                                 delay + "'");
  }
}

TEST(HackCommandLine, VersionAndTheListOptionsAreCommandsOfTheirOwn) {
  EXPECT_EQ(ParseHackCommandLine(Args{"--version"}, kUnset).kind, Kind::Version);
  EXPECT_EQ(ParseHackCommandLine(Args{"-add-to-list"}, kUnset).kind, Kind::AddToList);
  EXPECT_EQ(ParseHackCommandLine(Args{"--remove-from-list"}, kUnset).kind, Kind::RemoveFromList);
}

// The hack's description for the settings program, velorium.xml.
std::string Description() {
  std::ifstream file(VELORIUM_HACK_DESCRIPTION);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Every command line that the settings program can make from the description: its command,
// each boolean's argument and the slider's lowest, highest and default values.
TEST(HackCommandLine, EveryOptionOfTheDescriptionIsAccepted) {
  const std::string xml = Description();
  std::smatch slider;
  ASSERT_TRUE(std::regex_search(xml, slider,
                                std::regex(R"re(low="(\d+)"\s+high="(\d+)"\s+default="(\d+)")re")));
  EXPECT_EQ(slider[3], "40000");
  const std::regex argument(R"re(arg(-set|-unset)?="([^"]*)")re");
  int arguments = 0;
  for (std::sregex_iterator a(xml.begin(), xml.end(), argument), end; a != end; ++a) {
    ++arguments;
    for (int value = 1; value <= 3; ++value) {
      std::string line = (*a)[2];
      if (line.find('%') != std::string::npos) line.replace(line.find('%'), 1, slider[value]);
      std::istringstream words(line);
      const Args args{std::istream_iterator<std::string>(words), {}};
      EXPECT_EQ(ParseHackCommandLine(args, "0x1a00007").kind, Kind::Run) << line;
    }
  }
  EXPECT_EQ(arguments, 5);  // --root, the slider, three booleans
}

// The settings program shows each paragraph on one line and widens its window to fit the
// longest; the daemon's own hacks keep theirs short.
TEST(HackDescription, EveryParagraphFitsTheSettingsWindowOnOneLine) {
  const std::string xml = Description();
  const std::size_t start = xml.find("<_description>\n") + std::strlen("<_description>\n");
  std::string text = xml.substr(start, xml.find("\n  </_description>") - start);
  text = std::regex_replace(text, std::regex("\n\n"), "|");
  text = std::regex_replace(text, std::regex("\n"), " ");
  std::istringstream paragraphs(text);
  for (std::string paragraph; std::getline(paragraphs, paragraph, '|');) {
    EXPECT_LT(paragraph.size(), 100u) << paragraph;
  }
  EXPECT_TRUE(text.starts_with("An OpenGL model of the solar system")) << text;
}

}  // namespace

namespace {

TEST(HackCommandLine, FullScreenTakesTheSceneOptionsButNoOtherPlaceToDraw) {
  HackCommand command = ParseHackCommandLine(
      Args{"--full-screen", "--no-comet", "--fps", "--delay", "20000"}, kUnset);
  EXPECT_EQ(command.kind, Kind::Run);
  EXPECT_EQ(command.options.target, HackTarget::FullScreen);
  EXPECT_FALSE(command.options.comet);
  EXPECT_TRUE(command.options.fps);
  EXPECT_EQ(command.options.delayUs, 20000);
  const std::string refused = "'--full-screen' covers the Wayland desktop and cannot be used with ";
  EXPECT_EQ(ParseHackCommandLine(Args{"--full-screen", "--root"}, kUnset).error,
            refused + "'--root'");
  EXPECT_EQ(ParseHackCommandLine(Args{"--window-id", "7", "-full-screen"}, kUnset).error,
            refused + "'--window-id'");
  EXPECT_EQ(ParseHackCommandLine(Args{"--full-screen"}, "0x1200003").error,
            refused + "XSCREENSAVER_WINDOW");
  EXPECT_EQ(ParseHackCommandLine(Args{"--full-screen"}, "0x1200003").kind, Kind::Usage);
}

}  // namespace
