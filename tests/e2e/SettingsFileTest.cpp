// The full-screen saver with each kind of settings file beside it: the picture shows the comet
// and the orbit lines as the file's two bytes say, a file it cannot open is reported before its
// window appears and the saver runs on, and the saver never changes or creates the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/ExceptionBoxes.h"
#include "tests/e2e/OptionsDialog.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"

namespace e2e {
namespace {

struct SettingsCase {
  const char* name;
  std::optional<Bytes> file;  // nothing: there is no settings file
  kit::SceneOptions options;
};

void PrintTo(const SettingsCase& settings, std::ostream* out) {
  if (!settings.file) {
    *out << "no settings file";
    return;
  }
  *out << "settings bytes {";
  for (size_t i = 0; i < settings.file->size(); ++i)
    *out << (i > 0 ? ", " : "") << int{(*settings.file)[i]};
  *out << "}";
}

void expectEndsWithStatusZeroOnAKey(const SaverProcess& saver) {
  ASSERT_TRUE(saver.waitForForeground()) << "the saver is not the foreground window";
  pressKey('A');
  EXPECT_EQ(saver.wait(), 0) << "the saver is still running";
}

bool isEmptyFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return false;
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    const std::string name = entry.cFileName;
    empty = empty && (name == "." || name == "..");
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return empty;
}

std::vector<WindowInfo> childrenOfClass(HWND parent, const std::string& className) {
  std::vector<WindowInfo> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const WindowInfo info = describeWindow(child);
    if (info.className == className) found.push_back(info);
  }
  return found;
}

// The error (stop) icon is a red disc; the other message-box icons are yellow or blue.
bool isIconRed(const Picture& icon) {
  const auto red = std::count_if(icon.pixels.begin(), icon.pixels.end(), [](std::uint32_t pixel) {
    return ((pixel >> 16) & 0xFF) >= 160 && ((pixel >> 8) & 0xFF) <= 90 && (pixel & 0xFF) <= 90;
  });
  return !icon.pixels.empty() && static_cast<size_t>(red) * 4 >= icon.pixels.size();
}

bool showsTheErrorIcon(HWND box) {
  for (const WindowInfo& control : childrenOfClass(box, "Static")) {
    if ((control.style & SS_TYPEMASK) != SS_ICON ||
        SendMessageA(control.handle, STM_GETICON, 0, 0) == 0)
      continue;
    if (isIconRed(captureScreen(control.rect))) return true;
  }
  return false;
}

// A private copy of the saver, started with "/s" from its own folder, so that the settings
// file beside it is the test's alone; the saver ends before its folder goes.
class FullScreenSaverWithSettings : public testing::Test {
protected:
  SaverFolder& folder() { return folder_; }
  SaverProcess& saver() { return *saver_; }

  void startSaver() {
    ASSERT_TRUE(waitForNoScene()) << "an earlier saver's picture stays on the screen";
    saver_.emplace("/s", folder_.saver());
  }

  // Starts the saver and waits for its full-screen window, without an exception box.
  void startSaverAndWaitForItsWindow() {
    startSaver();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(saver_->waitForFullScreenWindow().has_value()) << "no full-screen window appeared";
    EXPECT_TRUE(exceptionBoxesOf(saver_->id()).empty()) << "the saver reported an error";
  }

  // The saver's exception box once there is one, or null; tells whether a full-screen window
  // of the saver showed before it.
  HWND waitForExceptionBox(bool& windowCameFirst) {
    HWND box = nullptr;
    windowCameFirst = false;
    waitUntil(
        [&] {
          for (const WindowInfo& window : saver_->visibleWindows()) {
            windowCameFirst = windowCameFirst || coversScreen(window);
          }
          const std::vector<HWND> boxes = exceptionBoxesOf(saver_->id());
          if (!boxes.empty()) box = boxes.front();
          return box != nullptr || !saver_->running();
        },
        kPatience);
    return box;
  }

private:
  SaverFolder folder_;
  std::optional<SaverProcess> saver_;
};

class FullScreenSaverPicture : public FullScreenSaverWithSettings,
                               public testing::WithParamInterface<SettingsCase> {};

TEST_P(FullScreenSaverPicture, ShowsTheCometAndTheOrbitLinesAsTheFileSaysAndLeavesTheFileAlone) {
  if (GetParam().file) folder().writeSettings(*GetParam().file);
  startSaverAndWaitForItsWindow();
  if (HasFatalFailure()) return;

  kit::expectScene(watchScene(), GetParam().options);
  expectEndsWithStatusZeroOnAKey(saver());
  EXPECT_EQ(folder().settings(), GetParam().file) << "the settings file changed";
}

// Byte 0 is the comet, byte 1 the orbits, 0 off and anything else on; without a file both
// are on. How files with more or fewer bytes read is held by the scene's own tests.
INSTANTIATE_TEST_SUITE_P(SettingsFile, FullScreenSaverPicture,
                         testing::Values(SettingsCase{"Missing", std::nullopt, {true, true}},
                                         SettingsCase{"OrbitsOnly", Bytes{0, 200}, {false, true}},
                                         SettingsCase{"CometOnly", Bytes{7, 0}, {true, false}}),
                         [](const testing::TestParamInfo<SettingsCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(FullScreenSaverWithSettings, ReadsTheFileInAFolderNamedOutsideTheCodePage) {
  folder().extendName("中文 русский 🪐");
  folder().writeSettings(Bytes{0, 0});
  startSaverAndWaitForItsWindow();
  if (HasFatalFailure()) return;

  kit::expectScene(watchScene(), {false, false});
  expectEndsWithStatusZeroOnAKey(saver());
}

TEST_F(FullScreenSaverWithSettings,
       ReportsAFileItCannotOpenBeforeItsWindowThenRunsWithBothOptionsOn) {
  const Bytes stored{0, 0};
  folder().writeSettings(stored);
  folder().holdSettings();
  startSaver();
  if (HasFatalFailure()) return;

  bool windowCameFirst = false;
  const HWND box = waitForExceptionBox(windowCameFirst);
  ASSERT_NE(box, nullptr) << "no exception box appeared";
  EXPECT_FALSE(windowCameFirst) << "the full-screen window showed before the box";
  EXPECT_EQ(exceptionBoxText(box), "Cannot open file " + folder().settingsFile() + ".");
  // The box may not be painted yet when it is found.
  EXPECT_TRUE(waitUntil([&] { return showsTheErrorIcon(box); }, kPatience))
      << "the box shows no error icon";
  const std::vector<WindowInfo> buttons = childrenOfClass(box, "Button");
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons.front().text, "OK");

  pressOk(box);
  ASSERT_TRUE(saver().waitForFullScreenWindow().has_value())
      << "no full-screen window after the box";
  kit::expectScene(watchScene());
  expectEndsWithStatusZeroOnAKey(saver());
  folder().releaseSettings();
  EXPECT_EQ(folder().settings(), stored) << "the settings file changed";
}

TEST_F(FullScreenSaverWithSettings, TakesAFolderNamedLikeTheFileForNoFile) {
  folder().makeSettingsAFolder();
  startSaverAndWaitForItsWindow();
  if (HasFatalFailure()) return;

  kit::expectScene(watchScene());
  expectEndsWithStatusZeroOnAKey(saver());
  EXPECT_TRUE(isEmptyFolder(folder().settingsFile())) << "the folder was changed or replaced";
}

}  // namespace
}  // namespace e2e
