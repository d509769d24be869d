// Text to 32-bit integer by the framework's rules (see StrToInt.h).
#include "framework/StrToInt.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "framework/SysUtils.h"

namespace {

constexpr std::int64_t kDecimalMax = 2147483647;
constexpr std::int64_t kDecimalMinMagnitude = 2147483648;
constexpr std::int64_t kHexMax = 0xFFFFFFFF;

int digitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

// The value of a non-empty run of digits that fills all of text, if it is at
// most limit. Stops early once the limit is passed, so long texts cannot overflow.
std::optional<std::int64_t> readDigits(std::string_view text, int base, std::int64_t limit) {
  if (text.empty()) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  for (char c : text) {
    const int digit = digitValue(c, base);
    if (digit < 0) {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > limit) {
      return std::nullopt;
    }
  }
  return value;
}

// The digits after a hexadecimal prefix, or nothing when the text has no such prefix.
std::optional<std::string_view> hexDigits(std::string_view text) {
  for (std::string_view prefix : {"$", "0x", "0X", "x", "X"}) {
    if (text.starts_with(prefix)) {
      return text.substr(prefix.size());
    }
  }
  return std::nullopt;
}

std::optional<std::int32_t> parse(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  if (const auto hex = hexDigits(text)) {
    const auto value = readDigits(*hex, 16, kHexMax);
    if (!value) {
      return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
  }
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) {
    text.remove_prefix(1);
  }
  const auto magnitude = readDigits(text, 10, negative ? kDecimalMinMagnitude : kDecimalMax);
  if (!magnitude) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -*magnitude : *magnitude);
}

}  // namespace

bool TryStrToInt(const std::string& text, std::int32_t& value) {
  const auto parsed = parse(text);
  if (parsed) {
    value = *parsed;
  }
  return parsed.has_value();
}

std::int32_t StrToInt(const std::string& text) {
  std::int32_t value = 0;
  if (!TryStrToInt(text, value)) {
    throw EConvertError("'" + text + "' is not a valid integer value");
  }
  return value;
}
