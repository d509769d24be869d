// The options dialog from outside: started with "/c", it shows the two options of the
// settings file as check boxes, writes them on OK and ends; other ways out write nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/e2e/ExceptionBoxes.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"
#include "tests/kit/CaseName.h"

namespace e2e {
namespace {

constexpr char kCaption[] = "Options...";

class OptionsDialog : public testing::Test {
protected:
  // Starts the saver with these arguments, after writing the settings file if given.
  void start(const std::optional<Bytes>& settings, const std::string& arguments = "/c") {
    if (settings) folder_.writeSettings(*settings);
    saver_.emplace(arguments, folder_.saver());
    const auto window = waitForWindow(*saver_, kCaption);
    ASSERT_TRUE(window.has_value()) << "no options dialog";
    dialog_ = window->handle;
    // Keys go to whatever has the focus: wait until that is inside the dialog.
    ASSERT_TRUE(waitUntil(
        [&] {
          if (GetForegroundWindow() != dialog_) SetForegroundWindow(dialog_);
          return hasKeyboardFocus(dialog_);
        },
        kPatience))
        << "the dialog did not get the keyboard focus";
  }

  HWND control(const std::string& text) {
    const ControlInfo found = findControl(dialog_, text);
    EXPECT_NE(found.handle, nullptr) << "no control \"" << text << "\"";
    return found.handle;
  }

  void expectEndsWithStatusZero() {
    EXPECT_EQ(saver_->wait(), 0) << "the dialog did not end the program";
  }

  // Once the dialog has dealt with everything sent to it.
  void expectStaysOpen() {
    ASSERT_TRUE(waitUntilHandled(dialog_)) << "the dialog is gone";
    EXPECT_TRUE(saver_->running());
    EXPECT_TRUE(showsWindow(*saver_, kCaption));
  }

