// Form layouts as data: a small text format of nested objects and their properties,
// parsed here without any platform code. Forms are built from the parsed tree.
//
//   object VeloriumF1: TVeloriumF1     -- component name and class
//     Left = 305                        -- integer
//     Caption = 'VeloriumF1'            -- string ('' inside stands for one quote)
//     BorderStyle = bsNone              -- identifier (also True/False, handler names)
//     Font.Style = [fsBold]             -- set of identifiers
//     object Timer1: TTimer ... end     -- owned component
//   end
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct LayoutValue {
  enum class Kind { Integer, String, Identifier, Set };
  Kind kind = Kind::Integer;
  std::int64_t integer = 0;
  std::string text;              // String and Identifier
  std::vector<std::string> set;  // Set

  bool IsIdentifier(std::string_view name) const {
    return kind == Kind::Identifier && text == name;
  }
};

struct LayoutProperty {
  std::string name;  // may be dotted: "Font.Height"
  LayoutValue value;
  int line = 0;
};

struct LayoutObject {
  std::string name;
  std::string className;
  std::vector<LayoutProperty> properties;
  std::vector<LayoutObject> children;
  int line = 0;
};

// Parses one top-level object. Throws ELayoutError ("Layout error at line N: ...")
// on anything that is not well formed.
LayoutObject ParseLayout(std::string_view text);

// Throws ELayoutError with "Layout error at line <line>: <what>", the form of every error
// found in a layout, by the parser or by the form that applies it.
[[noreturn]] void ThrowLayoutError(int line, const std::string& what);
