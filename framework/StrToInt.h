// The framework's conversion of a text to a signed 32-bit integer, as the
// preview uses it for its host window handle. Portable.
#pragma once

#include <cstdint>
#include <string>

// Accepted: leading spaces (no other blanks), then either an optional sign and
// decimal digits within -2147483648..2147483647, or hexadecimal digits after
// "$", "x", "X", "0x" or "0X" (no sign) up to FFFFFFFF, read as 32-bit two's
// complement ("$FFFFFFFF" is -1). At least one digit; nothing may follow.
// Throws EConvertError "'<text>' is not a valid integer value" otherwise.
std::int32_t StrToInt(const std::string& text);

// As StrToInt, but reports failure by returning false and leaves value unchanged.
bool TryStrToInt(const std::string& text, std::int32_t& value);
