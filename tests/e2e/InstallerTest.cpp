// The setup program as a user runs it, silently (/S): where it puts the saver, how it makes it
// the screen saver, the Start-menu folder, the entry in Windows' list of programs, an upgrade,
// a saver in use, and what the uninstaller removes and leaves.
#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Registry.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/kit/CaseName.h"
#include "tests/kit/TempDir.h"

namespace e2e {
namespace {

// Installing and uninstalling take a few seconds under Wine; this allows for a loaded machine.
constexpr Milliseconds kSetupTimeout{60000};

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velorium";
constexpr char kOtherSaver[] = "C:\\windows\\system32\\Other.scr";
const std::vector<std::string> kInstalledFiles{"Velorium.scr", "SelectVelorium.exe", "LICENSE.txt",
                                               "Uninstall.exe"};

std::string setupProgram() {
  return windowsPath(VELORIUM_SETUP);
}

bool exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string knownFolder(REFKNOWNFOLDERID id) {
  PWSTR wide = nullptr;
  std::string path;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &wide))) {
    std::array<char, MAX_PATH> narrow{};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow.data(), narrow.size(), nullptr, nullptr);
    path = narrow.data();
  }
  CoTaskMemFree(wide);
  return path;
}

std::string defaultFolder() {
  return knownFolder(FOLDERID_LocalAppData) + "\\Programs\\Velorium";
}

std::string menuFolder() {
  return knownFolder(FOLDERID_Programs) + "\\Velorium";
}

std::optional<DWORD> readNumber(const char* key, const char* value) {
  DWORD number = 0;
  DWORD size = sizeof number;
  if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &number, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return number;
}

bool keyExists(const char* key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

struct Shortcut {
  std::string target;
  std::string arguments;
};

std::optional<Shortcut> readShortcut(const std::string& path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return std::nullopt;
  }
  std::optional<Shortcut> shortcut;
  IPersistFile* file = nullptr;
  std::array<wchar_t, MAX_PATH> widePath{};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), widePath.size());
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(widePath.data(), STGM_READ))) {
    std::array<char, MAX_PATH> target{};
    std::array<char, MAX_PATH> arguments{};
    link->GetPath(target.data(), target.size(), nullptr, 0);
    link->GetArguments(arguments.data(), arguments.size());
    shortcut = Shortcut{target.data(), arguments.data()};
  }
  if (file != nullptr) file->Release();
  link->Release();
  return shortcut;
}

// The uninstaller copies itself to the temporary folder, starts the copy and ends at once;
// the copy's exit status is the uninstaller's. Nothing when no copy ran to its end.
std::optional<DWORD> uninstall(const std::string& folder) {
  const SaverProcess original("/S", folder + "\\Uninstall.exe");
  if (!original.wait(kSetupTimeout)) return std::nullopt;
  std::optional<DWORD> status;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID != original.id()) continue;
    const HANDLE copy =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
    DWORD code = 0;
    if (copy != nullptr &&
        WaitForSingleObject(copy, static_cast<DWORD>(kSetupTimeout.count())) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(copy, &code)) {
      status = code;
    }
    if (copy != nullptr) CloseHandle(copy);
  }
  CloseHandle(snapshot);
  return status;
}

std::string upperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  return text;
}

std::string shortPath(const std::string& path) {
  std::array<char, MAX_PATH> buffer{};
  const DWORD length = GetShortPathNameA(path.c_str(), buffer.data(), buffer.size());
  return length > 0 && length < buffer.size() ? std::string(buffer.data(), length) : path;
}

// Each test starts with no Velorium installed and with the screen-saver values as they were,
// and leaves them so: whatever it installed is uninstalled, and the values are put back.
class SetupProgram : public testing::Test {
protected:
  void SetUp() override {
    CoInitialize(nullptr);
    for (const char* value : {"SCRNSAVE.EXE", "ScreenSaveActive", "ScreenSaveTimeOut"}) {
      saved_.push_back({value, readString(kDesktopKey, value)});
    }
    removeIfInstalled(defaultFolder());
    spaceFolder_ = knownFolder(FOLDERID_LocalAppData) + "\\Velorium test\\Saver folder";
  }

