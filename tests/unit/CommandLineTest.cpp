// Splitting the command line into words by the program's own rules.
#include "framework/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Words = std::vector<std::string>;

TEST(SplitCommandLine, PathAndArgumentsAsTheSystemStartsTheSaver) {
  EXPECT_EQ(SplitCommandLine("C:\\WINDOWS\\Velorium.scr /s"),
            (Words{"C:\\WINDOWS\\Velorium.scr", "/s"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Velorium.scr\" /p 1234"),
            (Words{"C:\\Program Files\\Velorium.scr", "/p", "1234"}));
  EXPECT_EQ(SplitCommandLine("Velorium.scr /c:4567"), (Words{"Velorium.scr", "/c:4567"}));
}

TEST(SplitCommandLine, RunsOfControlCharactersSeparate) {
  EXPECT_EQ(SplitCommandLine("  prog \t\r\n\x01\x1F a\x0B\x0C b   "), (Words{"prog", "a", "b"}));
}

TEST(SplitCommandLine, HighBytesAndDeleteAreWordBytes) {
  EXPECT_EQ(SplitCommandLine("prog \xE9t\xC3\xA9 \xA0x\x7F"),
            (Words{"prog", "\xE9t\xC3\xA9", "\xA0x\x7F"}));
}

TEST(SplitCommandLine, QuotedStretchesJoinTheirWordWithoutQuotes) {
  EXPECT_EQ(SplitCommandLine("prog a\"b c\"d \"e\"f"), (Words{"prog", "ab cd", "ef"}));
  EXPECT_EQ(SplitCommandLine("prog a\"\"b"), (Words{"prog", "ab"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\My Dir\\v.scr\"/s"), (Words{"C:\\My Dir\\v.scr/s"}));
}

TEST(SplitCommandLine, BackslashesAreOrdinary) {
  EXPECT_EQ(SplitCommandLine("prog \"a\\\"b\""), (Words{"prog", "a\\b"}));
}

TEST(SplitCommandLine, UnterminatedQuoteRunsToTheEnd) {
  EXPECT_EQ(SplitCommandLine("prog a \" b  c"), (Words{"prog", "a", " b  c"}));
  EXPECT_EQ(SplitCommandLine("prog x\"y"), (Words{"prog", "xy"}));
}

TEST(SplitCommandLine, PairsOfQuotesBeforeAWordAreSkipped) {
  EXPECT_EQ(SplitCommandLine("prog \"\" a"), (Words{"prog", "a"}));
  EXPECT_EQ(SplitCommandLine("prog \"\" \"\"\t\"\" a"), (Words{"prog", "a"}));
  EXPECT_EQ(SplitCommandLine("prog \"\"\"\" a"), (Words{"prog", "a"}));
  EXPECT_EQ(SplitCommandLine("prog \"\"a"), (Words{"prog", "a"}));
  EXPECT_EQ(SplitCommandLine("prog a \"\" b"), (Words{"prog", "a", "b"}));
  EXPECT_EQ(SplitCommandLine("prog \"\""), (Words{"prog"}));
  EXPECT_EQ(SplitCommandLine("\"\" prog"), (Words{"prog"}));
}

TEST(SplitCommandLine, ThirdQuoteAfterAPairOpensAStretch) {
  EXPECT_EQ(SplitCommandLine("prog \"\"\" a"), (Words{"prog", " a"}));
}

TEST(SplitCommandLine, LoneQuoteAtTheEndEndsTheWords) {
  EXPECT_EQ(SplitCommandLine("prog a \""), (Words{"prog", "a"}));
  EXPECT_EQ(SplitCommandLine("prog a \"\"\""), (Words{"prog", "a"}));
  EXPECT_EQ(SplitCommandLine("prog \""), (Words{"prog"}));
}

TEST(SplitCommandLine, NulEndsTheText) {
  EXPECT_EQ(SplitCommandLine(std::string_view("prog a\0b c", 10)), (Words{"prog", "a"}));
}

TEST(SplitCommandLine, EmptyOrBlankTextHasOnlyAnEmptyPath) {
  EXPECT_EQ(SplitCommandLine(""), (Words{""}));
  EXPECT_EQ(SplitCommandLine(" \t "), (Words{""}));
  EXPECT_EQ(SplitCommandLine("\""), (Words{""}));
}

TEST(CommandLineWord, PicksOneWordOrNothing) {
  const std::string line = "\"C:\\Program Files\\Velorium.scr\" /p 1234";
  EXPECT_EQ(CommandLineWord(line, 0), "C:\\Program Files\\Velorium.scr");
  EXPECT_EQ(CommandLineWord(line, 1), "/p");
  EXPECT_EQ(CommandLineWord(line, 2), "1234");
  EXPECT_EQ(CommandLineWord(line, 3), "");
  EXPECT_EQ(CommandLineWord(line, -1), "");
  EXPECT_EQ(CommandLineWord("Velorium.scr /p", 2), "");
}
