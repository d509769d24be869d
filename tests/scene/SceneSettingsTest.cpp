// The scene object's construction, planet tables and settings file, natively (the file
// streams' Windows backend has tests of its own under Wine).
#include "scene/Tplanets.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <utility>

#include "framework/Classes.h"
#include "tests/kit/Raised.h"
#include "tests/kit/TempDir.h"

namespace {

// The test program's own directory, asked of Linux directly.
std::string TestProgramDir() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/";
}

// Comet and orbits option, as a scene object holds them.
using Options = std::pair<int, int>;

// SettingsCase's argument for a scene that keeps the options it was made with.
constexpr bool kAsMade = true;

Options OptionsOf(const TPlanets& planets) {
  return {planets.ShowComet, planets.ShowOrbits};
}

// A scene object whose settings file is ini in a fresh directory. Unless the scene is to stay
// as it was made, both options start at 77 and 88, so that whether LoadOptions assigned them
// shows.
struct SettingsCase {
  TempDir dir;
  std::string ini = dir.File("Velorium.ini");
  TPlanets planets{nullptr};

  explicit SettingsCase(bool asMade = false) {
    planets.IniFile = ini;
    if (asMade) return;
    planets.ShowComet = 77;
    planets.ShowOrbits = 88;
  }

  Options Loaded() {
    planets.LoadOptions();
    return OptionsOf(planets);
  }

  Options LoadedFrom(const Bytes& bytes) {
    WriteBytes(ini, bytes);
    return Loaded();
  }

  // The file's bytes after saving these options.
  Bytes Saved(std::uint8_t comet, std::uint8_t orbits) {
    planets.ShowComet = comet;
    planets.ShowOrbits = orbits;
    planets.SaveOptions();
    return ReadBytes(ini);
  }
};

class FreshScene : public testing::Test {
protected:
  TPlanets planets{nullptr};
};

}  // namespace

TEST_F(FreshScene, StartsAtTickZeroWithoutAContext) {
  EXPECT_EQ(planets.Counter, 0);
  EXPECT_FALSE(planets.HasContext);
  EXPECT_EQ(planets.Form, nullptr);
}

TEST_F(FreshScene, SettingsFileSitsBesideTheExecutable) {
  EXPECT_EQ(planets.IniFile, TestProgramDir() + "Velorium.ini");
}

TEST_F(FreshScene, DiametersInKilometres) {
  const std::array<double, 10> expected = {1390000, 4880,   12103.6, 12756.3, 6794,
                                           142984,  120536, 51118,   49532,   2274};
  EXPECT_EQ(planets.Diameter, expected);
}

TEST_F(FreshScene, DistancesInKilometres) {
  const std::array<double, 10> expected = {
      0,         57910000,   108200000,    149600000,    227940000,
      778330000, 1429400000, 2870990000.0, 4504000000.0, 5913520000.0};
  EXPECT_EQ(planets.Distance, expected);
}

// The eighth has a test of its own, below.
TEST_F(FreshScene, PeriodsInDays) {
  planets.Period[8] = 0;
  const std::array<double, 10> expected = {0,      88,      225,     365, 687,
                                           4343.5, 10767.5, 30660.0, 0,   90410.5};
  EXPECT_EQ(planets.Period, expected);
}

// 60152 itself is 0x40ED5F0000000000.
TEST_F(FreshScene, EighthPeriodIsOneUnitInTheLastPlaceAbove60152) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(planets.Period[8]), 0x40ED5F0000000001u);
}

TEST_F(FreshScene, InitTablesRestoresChangedEntries) {
  planets.Diameter[3] = 1;
  planets.Distance[0] = 2;
  planets.Period[8] = 60152;
  planets.InitTables();
  EXPECT_EQ(planets.Diameter[3], 12756.3);
  EXPECT_EQ(planets.Distance[0], 0.0);
  EXPECT_GT(planets.Period[8], 60152.0);
}

TEST(LoadOptions, MissingFileTurnsBothOnAndCreatesNothing) {
  SettingsCase c;
  EXPECT_EQ(c.Loaded(), Options(1, 1));
  EXPECT_FALSE(std::filesystem::exists(c.ini));
}

TEST(LoadOptions, DirectoryOfThatNameCountsAsNoFile) {
  SettingsCase c;
  std::filesystem::create_directory(c.ini);
  EXPECT_EQ(c.Loaded(), Options(1, 1));
  EXPECT_TRUE(std::filesystem::is_directory(c.ini));
}

