// The framework's file stream: opening, creating, exclusive use and byte transfer.
#include "framework/Classes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/kit/Raised.h"
#include "tests/kit/TempDir.h"

namespace {

// Runs body in dir as the current directory, then returns to where it was.
template <typename Body>
void InDirectory(const std::filesystem::path& dir, Body body) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  body();
  std::filesystem::current_path(previous);
}

}  // namespace

using FileStreamOpen = InTempDir;
using FileStreamCreate = InTempDir;
using FileStreamSharing = InTempDir;

TEST_F(FileStreamOpen, MissingFileRaisesOpenErrorNamingTheFullPath) {
  const std::string missing = dir.File("missing.ini");
  EXPECT_EQ(MessageRaised<EFOpenError>([&] { TFileStream stream(missing, fmOpenRead); }),
            "Cannot open file " + missing);
}

TEST_F(FileStreamOpen, RelativeNameIsReportedAsTheFullPath) {
  std::string message;
  InDirectory(dir.Path(), [&] {
    message = MessageRaised<EFOpenError>([] { TFileStream stream("missing.ini", fmOpenRead); });
  });
  EXPECT_EQ(message, "Cannot open file " + dir.File("missing.ini"));
}

TEST_F(FileStreamOpen, DirectoryCannotBeOpened) {
  std::filesystem::create_directory(dir.File("Velorium.ini"));
  EXPECT_THROW(TFileStream(dir.File("Velorium.ini"), fmOpenRead), EFOpenError);
}

TEST_F(FileStreamOpen, ExistingFileReadsItsBytesThenZeroAtTheEnd) {
  WriteBytes(file, {7, 0, 255});
  TFileStream stream(file, fmOpenRead);
  std::uint8_t buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 2), 2);
  EXPECT_EQ(buffer[0], 7);
  EXPECT_EQ(buffer[1], 0);
  EXPECT_EQ(stream.Read(buffer, 8), 1);
  EXPECT_EQ(buffer[0], 255);
  EXPECT_EQ(stream.Read(buffer, 8), 0);
  EXPECT_EQ(stream.Read(buffer, 1), 0);
}

TEST_F(FileStreamOpen, ReadOnlyStreamStoresNothing) {
  WriteBytes(file, {1, 2});
  {
    TFileStream stream(file, fmOpenRead);
    const std::uint8_t byte = 9;
    EXPECT_EQ(stream.Write(&byte, 1), 0);
  }
  EXPECT_EQ(ReadBytes(file), (Bytes{1, 2}));
}

TEST_F(FileStreamOpen, KeepsTheNameItWasGiven) {
  WriteBytes(file, {});
  TFileStream stream(file, fmOpenRead);
  EXPECT_EQ(stream.FileName(), file);
}

TEST_F(FileStreamCreate, NewFileIsCreatedEmptyAndWritable) {
  {
    TFileStream stream(dir.File("new.bin"), fmCreate);
    const std::uint8_t bytes[3] = {1, 0, 2};
    EXPECT_EQ(stream.Write(bytes, 3), 3);
  }
  EXPECT_EQ(ReadBytes(dir.File("new.bin")), (Bytes{1, 0, 2}));
}

TEST_F(FileStreamCreate, ExistingFileIsEmptied) {
  WriteBytes(dir.File("old.bin"), {5, 6, 7, 8});
  {
    TFileStream stream(dir.File("old.bin"), fmCreate);
    std::uint8_t byte = 0;
    EXPECT_EQ(stream.Read(&byte, 1), 0);
  }
  EXPECT_EQ(ReadBytes(dir.File("old.bin")), Bytes{});
}

TEST_F(FileStreamCreate, MissingDirectoryRaisesCreateErrorNamingTheFullPath) {
  const std::string target = (dir.Path() / "nowhere" / "x.ini").string();
  EXPECT_EQ(MessageRaised<EFCreateError>([&] { TFileStream stream(target, fmCreate); }),
            "Cannot create file " + target);
  EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));
}

TEST_F(FileStreamCreate, DirectoryInTheWayRaisesCreateError) {
  std::filesystem::create_directory(dir.File("Velorium.ini"));
  EXPECT_THROW(TFileStream(dir.File("Velorium.ini"), fmCreate), EFCreateError);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("Velorium.ini")));
}

TEST_F(FileStreamSharing, SecondOpenFailsWhileTheFirstIsOpen) {
  WriteBytes(file, {1, 1});
  TFileStream first(file, fmOpenRead);
  EXPECT_THROW(TFileStream(file, fmOpenRead), EFOpenError);
}

TEST_F(FileStreamSharing, CreateFailsWhileAReaderHasTheFileAndLeavesItIntact) {
  WriteBytes(file, {3, 4, 5});
  {
    TFileStream reader(file, fmOpenRead);
    EXPECT_EQ(MessageRaised<EFCreateError>([&] { TFileStream writer(file, fmCreate); }),
              "Cannot create file " + file);
  }
  EXPECT_EQ(ReadBytes(file), (Bytes{3, 4, 5}));
}

TEST_F(FileStreamSharing, NeitherOpenNorCreateGetsAFileBeingWritten) {
  {
    TFileStream writer(file, fmCreate);
    const std::uint8_t bytes[2] = {0, 1};
    writer.Write(bytes, 2);
    EXPECT_THROW(TFileStream(file, fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(file, fmCreate), EFCreateError);
  }
  EXPECT_EQ(ReadBytes(file), (Bytes{0, 1}));
}

TEST_F(FileStreamSharing, FileIsFreeAgainOnceTheStreamIsDestroyed) {
  WriteBytes(file, {9});
  { TFileStream first(file, fmOpenRead); }
  TFileStream second(file, fmOpenRead);
  std::uint8_t byte = 0;
  EXPECT_EQ(second.Read(&byte, 1), 1);
  EXPECT_EQ(byte, 9);
}

TEST(FileExists, TrueOnlyForAFile) {
  TempDir dir;
  WriteBytes(dir.File("file.ini"), {});
  std::filesystem::create_directory(dir.File("folder.ini"));
  EXPECT_TRUE(FileExists(dir.File("file.ini")));
  EXPECT_FALSE(FileExists(dir.File("folder.ini")));
  EXPECT_FALSE(FileExists(dir.File("missing.ini")));
}