  SaverFolder folder_;
  std::optional<SaverProcess> saver_;
  HWND dialog_ = nullptr;
};

TEST_F(OptionsDialog, IsAFixedDialogWithCaptionAndClientAreaAsDesigned) {
  start(std::nullopt);
  const WindowInfo window = describeWindow(dialog_);
  EXPECT_EQ(window.text, "Options...");
  EXPECT_EQ(window.style & WS_CAPTION, WS_CAPTION);
  EXPECT_NE(window.style & WS_SYSMENU, 0);
  EXPECT_EQ(window.style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  const SIZE client = clientSize(dialog_);
  EXPECT_EQ(client.cx, 168);
  EXPECT_EQ(client.cy, 130);
}

TEST_F(OptionsDialog, IsCentredOnTheScreen) {
  start(std::nullopt);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const RECT rect = screenRectOf(dialog_);
  EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST_F(OptionsDialog, PlacesItsControlsAtTheDesignedPixelsInTabOrder) {
  start(std::nullopt);
  const auto children = childrenOf(dialog_);
  ASSERT_EQ(children.size(), 3u);
  const ControlInfo& panel = children[0];
  EXPECT_EQ(panel.text, "");
  expectPlacedAt(panel, 8, 8, 153, 81);
  EXPECT_NE(GetWindowLongA(panel.handle, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);

  const auto boxes = childrenOf(panel.handle);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "See the comet");
  EXPECT_EQ(boxes[1].text, "See the orbits");
  for (const ControlInfo& box : boxes) {
    EXPECT_STRCASEEQ(box.className.c_str(), "Button");
    EXPECT_EQ(GetWindowLongA(box.handle, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  }
  expectPlacedAt(boxes[0], 8, 16, 121, 17);
  expectPlacedAt(boxes[1], 8, 48, 121, 17);

  const ControlInfo& ok = children[1];
  const ControlInfo& about = children[2];
  EXPECT_EQ(ok.text, "OK");
  EXPECT_EQ(about.text, "About...");
  expectPlacedAt(ok, 8, 96, 75, 25);
  expectPlacedAt(about, 88, 96, 75, 25);

  // Tab goes round: the comet, the orbits, OK, About..., and the comet again.
  EXPECT_EQ(GetNextDlgTabItem(dialog_, nullptr, FALSE), boxes[0].handle);
  EXPECT_EQ(GetNextDlgTabItem(dialog_, boxes[0].handle, FALSE), boxes[1].handle);
  EXPECT_EQ(GetNextDlgTabItem(dialog_, boxes[1].handle, FALSE), ok.handle);
  EXPECT_EQ(GetNextDlgTabItem(dialog_, ok.handle, FALSE), about.handle);
  EXPECT_EQ(GetNextDlgTabItem(dialog_, about.handle, FALSE), boxes[0].handle);
}

TEST_F(OptionsDialog, StartsWithTheFirstCheckBoxFocusedAndOkAsTheDefaultButton) {
  start(std::nullopt);
  const HWND comet = control("See the comet");
  auto focus = [&] {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &thread);
    return thread.hwndFocus;
  };
  EXPECT_TRUE(waitUntil([&] { return focus() == comet; }, kReactionTime)) << focus();
  EXPECT_NE(SendMessageA(control("OK"), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0);
  EXPECT_EQ(SendMessageA(control("About..."), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0);
}

struct LoadCase {
  const char* name;
  std::optional<Bytes> settings;
  bool comet;
  bool orbits;
  const char* arguments = "/c";
};

class OptionsDialogShows : public OptionsDialog, public testing::WithParamInterface<LoadCase> {};

TEST_P(OptionsDialogShows, TheStoredOptionsAsTicks) {
  start(GetParam().settings, GetParam().arguments);
  EXPECT_EQ(isTicked(control("See the comet")), GetParam().comet);
  EXPECT_EQ(isTicked(control("See the orbits")), GetParam().orbits);
}

// The dialog opens for a colon and a number after the switch too.
INSTANTIATE_TEST_SUITE_P(Settings, OptionsDialogShows,
                         testing::Values(LoadCase{"NoFile", std::nullopt, true, true},
                                         LoadCase{"CometOffOrbitsOn", Bytes{0, 1}, false, true},
                                         LoadCase{"CometOnOrbitsOff", Bytes{1, 0}, true, false},
                                         LoadCase{"CometOffOrbitsOnAfterColonAndNumber",
                                                  Bytes{0, 1}, false, true, "/c:1234"}),
                         kit::CaseName());

struct SaveCase {
  const char* name;
  std::optional<Bytes> settings;
  bool clickComet;
  bool clickOrbits;
  Bytes written;
  const char* folderName = "";  // added to the saver folder's name
};

class OptionsDialogOk : public OptionsDialog, public testing::WithParamInterface<SaveCase> {};

TEST_P(OptionsDialogOk, WritesTwoBytesOfOneOrZeroAndEndsTheProgram) {
  if (*GetParam().folderName != '\0') folder_.extendName(GetParam().folderName);
  start(GetParam().settings);
  if (GetParam().clickComet) clickOn(control("See the comet"));
  if (GetParam().clickOrbits) clickOn(control("See the orbits"));
  clickOn(control("OK"));
  expectEndsWithStatusZero();
  EXPECT_EQ(folder_.settings(), GetParam().written);
}

// In folders named outside the ANSI code page (1252 here), Chinese and Cyrillic, and an
// emoji, which takes two UTF-16 units, the stored options are read (else the comet would be
// written on) and written.
INSTANTIATE_TEST_SUITE_P(
    Settings, OptionsDialogOk,
    testing::Values(SaveCase{"NoFileUnchanged", std::nullopt, false, false, Bytes{1, 1}},
                    SaveCase{"BothOnClearOrbits", Bytes{1, 1}, false, true, Bytes{1, 0}},
                    SaveCase{"BothOffTickBoth", Bytes{0, 0}, true, true, Bytes{1, 1}},
                    SaveCase{"BytesTwoAnd255", Bytes{2, 255}, false, false, Bytes{1, 1}},
                    SaveCase{"BothOffTickOrbitsInAFolderNamedInChineseAndCyrillic", Bytes{0, 0},
                             false, true, Bytes{0, 1}, "中文 русский"},
                    SaveCase{"BothOffTickOrbitsInAFolderNamedWithAnEmoji", Bytes{0, 0}, false, true,
                             Bytes{0, 1}, "🪐"}),
    kit::CaseName());

TEST_F(OptionsDialog, EnterClicksOkWhileACheckBoxHasTheFocus) {
  start(Bytes{1, 1});
  pressKey(VK_SPACE);  // clears the focused "See the comet"
  pressKey(VK_RETURN);
  expectEndsWithStatusZero();
  EXPECT_EQ(folder_.settings(), (Bytes{0, 1}));
}

TEST_F(OptionsDialog, EscapeDoesNothing) {
  start(Bytes{1, 1});
  pressKey(VK_ESCAPE);
  expectStaysOpen();
  EXPECT_EQ(folder_.settings(), (Bytes{1, 1}));
}

TEST_F(OptionsDialog, TheTitleBarCloseButtonEndsWithoutWriting) {
  start(std::nullopt);
  clickOn(control("See the comet"));
  // What the title bar's close button sends.
  PostMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
  expectEndsWithStatusZero();
  EXPECT_FALSE(folder_.settings().has_value()) << "a settings file was created";
}

TEST_F(OptionsDialog, AltF4EndsWithoutWriting) {
  start(Bytes{0, 7, 9});
  clickOn(control("See the comet"));
  pressKeyWithAlt(VK_F4);
  expectEndsWithStatusZero();
  EXPECT_EQ(folder_.settings(), (Bytes{0, 7, 9}));
}

// The standard exception display shows the create error; the dialog stays open.
void expectCreateErrorShown(const SaverProcess& saver, const std::string& settingsFile) {
  const HWND box = waitForExceptionBox(saver);
  ASSERT_NE(box, nullptr) << "no error box";
  EXPECT_EQ(exceptionBoxText(box), "Cannot create file " + settingsFile + ".");
  pressOk(box);
  EXPECT_TRUE(waitUntil([&] { return exceptionBoxesOf(saver.id()).empty(); }, kReactionTime));
}

TEST_F(OptionsDialog, ASaveToAFileInUseIsShownAndTheDialogStaysOpenWithTheNewValues) {
  start(Bytes{1, 1});
  folder_.holdSettings();
  clickOn(control("See the orbits"));
  clickOn(control("OK"));
  expectCreateErrorShown(*saver_, folder_.settingsFile());
  expectStaysOpen();
  EXPECT_FALSE(isTicked(control("See the orbits")));
  folder_.releaseSettings();
  EXPECT_EQ(folder_.settings(), (Bytes{1, 1}));

  // Once the file is free, OK saves what the boxes show.
  clickOn(control("OK"));
  expectEndsWithStatusZero();
  EXPECT_EQ(folder_.settings(), (Bytes{1, 0}));
}

TEST_F(OptionsDialog, ASaveWhereAFolderHasTheSettingsNameIsShownAndTheDialogStaysOpen) {
  folder_.makeSettingsAFolder();
  start(std::nullopt);
  // A folder is no settings file: both options are on.
  EXPECT_TRUE(isTicked(control("See the comet")));
  EXPECT_TRUE(isTicked(control("See the orbits")));
  clickOn(control("OK"));
  expectCreateErrorShown(*saver_, folder_.settingsFile());
  expectStaysOpen();
}

}  // namespace
}  // namespace e2e
