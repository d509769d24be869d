// Random command lines, from a fixed seed, through the splitting, the mode
// selection and the preview's handle conversion: nothing may crash, and the
// words must keep the splitting rules whatever the bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "app/Mode.h"
#include "framework/CommandLine.h"
#include "framework/StrToInt.h"
#include "framework/SysUtils.h"

namespace {

constexpr int kLines = 20000;
constexpr unsigned kSeed = 20240229;

// Quotes, separators, NULs and the letters of the modes come up far more often
// than uniform bytes would give them, so the interesting paths are all taken.
char randomByte(std::mt19937& random) {
  static constexpr char kFavourites[] = {'"', '"', '"', ' ', '\t', '\x01', '\x20', '/', 's', 'S',
                                         'p', 'P', 'c', 'C', '$', 'x', '0', '9', '-', '\0'};
  const unsigned pick = random() % 4;
  if (pick < 2) {
    return kFavourites[random() % sizeof kFavourites];
  }
  return static_cast<char>(random() % 256);
}

std::string randomLine(std::mt19937& random) {
  std::string line(random() % 48, '\0');
  for (char& c : line) {
    c = randomByte(random);
  }
  return line;
}

bool hasSeparator(const std::string& word) {
  for (char c : word) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 1 && code <= 32) {
      return true;
    }
  }
  return false;
}

// Without quotes the words are exactly the text with its separators taken out.
std::string withoutSeparators(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 32) {
      kept += c;
    }
  }
  return kept;
}

void checkLine(const std::string& line) {
  const std::string_view text = std::string_view(line).substr(0, line.find('\0'));
  const bool quoted = text.find('"') != std::string_view::npos;
  const std::vector<std::string> words = SplitCommandLine(line);
  ASSERT_FALSE(words.empty());
  std::string joined;
  for (std::size_t i = 0; i < words.size(); ++i) {
    ASSERT_TRUE(i == 0 || !words[i].empty()) << "word " << i;
    ASSERT_EQ(words[i].find('"'), std::string::npos);
    ASSERT_EQ(words[i].find('\0'), std::string::npos);
    ASSERT_TRUE(quoted || !hasSeparator(words[i]));
    joined += words[i];
  }
  ASSERT_LE(joined.size(), text.size());
  if (!quoted) {
    ASSERT_EQ(joined, withoutSeparators(text));
  }
  ASSERT_EQ(CommandLineWord(line, 1), words.size() > 1 ? words[1] : "");

  const std::vector<std::string> arguments(words.begin() + 1, words.end());
  const int mode = static_cast<int>(SelectMode(arguments));
  ASSERT_GE(mode, 0);
  ASSERT_LE(mode, 3);
  ASSERT_TRUE(!arguments.empty() || mode == 3);

  const std::string handle = CommandLineWord(line, 2);
  std::int32_t value = 0;
  const bool converted = TryStrToInt(handle, value);
  bool threw = false;
  try {
    ASSERT_EQ(StrToInt(handle), value);
  } catch (const EConvertError&) {
    threw = true;
  }
  ASSERT_NE(converted, threw);
}

}  // namespace

TEST(CommandLineFuzz, RandomLinesKeepTheRules) {
  std::mt19937 random(kSeed);
  for (int n = 0; n < kLines; ++n) {
    const std::string line = randomLine(random);
    SCOPED_TRACE("line " + std::to_string(n));
    checkLine(line);
    if (HasFatalFailure()) {
      return;
    }
  }
}
