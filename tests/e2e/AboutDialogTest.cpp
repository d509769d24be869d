// The about box from outside: opened from the options dialog as often as asked, modal over
// it, laid out for the screen's resolution, with a mail link that lights up under the pointer.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Registry.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/e2e/SyntheticInput.h"
#include "win32/Screen.h"

namespace e2e {
namespace {

constexpr char kAddress[] = "velorium@example.org";
// A place for the pointer away from every window of the saver.
constexpr POINT kFarCorner{4, 4};
constexpr POINT kOtherFarCorner{1000, 740};
constexpr int kBoxesToTry = 3;
// Colours as the screen copy gives them (0xRRGGBB).
constexpr std::uint32_t kAqua = 0x00FFFF;
constexpr std::uint32_t kBlack = 0x000000;

int inkInRow(const Picture& copy, int y, std::uint32_t color) {
  int ink = 0;
  for (int x = 0; x < copy.width; ++x) ink += copy.at(x, y) == color ? 1 : 0;
  return ink;
}

// The rows that are nearly all of one colour: an underline.
std::vector<bool> solidRows(const Picture& copy, std::uint32_t color) {
  std::vector<bool> solid(copy.height);
  for (int y = 0; y < copy.height; ++y) solid[y] = inkInRow(copy, y, color) * 10 >= copy.width * 9;
  return solid;
}

int solidRowCount(const Picture& copy, std::uint32_t color) {
  const auto solid = solidRows(copy, color);
  return static_cast<int>(std::count(solid.begin(), solid.end(), true));
}

// Pixels of one colour, leaving out the given rows.
int inkOf(const Picture& copy, std::uint32_t color, const std::vector<bool>& leaveOut = {}) {
  int ink = 0;
  for (int y = 0; y < copy.height; ++y) {
    if (y < static_cast<int>(leaveOut.size()) && leaveOut[y]) continue;
    ink += inkInRow(copy, y, color);
  }
  return ink;
}

// The address as it looks away from the pointer, and under it.
bool inBlackLetters(const Picture& copy) {
  return inkOf(copy, kBlack) > 0 && inkOf(copy, kAqua) == 0;
}
bool underlinedInAqua(const Picture& copy) {
  return solidRowCount(copy, kAqua) > 0 && inkOf(copy, kBlack) == 0;
}

class AboutDialog : public testing::Test {
protected:
  void SetUp() override {
    saver_.emplace("/c", folder_.saver());
    const auto options = waitForWindow(*saver_, "Options...");
    ASSERT_TRUE(options.has_value()) << "no options dialog";
    options_ = options->handle;
    ASSERT_TRUE(saver_->waitForForeground());
  }

  // Clicks "About..." and waits for the box.
  HWND openAbout() {
    pressButton(findControl(options_, "About...").handle);
    const auto about = waitForWindow(*saver_, "About...");
    EXPECT_TRUE(about.has_value()) << "no about box";
    return about ? about->handle : nullptr;
  }

  // An about box in which the pointer can be moved: under Wine every other box, for reasons
  // of its own, keeps the pointer where it is; such a box is closed and the next one taken.
  HWND openAboutWithAMovablePointer() {
    for (int box = 0; box < kBoxesToTry; ++box) {
      movePointerTo(kFarCorner);
      HWND about = openAbout();
      if (about == nullptr) return nullptr;
      if (movePointerTo(kOtherFarCorner)) return about;
      closeWithOk(about);
    }
    ADD_FAILURE() << "the pointer could not be moved over any about box";
    return nullptr;
  }

  void closeWithOk(HWND about) {
    pressButton(findControl(about, "OK").handle);
    EXPECT_TRUE(waitForWindowGone(*saver_, "About..."));
  }

  // The address label's pixels once they show what `shows` looks for (the screen catches up
  // with a repaint a moment later); the last copy when they never do.
  template <typename Shows>
  Picture addressPixelsOnce(HWND about, Shows shows) {
    Picture copy;
    EXPECT_TRUE(waitUntil(
        [&] {
          copy = captureScreen(screenRectOf(findControl(about, kAddress).handle));
          return shows(copy);
        },
        kReactionTime * 4))
        << "the address never looked as expected";
    return copy;
  }

