// The layout text format: nested objects, the four kinds of value, comments, and the line
// a malformed layout is reported at.
#include "framework/Layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/SysUtils.h"
#include "tests/kit/Raised.h"

namespace {

using Kind = LayoutValue::Kind;

// The message ParseLayout fails with, or "" when it does not fail.
std::string ErrorOf(const std::string& text) {
  return MessageRaised<ELayoutError>([&] { ParseLayout(text); });
}

}  // namespace

TEST(ParseLayout, ReadsNamesClassesPropertiesAndNestedObjectsWithTheirLines) {
  const LayoutObject form = ParseLayout(
      "object OptionsF: TOptionsF\n"
      "  Left = 192\n"
      "  Top = -7\n"
      "  Caption = 'It''s on'\n"
      "  BorderStyle = bsDialog\n"
      "  Font.Style = [fsBold, fsItalic]\n"
      "  Anchors = []\n"
      "  // a remark\n"
      "  object Panel1: TPanel\n"
      "    object CheckBox1: TCheckBox\n"
      "      OnClick = CheckBox1Click\n"
      "    end\n"
      "  end\n"
      "  object Button1: TButton end\n"
      "end\n");
  EXPECT_EQ(form.name, "OptionsF");
  EXPECT_EQ(form.className, "TOptionsF");
  EXPECT_EQ(form.line, 1);
  ASSERT_EQ(form.properties.size(), 6u);

  const std::vector<std::string> names = {"Left",        "Top",        "Caption",
                                          "BorderStyle", "Font.Style", "Anchors"};
  const std::vector<Kind> kinds = {Kind::Integer,    Kind::Integer, Kind::String,
                                   Kind::Identifier, Kind::Set,     Kind::Set};
  for (std::size_t k = 0; k < names.size(); ++k) {
    EXPECT_EQ(form.properties[k].name, names[k]);
    EXPECT_EQ(form.properties[k].value.kind, kinds[k]) << names[k];
    EXPECT_EQ(form.properties[k].line, static_cast<int>(k) + 2) << names[k];
  }
  EXPECT_EQ(form.properties[0].value.integer, 192);
  EXPECT_EQ(form.properties[1].value.integer, -7);
  EXPECT_EQ(form.properties[2].value.text, "It's on");
  EXPECT_TRUE(form.properties[3].value.IsIdentifier("bsDialog"));
  EXPECT_EQ(form.properties[4].value.set, (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_TRUE(form.properties[5].value.set.empty());

  ASSERT_EQ(form.children.size(), 2u);
  const LayoutObject& panel = form.children[0];
  EXPECT_EQ(panel.name, "Panel1");
  EXPECT_EQ(panel.className, "TPanel");
  EXPECT_EQ(panel.line, 9);
  ASSERT_EQ(panel.children.size(), 1u);
  const LayoutObject& box = panel.children[0];
  EXPECT_EQ(box.name, "CheckBox1");
  EXPECT_EQ(box.line, 10);
  ASSERT_EQ(box.properties.size(), 1u);
  EXPECT_TRUE(box.properties[0].value.IsIdentifier("CheckBox1Click"));
  EXPECT_EQ(box.properties[0].line, 11);
  EXPECT_EQ(form.children[1].name, "Button1");
  EXPECT_TRUE(form.children[1].properties.empty());
}

TEST(ParseLayout, KeywordsNeedAWordBoundary) {
  // "endless" and "objective" are property names, not the keywords they start with.
  const LayoutObject form = ParseLayout("object F: TF endless = 1 objective = 2 end");
  ASSERT_EQ(form.properties.size(), 2u);
  EXPECT_EQ(form.properties[0].name, "endless");
  EXPECT_EQ(form.properties[1].name, "objective");
  EXPECT_TRUE(form.children.empty());
}

TEST(ParseLayout, MalformedTextIsReportedWithItsLine) {
  EXPECT_EQ(ErrorOf(""), "Layout error at line 1: 'object' was expected");
  EXPECT_EQ(ErrorOf("form F: TF\nend"), "Layout error at line 1: 'object' was expected");
  EXPECT_EQ(ErrorOf("object F TF\nend"), "Layout error at line 1: ':' was expected");
  EXPECT_EQ(ErrorOf("object F:\n\n  = 1\nend"), "Layout error at line 3: a name was expected");
  EXPECT_EQ(ErrorOf("object F: TF\n  Left 1\nend"), "Layout error at line 2: '=' was expected");
  EXPECT_EQ(ErrorOf("object F: TF\n  Left = 1\n"), "Layout error at line 3: 'end' was expected");
  EXPECT_EQ(ErrorOf("object F: TF\n  Left =\n"), "Layout error at line 3: a value was expected");
  EXPECT_EQ(ErrorOf("object F: TF\n  Caption = 'open\nend"),
            "Layout error at line 2: unterminated string");
  EXPECT_EQ(ErrorOf("object F: TF\n  Left = -\nend"),
            "Layout error at line 2: digits were expected");
  EXPECT_EQ(ErrorOf("object F: TF\n  Left = 99999999999999\nend"),
            "Layout error at line 2: number too large");
  EXPECT_EQ(ErrorOf("object F: TF\n  S = [a b]\nend"), "Layout error at line 2: ']' was expected");
  EXPECT_EQ(ErrorOf("object F: TF\nend\nend"), "Layout error at line 3: text after the last 'end'");
}

TEST(ParseLayout, TwelveDigitNumbersFit) {
  EXPECT_EQ(ParseLayout("object F: TF Left = 999999999999 end").properties[0].value.integer,
            999999999999);
}
