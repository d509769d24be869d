// Parser of the layout text format (see Layout.h).
#include "framework/Layout.h"

#include <cctype>

#include "framework/SysUtils.h"

namespace {

class LayoutParser {
public:
  explicit LayoutParser(std::string_view text) : text_(text) {}

  LayoutObject ParseDocument() {
    LayoutObject root = ParseObject();
    SkipBlanks();
    if (pos_ != text_.size()) Fail("text after the last 'end'");
    return root;
  }

private:
  [[noreturn]] void Fail(const std::string& what) const { ThrowLayoutError(line_, what); }

  void SkipBlanks() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (static_cast<unsigned char>(c) <= ' ') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  static bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
  }

  std::string ParseName() {
    SkipBlanks();
    std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    if (start == pos_) Fail("a name was expected");
    return std::string(text_.substr(start, pos_ - start));
  }

  void Expect(char c) {
    SkipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != c) Fail(std::string("'") + c + "' was expected");
    ++pos_;
  }

  bool PeekKeyword(std::string_view word) {
    SkipBlanks();
    if (text_.substr(pos_, word.size()) != word) return false;
    std::size_t after = pos_ + word.size();
    return after >= text_.size() || !IsNameChar(text_[after]);
  }

  LayoutObject ParseObject() {
    LayoutObject object;
    if (!PeekKeyword("object")) Fail("'object' was expected");
    object.line = line_;
    pos_ += 6;
    object.name = ParseName();
    Expect(':');
    object.className = ParseName();
    while (true) {
      if (PeekKeyword("end")) {
        pos_ += 3;
        return object;
      }
      if (PeekKeyword("object")) {
        object.children.push_back(ParseObject());
        continue;
      }
      if (pos_ >= text_.size()) Fail("'end' was expected");
      LayoutProperty property;
      property.line = line_;
      property.name = ParseName();
      Expect('=');
      property.value = ParseValue();
      object.properties.push_back(std::move(property));
    }
  }

  LayoutValue ParseValue() {
    SkipBlanks();
    if (pos_ >= text_.size()) Fail("a value was expected");
    char c = text_[pos_];
    LayoutValue value;
    if (c == '\'') {
      value.kind = LayoutValue::Kind::String;
      value.text = ParseString();
    } else if (c == '[') {
      value.kind = LayoutValue::Kind::Set;
      value.set = ParseSet();
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c)) != 0) {
      value.kind = LayoutValue::Kind::Integer;
      value.integer = ParseInteger();
    } else {
      value.kind = LayoutValue::Kind::Identifier;
      value.text = ParseName();
    }
    return value;
  }

  std::string ParseString() {
    std::string result;
    ++pos_;  // opening quote
    while (true) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated string");
      char c = text_[pos_++];
      if (c != '\'') {
        result += c;
      } else if (pos_ < text_.size() && text_[pos_] == '\'') {
        result += '\'';
        ++pos_;
      } else {
        return result;
      }
    }
  }

  std::vector<std::string> ParseSet() {
    std::vector<std::string> items;
    ++pos_;  // '['
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ']') {
      ++pos_;
      return items;
    }
    while (true) {
      items.push_back(ParseName());
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
      } else {
        Expect(']');
        return items;
      }
    }
  }

  std::int64_t ParseInteger() {
    bool negative = text_[pos_] == '-';
    if (negative) ++pos_;
    std::size_t start = pos_;
    std::int64_t value = 0;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])) != 0) {
      if (value > 100000000000) Fail("number too large");
      value = value * 10 + (text_[pos_++] - '0');
    }
    if (start == pos_) Fail("digits were expected");
    return negative ? -value : value;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

void ThrowLayoutError(int line, const std::string& what) {
  throw ELayoutError("Layout error at line " + std::to_string(line) + ": " + what);
}

LayoutObject ParseLayout(std::string_view text) {
  return LayoutParser(text).ParseDocument();
}
