// The saver the Windows tests run, and a private copy of it in a folder of its own, so that the
// settings file beside it is one test's alone. Paths are UTF-8.
#pragma once

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>

#include "tests/kit/Bytes.h"
#include "tests/kit/Scene.h"

namespace kit {

// The folder of the running test program, without a trailing backslash.
std::string programFolder();

// The saver to test: the one built with this program, app\Velorium.scr in the nearest of the
// three folders above it that has one (two above for build\windows\tests\e2e). Nothing from
// the environment replaces it.
std::string saverPath();

// A fresh folder holding a copy of the saver; removed with every file in it.
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
  SceneOptions options;
  const char* folderName = "";  // added to the saver folder's name
};

void PrintTo(const SettingsCase& settings, std::ostream* out);

// The names in a folder, each after a space, for checks and messages: "" when it is empty.
std::string namesIn(const std::string& folder);

}  // namespace kit
