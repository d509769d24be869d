// Reading velorium's command line. Every option is matched whole; nothing is abbreviated.
#include "hack/HackCommandLine.h"

#include <charconv>

const char kHackUsage[] =
    "usage: velorium [options]\n"
    "  --root             draw into the window in XSCREENSAVER_WINDOW, else the root window\n"
    "  --window-id ID     draw into window ID (decimal or 0x hexadecimal); wins over --root\n"
    "  --window           draw into a window of its own (the default)\n"
    "  --comet, --no-comet     show the comet (on by default)\n"
    "  --orbits, --no-orbits   show the orbit lines (on by default)\n"
    "  --fps              show the frames per second in a corner\n"
    "  --display NAME     the X display to use\n"
    "  --help             show this text\n"
    "Options may start with one dash or two.\n";

namespace {

// The option's name without its leading dashes; empty for a word that is not an option.
std::string_view OptionName(std::string_view word) {
  if (word.size() >= 2 && word.substr(0, 2) == "--") return word.substr(2);
  if (word.size() >= 1 && word[0] == '-') return word.substr(1);
  return {};
}

HackCommand Failure(HackCommand::Kind kind, std::string error) {
  HackCommand command;
  command.kind = kind;
  command.error = std::move(error);
  return command;
}

}  // namespace

std::optional<std::uint32_t> ParseWindowId(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  // from_chars would take a sign; a window id has none.
  if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (error != std::errc() || stop != end || value == 0) return std::nullopt;
  return value;
}

HackCommand ParseHackCommandLine(const std::vector<std::string>& arguments,
                                 std::optional<std::string_view> screensaverWindow) {
  HackCommand command;
  HackOptions& options = command.options;
  bool root = false;
  std::optional<std::string> windowIdText;
  for (std::size_t k = 0; k < arguments.size(); ++k) {
    const std::string& word = arguments[k];
    std::string_view name = OptionName(word);
    // The options that take a value read the next word, whatever it looks like.
    if (name == "window-id" || name == "display") {
      if (k + 1 == arguments.size()) {
        return Failure(HackCommand::Kind::Usage, "option '" + word + "' needs a value");
      }
      (name == "display" ? options.display : windowIdText.emplace()) = arguments[++k];
    } else if (name == "root") {
      root = true;
    } else if (name == "window") {
      root = false;
    } else if (name == "comet" || name == "no-comet") {
      options.comet = name == "comet";
    } else if (name == "orbits" || name == "no-orbits") {
      options.orbits = name == "orbits";
    } else if (name == "fps") {
      options.fps = true;
    } else if (name == "help") {
      command.kind = HackCommand::Kind::Help;
      return command;
    } else {
      return Failure(HackCommand::Kind::Usage, "unknown option '" + word + "'");
    }
  }
  if (windowIdText) {
    std::optional<std::uint32_t> id = ParseWindowId(*windowIdText);
    if (!id) return Failure(HackCommand::Kind::Error, "'" + *windowIdText + "' is not a window id");
    options.target = HackTarget::WindowId;
    options.windowId = *id;
  } else if (root) {
    options.target = HackTarget::Root;
    if (screensaverWindow) {
      std::optional<std::uint32_t> id = ParseWindowId(*screensaverWindow);
      if (!id) {
        return Failure(HackCommand::Kind::Error, "XSCREENSAVER_WINDOW '" +
                                                     std::string(*screensaverWindow) +
                                                     "' is not a window id");
      }
      options.windowId = *id;
    }
  }
  return command;
}
