// Mode selection from the first command-line argument.
#include "app/Mode.h"

namespace {

// Only A-Z change: bytes from 128 up stay as they are, whatever the locale.
std::string lowerCaseAtoZ(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

}  // namespace

SaverMode SelectMode(const std::vector<std::string>& arguments) {
  if (arguments.empty()) {
    return SaverMode::None;
  }
  const std::string& first = arguments.front();
  const std::string lowered = lowerCaseAtoZ(first);
  if (lowered == "/s") {
    return SaverMode::FullScreen;
  }
  if (lowered == "/p") {
    return SaverMode::Preview;
  }
  if (first.find("/c") != std::string::npos) {
    return SaverMode::Options;
  }
  return SaverMode::None;
}
