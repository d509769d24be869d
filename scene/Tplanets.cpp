// The scene object's life and settings: construction, planet tables, and the two
// option bytes in the settings file beside the executable.
#include "scene/Tplanets.h"

#include "framework/Classes.h"
#include "util/Fileutils.h"

namespace {

// The option value for a settings file that is missing or too short to hold it.
constexpr std::uint8_t kOptionOn = 1;

}  // namespace

TPlanets::TPlanets(TSceneOwner* owner) {
  IniFile.clear();
  Form = owner;
  HasContext = false;
  IniFile = GetExeDir() + "Velorium.ini";
  Counter = 0;
  InitTables();
}

TPlanets::~TPlanets() {
  ReleaseContext();
}

void TPlanets::InitTables() {
  // Index 0 is the sun; 1 to 9 the planets from the innermost out.
  Diameter = {1390000.0, 4880.0,   12103.6, 12756.3, 6794.0,
              142984.0,  120536.0, 51118.0, 49532.0, 2274.0};
  Distance = {0.0,         57910000.0,   108200000.0,  149600000.0,  227940000.0,
              778330000.0, 1429400000.0, 2870990000.0, 4504000000.0, 5913520000.0};
  // 60152.00000000001 is one unit in the last place above 60152, and meant so.
  Period = {0.0, 88.0, 225.0, 365.0, 687.0, 4343.5, 10767.5, 30660.0, 60152.00000000001, 90410.5};
}

void TPlanets::LoadOptions() {
  // A directory of that name counts as no file.
  if (!FileExists(IniFile)) {
    ShowComet = kOptionOn;
    ShowOrbits = kOptionOn;
    return;
  }
  // An open error leaves both options as they were.
  TFileStream stream(IniFile, fmOpenRead);
  ShowComet = ReadByte(stream, kOptionOn);
  ShowOrbits = ReadByte(stream, kOptionOn);
}

void TPlanets::SaveOptions() {
  TFileStream stream(IniFile, fmCreate);
  WriteByte(stream, ShowComet);
  WriteByte(stream, ShowOrbits);
}
