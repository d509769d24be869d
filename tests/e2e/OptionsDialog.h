// The options dialog as a user meets it: Velorium.scr copied into a folder of its own (so
// that its settings file is the test's alone), started with "/c", its dialog found on screen.
// Controls are found by class and text and driven with the real pointer and keyboard.
#pragma once

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/SaverProcess.h"
#include "tests/kit/Bytes.h"

namespace e2e {

// Long enough for a dialog that should react to have reacted.
inline constexpr Milliseconds kReactionTime{1500};

// A fresh folder holding a copy of the saver; removed with every file in it. Paths are UTF-8.
class SaverFolder {
public:
  SaverFolder();
  ~SaverFolder();
  SaverFolder(const SaverFolder&) = delete;
  SaverFolder& operator=(const SaverFolder&) = delete;

  const std::string& path() const { return path_; }
  // Adds a space and `text` to the folder's name, before the saver starts.
  void extendName(const std::string& text);
  std::string saver() const { return path_ + "\\Velorium.scr"; }
  std::string settingsFile() const { return path_ + "\\Velorium.ini"; }

  void writeSettings(const Bytes& bytes) const;
  // The settings file's bytes, or nothing when there is no file.
  std::optional<Bytes> settings() const;
  // Holds the settings file open without sharing, as another program might, until released.
  void holdSettings();
  void releaseSettings();
  // Puts a folder where the settings file would be.
  void makeSettingsAFolder() const;
  // Copies a file into the folder under its own name; the copy goes with the folder.
  void addFile(const std::string& source) const;
  bool holds(const std::string& name) const;

private:
  std::string path_;
  HANDLE held_ = INVALID_HANDLE_VALUE;
};

// A settings file beside the saver, and the scene it asks for.
struct SettingsCase {
  const char* name;
  std::optional<Bytes> file;  // nothing: there is no settings file
  kit::SceneOptions options;
  const char* folderName = "";  // added to the saver folder's name
};

void PrintTo(const SettingsCase& settings, std::ostream* out);

// The names in a folder, each after a space, for checks and messages: "" when it is empty.
std::string namesIn(const std::string& folder);

// A control of another process's window, in the coordinates of its parent's client area.
struct ControlInfo {
  HWND handle = nullptr;
  std::string className;
  std::string text;
  RECT rect{};  // left, top, right, bottom in the parent's client area
  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
};

// Expects the control at left, top of width x height in its parent's client area.
void expectPlacedAt(const ControlInfo& control, int left, int top, int width, int height);

// The direct children of a window, in z-order (which is the tab order of dialog keys).
std::vector<ControlInfo> childrenOf(HWND parent);
// The first descendant with this window text; handle null when there is none.
ControlInfo findControl(HWND top, const std::string& text);
SIZE clientSize(HWND window);
RECT screenRectOf(HWND window);

// The visible top-level window of the process with this caption, once there is one.
std::optional<WindowInfo> waitForWindow(const SaverProcess& saver, const std::string& caption,
                                        Milliseconds timeout = kPatience);
// Whether the process still shows a visible window with this caption.
bool showsWindow(const SaverProcess& saver, const std::string& caption);
// Whether that window is gone within the timeout.
bool waitForWindowGone(const SaverProcess& saver, const std::string& caption,
                       Milliseconds timeout = kReactionTime * 4);

bool isTicked(HWND checkBox);

// Whether this top-level window is active with the keyboard focus on it or one of its controls.
bool hasKeyboardFocus(HWND window);

// The real pointer moved to a screen point. Under Wine a move is now and then refused while a
// window is up, or echoed back; false then.
bool movePointerTo(POINT screen);
// A primary-button click delivered to the control itself, at its centre.
void clickOn(HWND window);
POINT centreOf(HWND window);

// Presses a button the way the dialog keys do (BM_CLICK), without waiting for what it does.
void pressButton(HWND button);

// The point of a window's title-bar close button.
POINT closeButtonOf(HWND window);

}  // namespace e2e
