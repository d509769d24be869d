// The saver as a file in a download folder: it keeps ASLR and DEP, imports system libraries
// only, and loads OpenGL from the system folder even with same-named libraries beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/SaverProcess.h"

namespace e2e {
namespace {

// A PE32+ file's header fields that tell how Windows loads it.
struct PeFile {
  std::uint16_t dllCharacteristics = 0;
  std::set<std::string> importedLibraries;  // in lower case
};

template <typename T>
T readAt(const std::vector<char>& bytes, size_t offset) {
  T value{};
  if (offset + sizeof value > bytes.size())
    throw std::runtime_error("the file ends inside its headers");
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return text;
}

PeFile readPeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
  const auto header = readAt<std::uint32_t>(bytes, offsetof(IMAGE_DOS_HEADER, e_lfanew));
  if (readAt<std::uint32_t>(bytes, header) != IMAGE_NT_SIGNATURE)
    throw std::runtime_error(path + " is no PE file");
  const auto nt = readAt<IMAGE_NT_HEADERS64>(bytes, header);
  if (nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    throw std::runtime_error(path + " is no PE32+ file");

  // Addresses in the headers are relative to the loaded image; sections map them to the file.
  const size_t sections =
      header + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
  auto fileOffset = [&](std::uint32_t address) -> size_t {
    for (size_t i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
      const auto section =
          readAt<IMAGE_SECTION_HEADER>(bytes, sections + i * sizeof(IMAGE_SECTION_HEADER));
      if (address >= section.VirtualAddress &&
          address < section.VirtualAddress + section.SizeOfRawData) {
        return address - section.VirtualAddress + section.PointerToRawData;
      }
    }
    throw std::runtime_error("an address outside every section of " + path);
  };

  PeFile pe;
  pe.dllCharacteristics = nt.OptionalHeader.DllCharacteristics;
  const IMAGE_DATA_DIRECTORY imports =
      nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (size_t at = fileOffset(imports.VirtualAddress);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto entry = readAt<IMAGE_IMPORT_DESCRIPTOR>(bytes, at);
    if (entry.Name == 0) break;
    const size_t name = fileOffset(entry.Name);
    pe.importedLibraries.insert(lowerCase(
        std::string(bytes.data() + name, strnlen(bytes.data() + name, bytes.size() - name))));
  }
  return pe;
}

TEST(HardenedBinary, KeepsAslrHighEntropyAslrAndDep) {
  const PeFile saver = readPeFile(saverPath());
  // 0x20 high-entropy ASLR, 0x40 ASLR (dynamic base), 0x100 DEP (NX compatible).
  EXPECT_EQ(saver.dllCharacteristics & 0x160, 0x160) << std::hex << saver.dllCharacteristics;
}

TEST(HardenedBinary, ImportsSystemLibrariesOnlyAndNoOpenGlAtStartUp) {
  const std::set<std::string> expected{"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll",
                                       "msvcrt.dll",   "shell32.dll",  "user32.dll"};
  EXPECT_EQ(readPeFile(saverPath()).importedLibraries, expected);
}

// Windows takes a library beside the program before the system's. Wine takes its own builtin
// OpenGL unless told to prefer files on disk, as the test environment does (scripts/wine-env.sh);
// a program cannot tell it so for the programs it starts.
constexpr char kPreferFilesOnDisk[] = "opengl32,glu32=n,b";

bool runsUnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

std::string dllOverrides() {
  std::vector<char> buffer(32768);
  const DWORD length = GetEnvironmentVariableA("WINEDLLOVERRIDES", buffer.data(), buffer.size());
  return length < buffer.size() ? std::string(buffer.data(), length) : std::string();
}

TEST(HardenedBinary, LoadsNoOpenGlLibraryPlantedBesideItAndDrawsTheScene) {
  SaverFolder folder;
  folder.addFile(programFolder() + "\\planted\\opengl32.dll");
  folder.addFile(programFolder() + "\\planted\\glu32.dll");
  if (runsUnderWine()) {
    ASSERT_NE(dllOverrides().find(kPreferFilesOnDisk), std::string::npos)
        << "WINEDLLOVERRIDES lacks " << kPreferFilesOnDisk
        << ": Wine would not load a planted library at all";
  }
  SaverProcess saver("/s", folder.saver());
  ASSERT_TRUE(saver.waitForFullScreenWindow().has_value()) << "no full-screen window appeared";

  const std::vector<SceneSeen> frames = watchScene();
  EXPECT_FALSE(folder.holds("opengl32.dll.loaded")) << "the planted opengl32.dll was loaded";
  EXPECT_FALSE(folder.holds("glu32.dll.loaded")) << "the planted glu32.dll was loaded";
  kit::expectScene(frames);
}

}  // namespace
}  // namespace e2e