TEST(LoadOptions, MissingBytesReadAsOn) {
  SettingsCase c;
  EXPECT_EQ(c.LoadedFrom({}), Options(1, 1));
  EXPECT_EQ(c.LoadedFrom({0}), Options(0, 1));
}

TEST(LoadOptions, FirstByteIsTheCometAndSecondTheOrbits) {
  SettingsCase c;
  EXPECT_EQ(c.LoadedFrom({0, 1}), Options(0, 1));
  EXPECT_EQ(c.LoadedFrom({1, 0}), Options(1, 0));
  EXPECT_EQ(c.LoadedFrom({0, 0}), Options(0, 0));
  EXPECT_EQ(c.LoadedFrom({1, 1}), Options(1, 1));
}

TEST(LoadOptions, BytesTwoTo255AreTakenAsTheyAre) {
  SettingsCase c;
  for (int value = 2; value <= 255; ++value) {
    const auto comet = static_cast<std::uint8_t>(value);
    const auto orbits = static_cast<std::uint8_t>(257 - value);
    EXPECT_EQ(c.LoadedFrom({comet, orbits}), Options(comet, orbits));
  }
}

TEST(LoadOptions, BytesAfterTheSecondAreIgnored) {
  SettingsCase c;
  EXPECT_EQ(c.LoadedFrom({0, 1, 0, 0, 9}), Options(0, 1));
  EXPECT_EQ(ReadBytes(c.ini), (Bytes{0, 1, 0, 0, 9}));
}

TEST(LoadOptions, FileHeldByAnotherStreamRaisesOpenErrorAndAssignsNothing) {
  SettingsCase c;
  WriteBytes(c.ini, {0, 0});
  TFileStream holder(c.ini, fmOpenRead);
  EXPECT_EQ(MessageRaised<EFOpenError>([&] { c.planets.LoadOptions(); }),
            "Cannot open file " + c.ini);
  EXPECT_EQ(OptionsOf(c.planets), Options(77, 88));
}

TEST(LoadOptions, FreshSceneKeepsBothOptionsOnAfterAnOpenError) {
  SettingsCase c(kAsMade);
  WriteBytes(c.ini, {0, 0});
  TFileStream holder(c.ini, fmOpenRead);
  EXPECT_THROW(c.planets.LoadOptions(), EFOpenError);
  EXPECT_EQ(OptionsOf(c.planets), Options(1, 1));
}

TEST(SaveOptions, WritesExactlyTheTwoOptionBytes) {
  SettingsCase c;
  EXPECT_EQ(c.Saved(1, 0), (Bytes{1, 0}));
  EXPECT_EQ(c.Saved(0, 1), (Bytes{0, 1}));
}

TEST(SaveOptions, RecreatesALongerFileAsTwoBytes) {
  SettingsCase c;
  WriteBytes(c.ini, {9, 9, 9, 9, 9});
  EXPECT_EQ(c.Saved(1, 1), (Bytes{1, 1}));
}

TEST(SaveOptions, FileHeldByAnotherStreamRaisesCreateErrorAndStaysUnchanged) {
  SettingsCase c;
  WriteBytes(c.ini, {7, 8, 9});
  c.planets.ShowComet = 0;
  c.planets.ShowOrbits = 0;
  {
    TFileStream holder(c.ini, fmOpenRead);
    EXPECT_EQ(MessageRaised<EFCreateError>([&] { c.planets.SaveOptions(); }),
              "Cannot create file " + c.ini);
  }
  EXPECT_EQ(ReadBytes(c.ini), (Bytes{7, 8, 9}));
  EXPECT_EQ(OptionsOf(c.planets), Options(0, 0));
}

TEST(SaveOptions, DirectoryInTheWayRaisesCreateError) {
  SettingsCase c;
  std::filesystem::create_directory(c.ini);
  EXPECT_THROW(c.planets.SaveOptions(), EFCreateError);
  EXPECT_TRUE(std::filesystem::is_directory(c.ini));
}

TEST(SaveOptions, WhatOneSceneSavesAnotherLoads) {
  SettingsCase saver;
  saver.Saved(0, 1);

  TPlanets loader(nullptr);
  loader.IniFile = saver.ini;
  loader.LoadOptions();
  EXPECT_EQ(OptionsOf(loader), Options(0, 1));
}