  void TearDown() override {
    removeIfInstalled(defaultFolder());
    removeIfInstalled(spaceFolder_);
    RemoveDirectoryA(spaceFolder_.substr(0, spaceFolder_.find_last_of('\\')).c_str());
    for (const auto& [value, text] : saved_) writeString(kDesktopKey, value, text);
    CoUninitialize();
  }

  static void removeIfInstalled(const std::string& folder) {
    if (!exists(folder + "\\Uninstall.exe")) return;
    // A saver that was just ended may hold its file a moment longer.
    const std::string saver = folder + "\\Velorium.scr";
    waitUntil(
        [&] {
          const HANDLE file =
              CreateFileA(saver.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
          if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
          CloseHandle(file);
          return true;
        },
        Milliseconds{5000}, Milliseconds{100});
    uninstall(folder);
  }

  // Installs silently, with "/D=<folder>" when a folder is given; the setup's exit status.
  static std::optional<kit::ExitStatus> install(const std::string& folder = "") {
    return kit::runToEnd({setupProgram(), folder.empty() ? "/S" : "/S /D=" + folder}, {},
                         kSetupTimeout)
        .status;
  }

  static void expectInstalledFiles(const std::string& folder) {
    for (const std::string& file : kInstalledFiles)
      EXPECT_TRUE(exists(folder + "\\" + file)) << file;
  }

  std::string spaceFolder_;

private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(SetupProgram, InstallsSilentlyIntoTheUsersProgramsFolderAndMakesVeloriumTheScreenSaver) {
  writeString(kDesktopKey, "SCRNSAVE.EXE", kOtherSaver);
  writeString(kDesktopKey, "ScreenSaveActive", "0");
  writeString(kDesktopKey, "ScreenSaveTimeOut", std::nullopt);

  ASSERT_EQ(install(), 0u);
  const std::string folder = defaultFolder();
  const std::string saver = folder + "\\Velorium.scr";
  expectInstalledFiles(folder);
  EXPECT_EQ(readString(kDesktopKey, "SCRNSAVE.EXE"), saver);
  EXPECT_EQ(readString(kDesktopKey, "ScreenSaveActive"), "1");
  EXPECT_EQ(readString(kDesktopKey, "ScreenSaveTimeOut"), "600");
  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  EXPECT_TRUE(active);

  EXPECT_EQ(readString(kUninstallKey, "DisplayName"), "Velorium");
  EXPECT_EQ(readString(kUninstallKey, "DisplayVersion"), VELORIUM_VERSION);
  EXPECT_EQ(readString(kUninstallKey, "Publisher"), "the Velorium developers");
  EXPECT_EQ(readString(kUninstallKey, "DisplayIcon"), saver);
  EXPECT_EQ(readString(kUninstallKey, "InstallLocation"), folder);
  EXPECT_EQ(readString(kUninstallKey, "UninstallString"), "\"" + folder + "\\Uninstall.exe\"");
  EXPECT_EQ(readString(kUninstallKey, "QuietUninstallString"),
            "\"" + folder + "\\Uninstall.exe\" /S");
  EXPECT_EQ(readNumber(kUninstallKey, "NoModify"), 1u);
  EXPECT_EQ(readNumber(kUninstallKey, "NoRepair"), 1u);
  // In KiB, at least the saver's own size.
  WIN32_FILE_ATTRIBUTE_DATA saverFile{};
  GetFileAttributesExA(saver.c_str(), GetFileExInfoStandard, &saverFile);
  EXPECT_GE(readNumber(kUninstallKey, "EstimatedSize").value_or(0), saverFile.nFileSizeLow / 1024);

  const auto settings = readShortcut(menuFolder() + "\\Velorium settings.lnk");
  ASSERT_TRUE(settings.has_value()) << "no shortcut \"Velorium settings\"";
  EXPECT_EQ(settings->target, saver);
  EXPECT_EQ(settings->arguments, "/c");
  const auto select = readShortcut(menuFolder() + "\\Make Velorium the screen saver.lnk");
  ASSERT_TRUE(select.has_value()) << "no shortcut \"Make Velorium the screen saver\"";
  EXPECT_EQ(select->target, folder + "\\SelectVelorium.exe");
  EXPECT_EQ(select->arguments, "");
}

TEST_F(SetupProgram, MakeVeloriumTheScreenSaverSelectsItAgainAfterAnotherWasChosen) {
  ASSERT_EQ(install(), 0u);
  writeString(kDesktopKey, "SCRNSAVE.EXE", kOtherSaver);
  const auto select = readShortcut(menuFolder() + "\\Make Velorium the screen saver.lnk");
  ASSERT_TRUE(select.has_value());
  // /S leaves out the message that says it is done.
  EXPECT_EQ(kit::runToEnd({select->target, select->arguments + " /S"}, {}, kSetupTimeout).status,
            0);
  EXPECT_EQ(readString(kDesktopKey, "SCRNSAVE.EXE"), defaultFolder() + "\\Velorium.scr");
}

TEST_F(SetupProgram, InstallsIntoAChosenFolderWithASpaceAndKeepsTheUsersWait) {
  writeString(kDesktopKey, "ScreenSaveTimeOut", "300");
  ASSERT_EQ(install(spaceFolder_), 0u);
  expectInstalledFiles(spaceFolder_);
  EXPECT_FALSE(exists(defaultFolder()));
  EXPECT_EQ(readString(kDesktopKey, "SCRNSAVE.EXE"), spaceFolder_ + "\\Velorium.scr");
  EXPECT_EQ(readString(kDesktopKey, "ScreenSaveTimeOut"), "300");
  EXPECT_EQ(readString(kUninstallKey, "InstallLocation"), spaceFolder_);
}

TEST_F(SetupProgram, InstalledSaverRunsFullScreenAndItsOptionsSaveBesideIt) {
  ASSERT_EQ(install(), 0u);
  const std::string saver = defaultFolder() + "\\Velorium.scr";
  {
    SaverProcess fullScreen("/s", saver);
    ASSERT_TRUE(fullScreen.waitForFullScreenWindow().has_value())
        << "no full-screen window appeared";
    kit::expectScene(watchScene());
    expectEndsWithStatusZeroOnAKey(fullScreen);
  }
  SaverProcess options("/c", saver);
  const auto dialog = waitForWindow(options, "Options...");
  ASSERT_TRUE(dialog.has_value()) << "no options dialog";
  clickOn(findControl(dialog->handle, "See the comet").handle);
  clickOn(findControl(dialog->handle, "OK").handle);
  EXPECT_EQ(options.wait(), 0u);
  EXPECT_EQ(ReadBytes(defaultFolder() + "\\Velorium.ini"), (Bytes{0, 1}));
}

TEST_F(SetupProgram, AnUpgradeKeepsTheSettingsFile) {
  ASSERT_EQ(install(), 0u);
  const std::string settings = defaultFolder() + "\\Velorium.ini";
  WriteBytes(settings, {0, 0});
  ASSERT_EQ(install(), 0u);
  expectInstalledFiles(defaultFolder());
  EXPECT_EQ(ReadBytes(settings), (Bytes{0, 0}));
}

TEST_F(SetupProgram, FailsOnASaverInUseAndChangesNothing) {
  ASSERT_EQ(install(), 0u);
  const std::string folder = defaultFolder();
  std::optional<SaverProcess> running;
  running.emplace("/c", folder + "\\Velorium.scr");
  ASSERT_TRUE(waitForWindow(*running, "Options...").has_value()) << "no options dialog";

  const auto setupStatus = install();
  ASSERT_TRUE(setupStatus.has_value()) << "the setup program did not end";
  EXPECT_NE(*setupStatus, 0u) << "the setup program reported success";
  // Run in place ("_?="), the uninstaller's own status is the one that counts.
  const auto uninstallStatus =
      kit::runToEnd({folder + "\\Uninstall.exe", "/S _?=" + folder}, {}, kSetupTimeout).status;
  ASSERT_TRUE(uninstallStatus.has_value()) << "the uninstaller did not end";
  EXPECT_NE(*uninstallStatus, 0u) << "the uninstaller reported success";
  expectInstalledFiles(folder);
  EXPECT_TRUE(keyExists(kUninstallKey));
  EXPECT_EQ(readString(kDesktopKey, "SCRNSAVE.EXE"), folder + "\\Velorium.scr");
  running.reset();
}

TEST_F(SetupProgram, UninstallRemovesTheProgramItsSettingsTheMenuAndTheEntryAndLeavesSaversOn) {
  ASSERT_EQ(install(), 0u);
  const std::string folder = defaultFolder();
  WriteBytes(folder + "\\Velorium.ini", {1, 0});

  EXPECT_EQ(uninstall(folder), 0u);
  EXPECT_FALSE(exists(folder)) << folder << " holds" << namesIn(folder);
  EXPECT_FALSE(exists(menuFolder())) << menuFolder() << " holds" << namesIn(menuFolder());
  EXPECT_FALSE(keyExists(kUninstallKey));
  EXPECT_EQ(readString(kDesktopKey, "SCRNSAVE.EXE"), std::nullopt);
  EXPECT_EQ(readString(kDesktopKey, "ScreenSaveActive"), "1");
}

// What SCRNSAVE.EXE says at uninstall time, and whether the uninstaller takes it away.
struct SelectedSaverCase {
  const char* name;
  bool ours;  // the installed saver, named as below; else another saver
  bool shortForm;
  bool upperCase;
  bool removed;
};

class UninstallWithSaverSelected : public SetupProgram,
                                   public testing::WithParamInterface<SelectedSaverCase> {};

TEST_P(UninstallWithSaverSelected, TakesScrnsaveExeAwayOnlyWhenItNamesTheInstalledSaver) {
  ASSERT_EQ(install(spaceFolder_), 0u);
  std::string selected = kOtherSaver;
  if (GetParam().ours) {
    selected = spaceFolder_ + "\\Velorium.scr";
    if (GetParam().shortForm) selected = shortPath(selected);
    if (GetParam().upperCase) selected = upperCase(selected);
  }
  writeString(kDesktopKey, "SCRNSAVE.EXE", selected);

  EXPECT_EQ(uninstall(spaceFolder_), 0u);
  EXPECT_FALSE(exists(spaceFolder_)) << spaceFolder_ << " holds" << namesIn(spaceFolder_);
  EXPECT_EQ(readString(kDesktopKey, "SCRNSAVE.EXE"),
            GetParam().removed ? std::nullopt : std::optional<std::string>(selected));
}

INSTANTIATE_TEST_SUITE_P(
    Uninstall, UninstallWithSaverSelected,
    testing::Values(SelectedSaverCase{"AnotherSaver", false, false, false, false},
                    SelectedSaverCase{"OursInCapitals", true, false, true, true},
                    SelectedSaverCase{"OursInShortForm", true, true, false, true},
                    SelectedSaverCase{"OursInShortFormInCapitals", true, true, true, true}),
    kit::CaseName());

std::string fixedVersion(const std::string& file) {
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeA(file.c_str(), &ignored));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (data.empty() || !GetFileVersionInfoA(file.c_str(), 0, data.size(), data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &size) ||
      fixed == nullptr) {
    return "";
  }
  return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
         std::to_string(LOWORD(fixed->dwFileVersionLS));
}

std::string manifestOf(const std::string& file) {
  const HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  std::string text;
  if (module == nullptr) return text;
  if (const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    if (bytes != nullptr) text.assign(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

TEST(ReleaseFiles, CarryTheProjectVersionInFourPartsInTheSaverItsManifestAndTheSetupProgram) {
  const std::string version = std::string(VELORIUM_VERSION) + ".0";
  EXPECT_EQ(fixedVersion(saverPath()), version);
  EXPECT_NE(
      manifestOf(saverPath()).find("name=\"Velorium.Screensaver\" version=\"" + version + "\""),
      std::string::npos);
  EXPECT_EQ(fixedVersion(setupProgram()), version);
}

}  // namespace
}  // namespace e2e
