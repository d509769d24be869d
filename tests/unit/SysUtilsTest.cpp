#include "framework/SysUtils.h"

#include <gtest/gtest.h>

TEST(ExceptionDisplayText, AddsAFullStopAfterALetterOrDigit) {
  EXPECT_EQ(ExceptionDisplayText("Cannot open file C:\\x"), "Cannot open file C:\\x.");
  EXPECT_EQ(ExceptionDisplayText("'12a' is not a valid integer value"),
            "'12a' is not a valid integer value.");
  EXPECT_EQ(ExceptionDisplayText("code 7"), "code 7.");
}

TEST(ExceptionDisplayText, LeavesPunctuationAtOrBelowAFullStopAlone) {
  EXPECT_EQ(ExceptionDisplayText("Done."), "Done.");
  EXPECT_EQ(ExceptionDisplayText("Stop!"), "Stop!");
  EXPECT_EQ(ExceptionDisplayText("a, b,"), "a, b,");
  EXPECT_EQ(ExceptionDisplayText("(x)"), "(x)");
  EXPECT_EQ(ExceptionDisplayText("dash-"), "dash-");
}

TEST(ExceptionDisplayText, SlashAndHighCharactersGainAFullStop) {
  EXPECT_EQ(ExceptionDisplayText("a/"), "a/.");
  EXPECT_EQ(ExceptionDisplayText("caf\xE9"), "caf\xE9.");
}

TEST(ExceptionDisplayText, EmptyMessageStaysEmpty) {
  EXPECT_EQ(ExceptionDisplayText(""), "");
}
