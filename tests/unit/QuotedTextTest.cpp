// Echoing what the user gave in a message: always one line, never a terminal escape.
#include "hack/QuotedText.h"

#include <gtest/gtest.h>

namespace {

TEST(QuotedText, PrintableAsciiStaysAsItIsBetweenQuotes) {
  EXPECT_EQ(QuotedText(":0.1 --root 0x2C ~"), "':0.1 --root 0x2C ~'");
  EXPECT_EQ(QuotedText(""), "''");
}

TEST(QuotedText, ControlAndNonAsciiBytesAreEscaped) {
  EXPECT_EQ(QuotedText("12\n34"), "'12\\n34'");
  EXPECT_EQ(QuotedText("\x1b[2J\t\r\\"), "'\\x1b[2J\\t\\r\\\\'");
  EXPECT_EQ(QuotedText(std::string("\0\x7f\x9b\xff", 4)), "'\\x00\\x7f\\x9b\\xff'");
}

}  // namespace
