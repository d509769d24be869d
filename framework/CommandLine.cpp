// Command-line words by the program's own rules (see CommandLine.h).
#include "framework/CommandLine.h"

namespace {

bool isSeparator(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

class WordReader {
public:
  explicit WordReader(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

  // The next word, or "" at the end of the text or for an unterminated empty quote.
  std::string next() {
    skipToWord();
    std::string word;
    while (pos_ < text_.size() && !isSeparator(text_[pos_])) {
      if (text_[pos_] == '"') {
        readQuoted(word);
      } else {
        word += text_[pos_++];
      }
    }
    return word;
  }

private:
  void skipToWord() {
    for (;;) {
      while (pos_ < text_.size() && isSeparator(text_[pos_])) {
        ++pos_;
      }
      if (text_.substr(pos_, 2) != "\"\"") {
        return;
      }
      pos_ += 2;
    }
  }

  // Appends the stretch after the opening quote at pos_ and steps past the closing one.
  void readQuoted(std::string& word) {
    const auto close = text_.find('"', pos_ + 1);
    const auto end = close == std::string_view::npos ? text_.size() : close;
    word.append(text_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = close == std::string_view::npos ? end : end + 1;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  WordReader reader(commandLine);
  std::vector<std::string> words{reader.next()};
  for (std::string word = reader.next(); !word.empty(); word = reader.next()) {
    words.push_back(std::move(word));
  }
  return words;
}

std::string CommandLineWord(std::string_view commandLine, int index) {
  const auto words = SplitCommandLine(commandLine);
  if (index < 0 || static_cast<std::size_t>(index) >= words.size()) {
    return "";
  }
  return words[static_cast<std::size_t>(index)];
}
