// A form built from layout text that names something the program does not have: the error
// says what and where, and a layout that names only what exists builds.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win32/ExtCtrls.h"
#include "win32/Forms.h"

namespace {

// A form with one handler, FormCreate, and one field, Timer1, built from the text it is given.
class TLayoutF : public TForm {
public:
  TLayoutF(TComponent* owner, const std::string& text) : TForm(owner) {
    Publish("FormCreate", &TLayoutF::FormCreate);
    Publish("Timer1", Timer1);
    InitFormFromText(text);
  }
  void FormCreate(TObject*) { ++created; }

  TTimer* Timer1 = nullptr;
  int created = 0;
};

// The message building a form from this text fails with, or "" when it builds.
std::string ErrorOf(const std::string& text) {
  TApplication application;
  try {
    TLayoutF form(&application, text);
  } catch (const Exception& error) {
    return error.Message();
  }
  return "";
}

std::string FormWith(const std::string& lines) {
  return "object LayoutF: TLayoutF\n" + lines + "end\n";
}

}  // namespace

TEST(FormLayout, NamingOnlyWhatExistsBuildsTheFormAndBindsFieldAndHandler) {
  TApplication application;
  TLayoutF form(&application, FormWith("  BorderStyle = bsNone\n"
                                       "  OnCreate = FormCreate\n"
                                       "  object Timer1: TTimer\n"
                                       "    Enabled = False\n"
                                       "  end\n"));
  form.AfterConstruction();
  EXPECT_EQ(form.BorderStyle, TBorderStyle::bsNone);
  EXPECT_EQ(form.created, 1);
  ASSERT_NE(form.Timer1, nullptr);
  EXPECT_EQ(form.Timer1->Name(), "Timer1");
}

TEST(FormLayout, ErrorsNameTheUnknownPropertyValueClassOrHandler) {
  EXPECT_EQ(ErrorOf(FormWith("  Left = 1\n  Colour = 5\n")),
            "Layout error at line 3: unknown property Colour of TLayoutF");
  EXPECT_EQ(ErrorOf(FormWith("  BorderStyle = bsRound\n")),
            "Layout error at line 2: unknown value bsRound of BorderStyle");
  EXPECT_EQ(ErrorOf(FormWith("  object Timer2: TStopwatch\n  end\n")),
            "Class TStopwatch not found");
  EXPECT_EQ(ErrorOf(FormWith("  OnCreate = FormMissing\n")), "Method FormMissing not found");
  EXPECT_EQ(ErrorOf(FormWith("  object Timer1: TTimer\n    Tempo = 3\n  end\n")),
            "Layout error at line 3: unknown property Tempo of TTimer");
}
