// Registry text values through RegGetValue and RegSetKeyValue, which open and close the key.
#include "tests/e2e/Registry.h"

#include <array>

namespace e2e {

std::optional<std::string> readString(const char* key, const char* value, HKEY root) {
  std::array<char, 1024> buffer{};
  DWORD size = buffer.size();
  if (RegGetValueA(root, key, value, RRF_RT_REG_SZ, nullptr, buffer.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(buffer.data());
}

void writeString(const char* key, const char* value, const std::optional<std::string>& text,
                 HKEY root) {
  if (text) {
    RegSetKeyValueA(root, key, value, REG_SZ, text->c_str(), static_cast<DWORD>(text->size() + 1));
  } else {
    RegDeleteKeyValueA(root, key, value);
  }
}

}  // namespace e2e
