// Choosing the saver's mode from the first command-line argument.
#include "app/Mode.h"

#include <gtest/gtest.h>

using Args = std::vector<std::string>;

TEST(SelectMode, NoArgumentSelectsNothing) {
  EXPECT_EQ(SelectMode({}), SaverMode::None);
}

TEST(SelectMode, SlashSRunsFullScreenInEitherCase) {
  EXPECT_EQ(SelectMode(Args{"/s"}), SaverMode::FullScreen);
  EXPECT_EQ(SelectMode(Args{"/S"}), SaverMode::FullScreen);
}

TEST(SelectMode, SlashPRunsThePreviewWithOrWithoutAHandle) {
  EXPECT_EQ(SelectMode(Args{"/p", "1234"}), SaverMode::Preview);
  EXPECT_EQ(SelectMode(Args{"/P", "1234"}), SaverMode::Preview);
  EXPECT_EQ(SelectMode(Args{"/p"}), SaverMode::Preview);
}

TEST(SelectMode, SAndPMustBeTheWholeArgument) {
  EXPECT_EQ(SelectMode(Args{"/s:1"}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"/s1"}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"/s "}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"s"}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"-s"}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"/p:1234"}), SaverMode::None);
}

TEST(SelectMode, SlashCAnywhereOpensTheOptions) {
  EXPECT_EQ(SelectMode(Args{"/c"}), SaverMode::Options);
  EXPECT_EQ(SelectMode(Args{"/c:1234"}), SaverMode::Options);
  EXPECT_EQ(SelectMode(Args{"x/cy"}), SaverMode::Options);
  EXPECT_EQ(SelectMode(Args{"/S/c"}), SaverMode::Options);
}

TEST(SelectMode, UpperCaseSlashCSelectsNothing) {
  EXPECT_EQ(SelectMode(Args{"/C"}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"/C:1234"}), SaverMode::None);
}

TEST(SelectMode, OnlyTheFirstArgumentDecides) {
  EXPECT_EQ(SelectMode(Args{"/s", "/c"}), SaverMode::FullScreen);
  EXPECT_EQ(SelectMode(Args{"/x", "/c"}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"/x", "/s"}), SaverMode::None);
}

TEST(SelectMode, OnlyLettersAToZAreLowerCased) {
  EXPECT_EQ(SelectMode(Args{"\\s"}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"/\xD3"}), SaverMode::None);
  EXPECT_EQ(SelectMode(Args{"/\xF3"}), SaverMode::None);
}

TEST(SelectMode, AnEmptyArgumentSelectsNothing) {
  EXPECT_EQ(SelectMode(Args{""}), SaverMode::None);
}
