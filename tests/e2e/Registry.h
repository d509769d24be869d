// Registry text values as the tests read, set and put back, under the current user unless
// another root is given.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// A REG_SZ value (null `value`: the key's default value), or nothing when there is none.
std::optional<std::string> readString(const char* key, const char* value,
                                      HKEY root = HKEY_CURRENT_USER);
// Writes a REG_SZ value, making its key when needed; deletes the value for nothing.
void writeString(const char* key, const char* value, const std::optional<std::string>& text,
                 HKEY root = HKEY_CURRENT_USER);

}  // namespace e2e
