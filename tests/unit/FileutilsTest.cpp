// The settings file's helpers: the executable's directory rule and one-byte
// reads and writes.
#include "util/Fileutils.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/Platform.h"
#include "tests/unit/TempDir.h"

namespace {

#ifdef _WIN32
const std::string kTestProgram = "unit_tests.exe";
#else
const std::string kTestProgram = "unit_tests";
#endif

}  // namespace

TEST(ExtractDirWithDelimiter, DirectoryOfAFileKeepsOneTrailingBackslash) {
  EXPECT_EQ(ExtractDirWithDelimiter("D:\\Games\\Velorium.scr", '\\'), "D:\\Games\\");
  EXPECT_EQ(ExtractDirWithDelimiter("C:\\Windows\\System32\\Velorium.scr", '\\'),
            "C:\\Windows\\System32\\");
}

TEST(ExtractDirWithDelimiter, DriveRootKeepsItsSingleBackslash) {
  EXPECT_EQ(ExtractDirWithDelimiter("D:\\Velorium.scr", '\\'), "D:\\");
}

TEST(ExtractDirWithDelimiter, DriveWithoutBackslashBecomesTheDriveRoot) {
  // The colon is the last delimiter and is kept; the backslash is then appended.
  EXPECT_EQ(ExtractDirWithDelimiter("D:Velorium.scr", '\\'), "D:\\");
}

TEST(ExtractDirWithDelimiter, NetworkShare) {
  EXPECT_EQ(ExtractDirWithDelimiter("\\\\server\\share\\x.scr", '\\'), "\\\\server\\share\\");
}

TEST(ExtractDirWithDelimiter, NameWithoutDelimiterGivesTheDelimiterAlone) {
  EXPECT_EQ(ExtractDirWithDelimiter("Velorium.scr", '\\'), "\\");
  EXPECT_EQ(ExtractDirWithDelimiter("", '\\'), "\\");
}

TEST(ExtractDirWithDelimiter, TrailingDelimiterIsTheDirectoryItself) {
  EXPECT_EQ(ExtractDirWithDelimiter("D:\\Games\\", '\\'), "D:\\Games\\");
  EXPECT_EQ(ExtractDirWithDelimiter("D:\\", '\\'), "D:\\");
}

TEST(ExtractDirWithDelimiter, DoubledBackslashIsKept) {
  EXPECT_EQ(ExtractDirWithDelimiter("D:\\Games\\\\x.scr", '\\'), "D:\\Games\\\\");
  EXPECT_EQ(ExtractDirWithDelimiter("\\x.scr", '\\'), "\\");
}

TEST(ExtractDirWithDelimiter, SlashPathsSplitAtSlashesOnly) {
  EXPECT_EQ(ExtractDirWithDelimiter("/opt/velorium/Velorium.scr", '/'), "/opt/velorium/");
  EXPECT_EQ(ExtractDirWithDelimiter("/Velorium.scr", '/'), "/");
  EXPECT_EQ(ExtractDirWithDelimiter("/opt/a:b/Velorium.scr", '/'), "/opt/a:b/");
  EXPECT_EQ(ExtractDirWithDelimiter("Velorium.scr", '/'), "/");
}

TEST(GetExeDir, IsTheDirectoryHoldingTheRunningProgram) {
  const std::string dir = GetExeDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), kPathDelim);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir + kTestProgram)) << dir;
}

TEST(ExecutablePath, NamesTheRunningProgram) {
  const std::string path = ExecutablePath();
  ASSERT_GT(path.size(), kTestProgram.size());
  EXPECT_EQ(path.substr(path.size() - kTestProgram.size()), kTestProgram);
  EXPECT_EQ(path[path.size() - kTestProgram.size() - 1], kPathDelim);
}

TEST(ReadByte, ReturnsTheBytesInOrderThenTheMissingValue) {
  TempDir dir;
  WriteBytes(dir.File("a.bin"), {0, 200});
  TFileStream stream(dir.File("a.bin"), fmOpenRead);
  EXPECT_EQ(ReadByte(stream, 1), 0);
  EXPECT_EQ(ReadByte(stream, 1), 200);
  EXPECT_EQ(ReadByte(stream, 1), 1);
  EXPECT_EQ(ReadByte(stream, 0x7F), 0x7F);
}

TEST(ReadByte, EmptyFileGivesTheMissingValue) {
  TempDir dir;
  WriteBytes(dir.File("a.bin"), {});
  TFileStream stream(dir.File("a.bin"), fmOpenRead);
  EXPECT_EQ(ReadByte(stream, 1), 1);
}

TEST(WriteByte, StoresEachByteAtTheStreamsPosition) {
  TempDir dir;
  {
    TFileStream stream(dir.File("a.bin"), fmCreate);
    WriteByte(stream, 1);
    WriteByte(stream, 0);
    WriteByte(stream, 255);
  }
  EXPECT_EQ(ReadBytes(dir.File("a.bin")), (Bytes{1, 0, 255}));
}

TEST(WriteByte, UnstoredByteRaisesWriteErrorNamingTheFile) {
  TempDir dir;
  WriteBytes(dir.File("a.bin"), {4});
  TFileStream stream(dir.File("a.bin"), fmOpenRead);
  try {
    WriteByte(stream, 1);
    FAIL() << "a byte that was not stored went unreported";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Message(), "Cannot write file " + dir.File("a.bin"));
  }
}

TEST(SettingsBytes, TwoWrittenBytesReadBackAndTheThirdIsMissing) {
  TempDir dir;
  const std::string ini = dir.File("Velorium.ini");
  {
    TFileStream stream(ini, fmCreate);
    WriteByte(stream, 0);
    WriteByte(stream, 1);
  }
  EXPECT_EQ(ReadBytes(ini), (Bytes{0, 1}));
  TFileStream stream(ini, fmOpenRead);
  EXPECT_EQ(ReadByte(stream, 1), 0);
  EXPECT_EQ(ReadByte(stream, 1), 1);
  EXPECT_EQ(ReadByte(stream, 9), 9);
}
