// Random command lines, from a fixed seed, through the splitting: nothing may
// crash, and the words are those a plain character-by-character reading of the
// splitting rules gives, whatever the bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/CommandLine.h"

namespace {

constexpr int kLines = 20000;
constexpr unsigned kSeed = 20240229;

// Quotes, separators, NULs and the letters of the modes come up far more often
// than uniform bytes would give them, so the interesting paths are all taken.
char randomByte(std::mt19937& random) {
  static constexpr char kFavourites[] = {'"', '"', '"', ' ', '\t', '\x01', '\x20', '/', 's', 'S',
                                         'p', 'P', 'c', 'C', '$',  'x',    '0',    '9', '-', '\0'};
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

// The rules read one character at a time: a word starts after any run of
// separators and "" pairs; inside a word a quote opens or closes a stretch in
// which separators count as word bytes. Word 0 always exists; the others stop
// at the first empty word.
std::vector<std::string> modelWords(const std::string& line) {
  const std::string text = line.substr(0, line.find('\0'));
  auto separates = [](char c) { return c != '\0' && static_cast<unsigned char>(c) <= 32; };
  std::vector<std::string> words;
  std::size_t at = 0;
  while (true) {
    while (at < text.size()) {
      if (separates(text[at])) {
        at += 1;
      } else if (text.compare(at, 2, "\"\"") == 0) {
        at += 2;
      } else {
        break;
      }
    }
    std::string word;
    bool quoted = false;
    for (; at < text.size(); ++at) {
      const char c = text[at];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && separates(c)) {
        break;
      } else {
        word += c;
      }
    }
    if (!words.empty() && word.empty()) return words;
    words.push_back(word);
  }
}

}  // namespace

// The model's words are free of quotes and NULs, non-empty after the first, and
// hold separators only from a quoted stretch: words equal to them keep those
// rules too.
TEST(CommandLineFuzz, RandomLinesKeepTheRules) {
  std::mt19937 random(kSeed);
  for (int n = 0; n < kLines; ++n) {
    const std::string line = randomLine(random);
    ASSERT_EQ(SplitCommandLine(line), modelWords(line)) << "line " << n;
  }
}
