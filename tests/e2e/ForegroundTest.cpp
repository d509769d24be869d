// Another program's window is in the foreground when the full-screen saver starts, with or
// without a settings file it cannot open (whose error box, when it closes, may hand the
// activation back to that program): the saver runs on, is the foreground window, and a key
// ends it with status 0.
#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/ExceptionBoxes.h"
#include "tests/e2e/ForeignWindow.h"
#include "tests/e2e/FullScreenSaver.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"

namespace e2e {
namespace {

enum class SettingsFile { Readable, Locked };

class FullScreenSaverAfterAnotherProgram : public testing::TestWithParam<SettingsFile> {};

TEST_P(FullScreenSaverAfterAnotherProgram, RunsOnInTheForegroundAndEndsOnAKey) {
  SaverFolder folder;
  folder.writeSettings(Bytes{1, 1});
  if (GetParam() == SettingsFile::Locked) folder.holdSettings();
  ForeignWindow other(RECT{100, 100, 500, 400});
  ASSERT_TRUE(other.activate()) << "the other program's window did not come to the foreground";

  SaverProcess saver("/s", folder.saver());
  if (GetParam() == SettingsFile::Locked) {
    const HWND box = waitForExceptionBox(saver);
    ASSERT_NE(box, nullptr) << "no exception box appeared";
    // The activation goes back to the other program before the box closes, as Windows may
    // hand it there when the box closes.
    ASSERT_TRUE(other.activate())
        << "the other program's window did not come back to the foreground";
    pressOk(box);
  }
  const auto window = saver.waitForFullScreenWindow();
  ASSERT_TRUE(window.has_value()) << "no full-screen window appeared";
  ASSERT_TRUE(saver.waitForForeground()) << "the saver never became the foreground window";
  // Once it has dealt with everything its activation brought.
  EXPECT_TRUE(waitUntilHandled(window->handle)) << "the saver ended by itself";
  EXPECT_TRUE(saver.isForeground()) << "the saver lost the foreground";

  expectEndsWithStatusZeroOnAKey(saver);
  folder.releaseSettings();
}

INSTANTIATE_TEST_SUITE_P(Foreground, FullScreenSaverAfterAnotherProgram,
                         testing::Values(SettingsFile::Readable, SettingsFile::Locked),
                         [](const testing::TestParamInfo<SettingsFile>& info) {
                           return info.param == SettingsFile::Locked ? "WithALockedSettingsFile"
                                                                     : "WithAReadableSettingsFile";
                         });

}  // namespace
}  // namespace e2e
