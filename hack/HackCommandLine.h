// The command line of velorium, the XScreenSaver hack and Wayland desktop saver: which window
// to draw into and the scene's options. Portable (no X11, no Wayland): the program hands it
// its arguments and the value of XSCREENSAVER_WINDOW, and acts on the result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where the scene is drawn.
enum class HackTarget {
  OwnWindow,   // a normal window of the program's own
  Root,        // the window named by XSCREENSAVER_WINDOW, else the screen's root window
  WindowId,    // the window given by --window-id
  FullScreen,  // every output of the Wayland desktop, until the user ends it (--full-screen)
};

// --delay: the Windows saver's 40 ms timer by default; at most a frame a second.
inline constexpr std::int64_t kDefaultDelayUs = 40'000;
inline constexpr std::int64_t kLongestDelayUs = 1'000'000;

struct HackOptions {
  HackTarget target = HackTarget::OwnWindow;
  // The window to draw into for Root (from XSCREENSAVER_WINDOW) and WindowId; 0 for Root
  // means the root window of the display's default screen.
  std::uint32_t windowId = 0;
  bool comet = true;
  bool orbits = true;
  bool fps = false;
  // The time from one frame's deadline to the next.
  std::int64_t delayUs = kDefaultDelayUs;
  // The X display to open; empty for $DISPLAY.
  std::string display;
};

struct HackCommand {
  enum class Kind {
    Run,             // draw with `options`
    Help,            // usage on standard output, status 0
    Version,         // "velorium <version>" on standard output, status 0
    AddToList,       // add velorium to the user's XScreenSaver list
    RemoveFromList,  // take it out again
    Usage,           // usage on standard error after `error`, status 1
    Error,           // `error` alone on standard error, status 1
  };
  Kind kind = Kind::Run;
  HackOptions options;
  // One line without the program's name or a newline, for Usage and Error.
  std::string error;
};

// Options start with one or two dashes alike: -root and --root are the same. --window-id
// wins over --root and --window wherever it stands; of --root and --window the last wins, and
// of --full-screen and --window. --full-screen with --root, --window-id, --display or
// XSCREENSAVER_WINDOW set is a usage error: one place to draw at a time.
// --display, --window-id and --delay take the next argument as their value. --help,
// --version and the list options are actions: the last word, with options before them
// ignored and any word after them a usage error.
// screensaverWindow is the environment's XSCREENSAVER_WINDOW, or nullopt when it is not set.
HackCommand ParseHackCommandLine(const std::vector<std::string>& arguments,
                                 std::optional<std::string_view> screensaverWindow);

// The arguments after the program's name: none when argc is 0 or argv is null (an exec with
// an empty argument list).
std::vector<std::string> HackArguments(int argc, const char* const* argv);

// A window id as XScreenSaver writes it: "0x" or "0X" and hexadecimal digits, or decimal
// digits; nothing else around them, not 0 (no window), at most 32 bits.
std::optional<std::uint32_t> ParseWindowId(std::string_view text);

// The usage text, several lines ending with a newline, made from the same table of options
// as the parser.
std::string HackUsage();
