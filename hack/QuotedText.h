// What the user gave (an argument, a window id, a display name, an environment value) made
// safe to echo in a message of one line: no control byte or terminal escape gets through.
#pragma once

#include <string>
#include <string_view>

// The text between single quotes, with a newline, tab and carriage return written \n, \t
// and \r, a backslash \\, and every other byte outside printable ASCII (below 0x20, 0x7f and
// above) \xHH in lower-case hexadecimal.
std::string QuotedText(std::string_view text);
