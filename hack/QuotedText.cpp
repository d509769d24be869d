// Quoting for messages. Bytes above 0x7e are escaped too: whether they print depends on the
// terminal's character set, and 0x9b is an escape in 8-bit terminals.
#include "hack/QuotedText.h"

std::string QuotedText(std::string_view text) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  std::string quoted = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n':
        quoted += "\\n";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      default:
        if (byte >= 0x20 && byte < 0x7f) {
          quoted += c;
        } else {
          quoted += "\\x";
          quoted += kHexDigits[byte >> 4];
          quoted += kHexDigits[byte & 0xf];
        }
    }
  }
  return quoted + "'";
}
