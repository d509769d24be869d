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
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"
#include "tests/kit/CaseName.h"

namespace e2e {
namespace {

std::vector<ControlInfo> childrenOfClass(HWND parent, const std::string& className) {
  std::vector<ControlInfo> found = childrenOf(parent);
  std::erase_if(found, [&](const ControlInfo& child) { return child.className != className; });
  return found;
}

// The error (stop) icon is a red disc; the other message-box icons are yellow or blue.
bool isIconRed(const Picture& icon) {
  const auto red = std::count_if(icon.pixels.begin(), icon.pixels.end(), [](std::uint32_t pixel) {
    return kit::red(pixel) >= 160 && kit::green(pixel) <= 90 && kit::blue(pixel) <= 90;
  });
  return !icon.pixels.empty() && static_cast<size_t>(red) * 4 >= icon.pixels.size();
}

bool showsTheErrorIcon(HWND box) {
  const HWND icon = GetDlgItem(box, kit::kMessageBoxIconId);
  return icon != nullptr && SendMessageA(icon, STM_GETICON, 0, 0) != 0 &&
         isIconRed(captureScreen(screenRectOf(icon)));
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

private:
  SaverFolder folder_;
  std::optional<SaverProcess> saver_;
};

class FullScreenSaverPicture : public FullScreenSaverWithSettings,
                               public testing::WithParamInterface<SettingsCase> {};

TEST_P(FullScreenSaverPicture, ShowsTheCometAndTheOrbitLinesAsTheFileSaysAndLeavesTheFileAlone) {
  if (*GetParam().folderName != '\0') folder().extendName(GetParam().folderName);
  if (GetParam().file) folder().writeSettings(*GetParam().file);
  startSaverAndWaitForItsWindow();
  if (HasFatalFailure()) return;

  kit::expectScene(watchScene(), GetParam().options);
  expectEndsWithStatusZeroOnAKey(saver());
  EXPECT_EQ(folder().settings(), GetParam().file) << "the settings file changed";
}

// Byte 0 is the comet, byte 1 the orbits, 0 off and anything else on; without a file both
// are on. How files with more or fewer bytes read is held by the scene's own tests. The file
// is read in a folder named outside the code page too.
INSTANTIATE_TEST_SUITE_P(SettingsFile, FullScreenSaverPicture,
                         testing::Values(SettingsCase{"Missing", std::nullopt, {true, true}},
                                         SettingsCase{"OrbitsOnly", Bytes{0, 200}, {false, true}},
                                         SettingsCase{"CometOnly", Bytes{7, 0}, {true, false}},
                                         SettingsCase{"NeitherInAFolderNamedOutsideTheCodePage",
                                                      Bytes{0, 0},
                                                      {false, false},
                                                      "中文 русский 🪐"}),
                         kit::CaseName());

TEST_F(FullScreenSaverWithSettings,
       ReportsAFileItCannotOpenBeforeItsWindowThenRunsWithBothOptionsOn) {
  const Bytes stored{0, 0};
  folder().writeSettings(stored);
  folder().holdSettings();
  startSaver();
  if (HasFatalFailure()) return;

  bool windowCameFirst = false;
  const HWND box = waitForExceptionBox(saver(), &windowCameFirst);
  ASSERT_NE(box, nullptr) << "no exception box appeared";
  EXPECT_FALSE(windowCameFirst) << "the full-screen window showed before the box";
  EXPECT_EQ(exceptionBoxText(box), "Cannot open file " + folder().settingsFile() + ".");
  // The box may not be painted yet when it is found.
  EXPECT_TRUE(waitUntil([&] { return showsTheErrorIcon(box); }, kPatience))
      << "the box shows no error icon";
  const std::vector<ControlInfo> buttons = childrenOfClass(box, "Button");
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
  EXPECT_NE(GetFileAttributesA(folder().settingsFile().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u)
      << "the folder was replaced";
  EXPECT_EQ(namesIn(folder().settingsFile()), "") << "the folder was changed";
}

}  // namespace
}  // namespace e2e
