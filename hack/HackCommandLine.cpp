// Reading velorium's command line. Every option is matched whole; nothing is abbreviated.
// One table holds the options: the parser looks them up in it and the usage lists it.
#include "hack/HackCommandLine.h"

#include <charconv>

#include "hack/QuotedText.h"

namespace {

// What reading the command line has found so far.
struct Reading {
  HackCommand command;
  bool root = false;
  bool fullScreen = false;
  std::optional<std::string> windowIdText;
};

struct Option {
  std::string_view name;       // without dashes
  std::string_view valueName;  // the value's name in the usage; empty for an option without one
  std::string_view help;
  // Takes the option (and its value) into `reading`; an error ends the reading.
  std::optional<std::string> (*take)(Reading& reading, const std::string& value);
};

using Kind = HackCommand::Kind;

std::optional<std::string> Taken() {
  return std::nullopt;
}

std::optional<std::string> Ends(Reading& reading, Kind kind) {
  reading.command.kind = kind;
  return std::nullopt;
}

std::optional<std::string> TakeDelay(Reading& reading, const std::string& value) {
  std::int64_t delayUs = -1;
  const char* end = value.data() + value.size();
  // from_chars would take a minus sign; a delay has none.
  auto [stop, error] = std::from_chars(value.data(), end, delayUs);
  if (value.empty() || value[0] == '-' || error != std::errc() || stop != end ||
      delayUs > kLongestDelayUs) {
    return "'--delay' takes a whole number of microseconds from 0 to " +
           std::to_string(kLongestDelayUs) + ", not " + QuotedText(value);
  }
  reading.command.options.delayUs = delayUs;
  return std::nullopt;
}

// Lines of the usage in this order; the options without help share the line before theirs.
constexpr Option kOptions[] = {
    {"root", "", "draw into the window in XSCREENSAVER_WINDOW, else the root window",
     [](Reading& r, const std::string&) {
       r.root = true;
       return Taken();
     }},
    {"window-id", "ID", "draw into window ID (decimal or 0x hexadecimal); wins over --root",
     [](Reading& r, const std::string& value) {
       r.windowIdText = value;
       return Taken();
     }},
    {"window", "", "draw into a window of its own (the default)",
     [](Reading& r, const std::string&) {
       r.root = false;
       r.fullScreen = false;
       return Taken();
     }},
    {"full-screen", "", "cover every screen of the Wayland desktop until a key, click or move",
     [](Reading& r, const std::string&) {
       r.fullScreen = true;
       return Taken();
     }},
    {"comet", "", "show the comet (on by default)",
     [](Reading& r, const std::string&) {
       r.command.options.comet = true;
       return Taken();
     }},
    {"no-comet", "", "",
     [](Reading& r, const std::string&) {
       r.command.options.comet = false;
       return Taken();
     }},
    {"orbits", "", "show the orbit lines (on by default)",
     [](Reading& r, const std::string&) {
       r.command.options.orbits = true;
       return Taken();
     }},
    {"no-orbits", "", "",
     [](Reading& r, const std::string&) {
       r.command.options.orbits = false;
       return Taken();
     }},
    {"fps", "", "show the frames per second in the bottom-left corner",
     [](Reading& r, const std::string&) {
       r.command.options.fps = true;
       return Taken();
     }},
    {"delay", "MICROSECONDS", "time from one frame to the next, 0 to 1000000 (default 40000)",
     TakeDelay},
    {"display", "NAME", "the X display to use",
     [](Reading& r, const std::string& value) {
       r.command.options.display = value;
       return Taken();
     }},
    {"add-to-list", "", "add velorium to the list of hacks in ~/.xscreensaver",
     [](Reading& r, const std::string&) { return Ends(r, Kind::AddToList); }},
    {"remove-from-list", "", "take velorium out of that list",
     [](Reading& r, const std::string&) { return Ends(r, Kind::RemoveFromList); }},
    {"version", "", "show the version",
     [](Reading& r, const std::string&) { return Ends(r, Kind::Version); }},
    {"help", "", "show this text",
     [](Reading& r, const std::string&) { return Ends(r, Kind::Help); }},
};

const Option* FindOption(std::string_view name) {
  for (const Option& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// The option's name without its leading dashes; empty for a word that is not an option.
std::string_view OptionName(std::string_view word) {
  if (word.size() >= 2 && word.substr(0, 2) == "--") return word.substr(2);
  if (word.size() >= 1 && word[0] == '-') return word.substr(1);
  return {};
}

HackCommand Failure(Kind kind, std::string error) {
  HackCommand command;
  command.kind = kind;
  command.error = std::move(error);
  return command;
}

// --full-screen's conflict with another place to draw, in one line; empty when there is none.
std::string FullScreenConflict(const Reading& reading, bool screensaverWindow) {
  const char* other = reading.windowIdText                       ? "'--window-id'"
                      : reading.root                             ? "'--root'"
                      : !reading.command.options.display.empty() ? "'--display'"
                      : screensaverWindow                        ? "XSCREENSAVER_WINDOW"
                                                                 : nullptr;
  if (other == nullptr) return "";
  return std::string("'--full-screen' covers the Wayland desktop and cannot be used with ") + other;
}

// After the words: the window to draw into.
HackCommand ChooseTarget(Reading& reading, std::optional<std::string_view> screensaverWindow) {
  HackOptions& options = reading.command.options;
  if (reading.fullScreen) {
    const std::string conflict = FullScreenConflict(reading, screensaverWindow.has_value());
    if (!conflict.empty()) return Failure(Kind::Usage, conflict);
    options.target = HackTarget::FullScreen;
  } else if (reading.windowIdText) {
    std::optional<std::uint32_t> id = ParseWindowId(*reading.windowIdText);
    if (!id) return Failure(Kind::Error, QuotedText(*reading.windowIdText) + " is not a window id");
    options.target = HackTarget::WindowId;
    options.windowId = *id;
  } else if (reading.root) {
    options.target = HackTarget::Root;
    if (screensaverWindow) {
      std::optional<std::uint32_t> id = ParseWindowId(*screensaverWindow);
      if (!id) {
        return Failure(Kind::Error, "XSCREENSAVER_WINDOW " + QuotedText(*screensaverWindow) +
                                        " is not a window id");
      }
      options.windowId = *id;
    }
  }
  return reading.command;
}

}  // namespace

std::vector<std::string> HackArguments(int argc, const char* const* argv) {
  if (argc <= 1 || argv == nullptr) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

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
  Reading reading;
  for (std::size_t k = 0; k < arguments.size(); ++k) {
    const std::string& word = arguments[k];
    const Option* option = FindOption(OptionName(word));
    if (option == nullptr) return Failure(Kind::Usage, "unknown option " + QuotedText(word));
    std::string value;
    // An option that takes a value reads the next word, whatever it looks like.
    if (!option->valueName.empty()) {
      if (k + 1 == arguments.size()) {
        return Failure(Kind::Usage, "option " + QuotedText(word) + " needs a value");
      }
      value = arguments[++k];
    }
    if (std::optional<std::string> error = option->take(reading, value)) {
      return Failure(Kind::Usage, *error);
    }
    if (reading.command.kind == Kind::Run) continue;
    // An action is the last word: a word after it would be ignored, or a second action.
    if (k + 1 < arguments.size()) {
      return Failure(Kind::Usage, QuotedText(word) + " takes nothing after it, not " +
                                      QuotedText(arguments[k + 1]));
    }
    return reading.command;
  }
  return ChooseTarget(reading, screensaverWindow);
}

std::string HackUsage() {
  constexpr std::size_t kHelpColumn = 26;
  std::string usage = "usage: velorium [options]\n";
  for (std::size_t k = 0; k < std::size(kOptions); ++k) {
    const Option& option = kOptions[k];
    if (option.help.empty()) continue;
    std::string names = "  --";
    names += option.name;
    if (k + 1 < std::size(kOptions) && kOptions[k + 1].help.empty()) {
      names += ", --";
      names += kOptions[k + 1].name;
    }
    if (!option.valueName.empty()) (names += " ") += option.valueName;
    names.resize(std::max(names.size() + 1, kHelpColumn), ' ');
    ((usage += names) += option.help) += "\n";
  }
  return usage + "Options may start with one dash or two.\n";
}
