// The settings file's helpers: the executable's directory rule and one-byte
// reads and writes.
#include "util/Fileutils.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/Platform.h"
#include "tests/kit/Raised.h"
#include "tests/kit/TempDir.h"

namespace {

#ifdef _WIN32
const std::string kTestProgram = "unit_tests.exe";
#else
const std::string kTestProgram = "unit_tests";
#endif

}  // namespace

// The directory part of a path, ending in one delimiter, whatever the path looks like.
TEST(ExtractDirWithDelimiter, KeepsTheDirectoryWithOneTrailingDelimiter) {
  const struct {
    const char* what;
    std::string path;
    char delimiter;
    std::string dir;
  } cases[] = {
      {"a file's directory", "D:\\Games\\Velorium.scr", '\\', "D:\\Games\\"},
      {"a deeper one", "C:\\Windows\\System32\\Velorium.scr", '\\', "C:\\Windows\\System32\\"},
      {"a drive root keeps its one backslash", "D:\\Velorium.scr", '\\', "D:\\"},
      // The colon is the last delimiter and is kept; the backslash is then appended.
      {"a drive without backslash is its root", "D:Velorium.scr", '\\', "D:\\"},
      {"a network share", "\\\\server\\share\\x.scr", '\\', "\\\\server\\share\\"},
      {"no delimiter gives the delimiter alone", "Velorium.scr", '\\', "\\"},
      {"an empty name too", "", '\\', "\\"},
      {"a trailing delimiter is the directory itself", "D:\\Games\\", '\\', "D:\\Games\\"},
      {"a drive root itself", "D:\\", '\\', "D:\\"},
      {"a doubled backslash is kept", "D:\\Games\\\\x.scr", '\\', "D:\\Games\\\\"},
      {"a leading backslash", "\\x.scr", '\\', "\\"},
      {"slash paths split at slashes", "/opt/velorium/Velorium.scr", '/', "/opt/velorium/"},
      {"the slash root", "/Velorium.scr", '/', "/"},
      {"a colon in a slash path does not split", "/opt/a:b/Velorium.scr", '/', "/opt/a:b/"},
      {"no slash gives the slash alone", "Velorium.scr", '/', "/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractDirWithDelimiter(c.path, c.delimiter), c.dir) << c.what;
  }
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
  EXPECT_EQ(MessageRaised<EWriteError>([&] { WriteByte(stream, 1); }),
            "Cannot write file " + dir.File("a.bin"));
}