  SaverFolder folder_;
  std::optional<SaverProcess> saver_;
  HWND options_ = nullptr;
};

TEST_F(AboutDialog, IsModalOverTheOptionsDialogAndCentredOnIt) {
  HWND about = openAbout();
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(IsWindowEnabled(options_)) << "the options dialog takes input under the about box";
  const WindowInfo window = describeWindow(about);
  EXPECT_EQ(window.style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  const RECT outer = screenRectOf(options_);
  EXPECT_NEAR((window.rect.left + window.rect.right) / 2, (outer.left + outer.right) / 2, 1);
  EXPECT_NEAR((window.rect.top + window.rect.bottom) / 2, (outer.top + outer.bottom) / 2, 1);
  closeWithOk(about);
  EXPECT_TRUE(IsWindowEnabled(options_));
  EXPECT_TRUE(saver_->running());
}

TEST_F(AboutDialog, ShowsTheNameAuthorAddressAndDescription) {
  HWND about = openAbout();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(findControl(about, "Velorium I").className, "TLabel");
  EXPECT_EQ(findControl(about, "Velorium developers").className, "TLabel");
  EXPECT_EQ(findControl(about, kAddress).className, "TLabel");
  EXPECT_NE(findControl(about,
                        "An OpenGL simulation of the sun, its planets and a comet. Their real "
                        "dimensions have been changed to make the picture nicer.")
                .handle,
            nullptr);
  EXPECT_NE(findControl(about, "OK").handle, nullptr);
}

// Laid out for 120 pixels per inch; the test screen has 96, where the box's font is 11 pixels
// high instead of 14 and its text 12 pixels instead of 16: every measure is scaled by
// 12/16, rounded as the positions and sizes of the layout are.
TEST_F(AboutDialog, IsLaidOutForTheScreensResolution) {
  ASSERT_EQ(ScreenPixelsPerInch(), 96) << "the test prefix's screen";
  HWND about = openAbout();
  ASSERT_NE(about, nullptr);
  const SIZE client = clientSize(about);
  const auto children = childrenOf(about);
  ASSERT_EQ(children.size(), 2u);
  const ControlInfo& panel = children[0];
  const ControlInfo& ok = children[1];
  const ControlInfo picture = childrenOf(panel.handle).at(0);
  EXPECT_EQ(picture.className, "TImage");
  const ControlInfo description = childrenOf(panel.handle).back();
  // Designed: client 361 x 201, panel at 8, 8 of 346 x 153, picture at 10, 10 of 80 x 70,
  // description at 10, 96 of 327 x 49, OK at 143, 168 of 75 x 25.
  EXPECT_EQ(client.cx, 271);
  EXPECT_EQ(client.cy, 151);
  expectPlacedAt(panel, 6, 6, 260, 115);
  expectPlacedAt(picture, 8, 8, 60, 52);
  expectPlacedAt(description, 8, 72, 245, 37);
  expectPlacedAt(ok, 107, 126, 57, 19);
}

TEST_F(AboutDialog, ShowsThePictureOfTheSunOnDarkSpace) {
  HWND about = openAbout();
  ASSERT_NE(about, nullptr);
  const HWND panel = childrenOf(about).at(0).handle;
  Picture picture;
  // The box is painted a moment after it shows: until then the centre is not yet yellow.
  waitUntil(
      [&] {
        picture = captureScreen(screenRectOf(childrenOf(panel).at(0).handle));
        const std::uint32_t centre =
            picture.width > 0 ? picture.at(picture.width / 2, picture.height / 2) : 0;
        return kit::red(centre) > 0xC0;
      },
      kReactionTime * 4);
  ASSERT_GT(picture.width, 0);
  // The corner is night blue, the centre the sun's yellow.
  const std::uint32_t corner = picture.at(1, 1);
  EXPECT_LT(kit::red(corner), 0x30);
  EXPECT_LT(kit::green(corner), 0x30);
  const std::uint32_t centre = picture.at(picture.width / 2, picture.height / 2);
  EXPECT_GT(kit::red(centre), 0xC0) << std::hex << centre;
  EXPECT_GT(kit::green(centre), 0x80) << std::hex << centre;
  EXPECT_LT(kit::blue(centre), 0x80) << std::hex << centre;
}

TEST_F(AboutDialog, OpensAFreshBoxAsOftenAsAsked) {
  HWND previous = nullptr;
  for (int time = 0; time < 3; ++time) {
    HWND about = openAboutWithAMovablePointer();
    ASSERT_NE(about, nullptr) << "opening " << time + 1;
    // The box of the last round is gone: this one was made anew.
    if (previous != nullptr) {
      EXPECT_FALSE(IsWindow(previous)) << "opening " << time + 1;
    }
    EXPECT_FALSE(IsWindowEnabled(options_));
    ASSERT_TRUE(movePointerTo(centreOf(findControl(about, kAddress).handle)));
    EXPECT_GT(solidRowCount(addressPixelsOnce(about, underlinedInAqua), kAqua), 0);
    closeWithOk(about);
    EXPECT_TRUE(IsWindowEnabled(options_)) << "closing " << time + 1;
    previous = about;
  }
  EXPECT_TRUE(saver_->running());
}

TEST_F(AboutDialog, EnterClosesTheBoxAndEscapeDoesNot) {
  HWND about = openAbout();
  ASSERT_NE(about, nullptr);
  // Keys go to whatever has the focus: wait until that is inside the box.
  ASSERT_TRUE(waitUntil([&] { return hasKeyboardFocus(about); }, kReactionTime * 4));
  pressKey(VK_ESCAPE);
  ASSERT_TRUE(waitUntilHandled(about)) << "Escape closed the box";
  EXPECT_TRUE(showsWindow(*saver_, "About..."));
  pressKey(VK_RETURN);
  EXPECT_TRUE(waitForWindowGone(*saver_, "About..."));
  EXPECT_TRUE(showsWindow(*saver_, "Options..."));
}

TEST_F(AboutDialog, TheTitleBarCloseButtonClosesOnlyTheBox) {
  HWND about = openAboutWithAMovablePointer();
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(movePointerTo(closeButtonOf(about)));
  clickMouse(MouseButton::Primary);
  EXPECT_TRUE(waitForWindowGone(*saver_, "About..."));
  ASSERT_TRUE(waitUntilHandled(options_)) << "the options dialog closed too";
  EXPECT_TRUE(saver_->running());
  EXPECT_TRUE(IsWindowEnabled(options_));
  EXPECT_FALSE(folder_.settings().has_value());
}

TEST_F(AboutDialog, TheAddressTurnsAquaAndUnderlinedUnderThePointerAndBlackAfter) {
  HWND about = openAboutWithAMovablePointer();
  ASSERT_NE(about, nullptr);
  const HWND address = findControl(about, kAddress).handle;
  const Picture before = addressPixelsOnce(about, inBlackLetters);

  ASSERT_TRUE(movePointerTo(centreOf(address)));
  const Picture inside = addressPixelsOnce(about, underlinedInAqua);
  ASSERT_TRUE(movePointerTo(kFarCorner));
  const Picture after = addressPixelsOnce(about, inBlackLetters);

  // Under the pointer: aqua with an underline, the letters as bold as before.
  const auto underline = solidRows(inside, kAqua);
  EXPECT_GE(std::count(underline.begin(), underline.end(), true), 1);
  EXPECT_EQ(inkOf(inside, kBlack), 0);
  EXPECT_EQ(inkOf(inside, kAqua, underline), inkOf(before, kBlack, underline));
  // After it: black, no underline, the same bold letters.
  EXPECT_EQ(inkOf(after, kAqua), 0);
  EXPECT_EQ(solidRowCount(after, kBlack), 0);
  EXPECT_EQ(inkOf(after, kBlack), inkOf(before, kBlack));
  EXPECT_GT(inkOf(after, kBlack), 0);
}

// The test prefix's mail program is our recorder while the test runs. Wine reads link
// handlers from HKEY_CLASSES_ROOT only (not from the user's Software\Classes), so the
// prefix's own handler is replaced there and put back afterwards.
class MailtoHandler {
public:
  MailtoHandler() : previous_(readString(kCommandKey, nullptr, HKEY_CLASSES_ROOT)) {
    // Built up in steps: GCC 12 warns wrongly about a single chain of + here.
    std::string command = programFolder();
    command.insert(0, 1, '"');
    command += "\\mailto_recorder.exe\" \"%1\"";
    writeString(kCommandKey, nullptr, command, HKEY_CLASSES_ROOT);
    DeleteFileA(record().c_str());
  }
  ~MailtoHandler() {
    writeString(kCommandKey, nullptr, previous_, HKEY_CLASSES_ROOT);
    DeleteFileA(record().c_str());
  }
  MailtoHandler(const MailtoHandler&) = delete;
  MailtoHandler& operator=(const MailtoHandler&) = delete;

  static std::string record() { return programFolder() + "\\mailto-link.txt"; }
  std::optional<std::string> recorded() const {
    std::ifstream file(record());
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

private:
  static constexpr char kCommandKey[] = "mailto\\shell\\open\\command";
  std::optional<std::string> previous_;
};

TEST_F(AboutDialog, ClickingTheAddressHandsAMailtoLinkToTheShellAndKeepsTheBoxOpen) {
  MailtoHandler handler;
  HWND about = openAboutWithAMovablePointer();
  ASSERT_NE(about, nullptr);
  ASSERT_TRUE(movePointerTo(centreOf(findControl(about, kAddress).handle)));
  clickMouse(MouseButton::Primary);
  std::optional<std::string> link;
  EXPECT_TRUE(waitUntil([&] { return (link = handler.recorded()).has_value() && !link->empty(); },
                        kPatience));
  EXPECT_EQ(link.value_or(""), "mailto:velorium@example.org");
  ASSERT_TRUE(waitUntilHandled(about)) << "the box closed";
  EXPECT_TRUE(showsWindow(*saver_, "About..."));
}

}  // namespace
}  // namespace e2e
