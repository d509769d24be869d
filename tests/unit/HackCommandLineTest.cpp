// Reading the XScreenSaver hack's command line.
#include "hack/HackCommandLine.h"

#include <gtest/gtest.h>

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
  for (const Args& args : {Args{"--root", "--window-id", "0x400001"},
                           Args{"-window-id", "4194305", "-root"}}) {
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
  for (const Case& c : {Case{{"--bogus"}, "unknown option '--bogus'"},
                        Case{{"root"}, "unknown option 'root'"},
                        Case{{"---root"}, "unknown option '---root'"},
                        Case{{"-"}, "unknown option '-'"},
                        Case{{"--Root"}, "unknown option '--Root'"},
                        Case{{"--fps=1"}, "unknown option '--fps=1'"},
                        Case{{"--root", "extra"}, "unknown option 'extra'"},
                        Case{{"--window-id"}, "option '--window-id' needs a value"},
                        Case{{"--root", "-display"}, "option '-display' needs a value"}}) {
    HackCommand command = ParseHackCommandLine(c.args, kUnset);
    EXPECT_EQ(command.kind, Kind::Usage) << c.args[0];
    EXPECT_EQ(command.error, c.error);
  }
}

TEST(HackCommandLine, AWindowIdThatIsNotANumberIsAnError) {
  for (const char* id : {"", "xyz", "0x", "0x12g", "-5", "+5", " 5", "5 ", "0", "0x0",
                         "4294967296", "0x100000000", "1e3"}) {
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

}  // namespace
