// A fresh directory per test, removed afterwards, and whole-file reads and writes that do not
// go through the code under test: for the unit, scene, Linux and Windows tests alike.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/kit/Bytes.h"

class TempDir {
public:
  TempDir() {
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    do {
      path_ = base / ("velorium-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Full path of a name inside the directory, as the code under test takes it.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
  std::filesystem::path path_;
};

// A test in a fresh directory, with the path of a file there that most tests use.
class InTempDir : public testing::Test {
protected:
  TempDir dir;
  const std::string file = dir.File("a.bin");
};

inline void WriteBytes(const std::string& fileName, const Bytes& bytes) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadBytes(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
