// The framework's text-to-integer conversion: accepted forms, limits and failures.
#include "framework/StrToInt.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "framework/SysUtils.h"
#include "tests/kit/Raised.h"

namespace {

void expectRejected(const std::string& text) {
  SCOPED_TRACE("text: '" + text + "'");
  std::int32_t value = 77;
  EXPECT_FALSE(TryStrToInt(text, value));
  EXPECT_EQ(value, 77);
  EXPECT_THROW(StrToInt(text), EConvertError);
}

}  // namespace

TEST(StrToInt, DecimalWithOptionalSign) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("12"), 12);
  EXPECT_EQ(StrToInt("+12"), 12);
  EXPECT_EQ(StrToInt("-12"), -12);
  EXPECT_EQ(StrToInt("-0"), 0);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("1836534"), 1836534);
}

TEST(StrToInt, LeadingSpacesAreSkipped) {
  EXPECT_EQ(StrToInt(" 12"), 12);
  EXPECT_EQ(StrToInt("    -5"), -5);
  EXPECT_EQ(StrToInt("  $10"), 16);
}

TEST(StrToInt, DecimalLimitsAreThoseOf32Bits) {
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToInt("+2147483647"), INT32_MAX);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("0000000000002147483647"), INT32_MAX);
  expectRejected("2147483648");
  expectRejected("-2147483649");
  expectRejected("99999999999");
  expectRejected("-99999999999999999999999999");
}

TEST(StrToInt, EveryHexadecimalPrefix) {
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("x1f"), 31);
  EXPECT_EQ(StrToInt("X1f"), 31);
  EXPECT_EQ(StrToInt("0x1F"), 31);
  EXPECT_EQ(StrToInt("0XaBc"), 2748);
  EXPECT_EQ(StrToInt("$0000000001"), 1);
}

TEST(StrToInt, HexadecimalIsThirtyTwoBitTwosComplement) {
  EXPECT_EQ(StrToInt("$7FFFFFFF"), INT32_MAX);
  EXPECT_EQ(StrToInt("$80000000"), INT32_MIN);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("0xfffffffe"), -2);
  expectRejected("$100000000");
  expectRejected("0x123456789");
}

TEST(StrToInt, NoDigitsIsNoNumber) {
  expectRejected("");
  expectRejected(" ");
  expectRejected("+");
  expectRejected("-");
  expectRejected("$");
  expectRejected("x");
  expectRejected("0x");
  expectRejected("0X");
}

TEST(StrToInt, NothingMayFollowTheDigits) {
  expectRejected("12a");
  expectRejected("12 ");
  expectRejected("1 2");
  expectRejected("1.0");
  expectRejected("1e3");
  expectRejected("$1G");
}

TEST(StrToInt, OtherFormsAreRefused) {
  expectRejected("\t12");
  expectRejected("- 1");
  expectRejected("--1");
  expectRejected("-$10");
  expectRejected("+0x10");
  expectRejected("$-1");
  expectRejected("$ 1");
  expectRejected("0x 1");
  expectRejected("\xD9\xA3");
}

TEST(StrToInt, FailureNamesTheText) {
  EXPECT_EQ(MessageRaised<EConvertError>([] { StrToInt("12a"); }),
            "'12a' is not a valid integer value");
  EXPECT_EQ(MessageRaised<EConvertError>([] { StrToInt(""); }), "'' is not a valid integer value");
}

TEST(TryStrToInt, StoresTheValueOnSuccess) {
  std::int32_t value = 0;
  EXPECT_TRUE(TryStrToInt("$FFFFFFFF", value));
  EXPECT_EQ(value, -1);
  EXPECT_TRUE(TryStrToInt(" -2147483648", value));
  EXPECT_EQ(value, INT32_MIN);
}
