// Start-up as seen from outside: command lines that name no mode end the program at once,
// without a window and with exit status 0.
#include <gtest/gtest.h>

#include "tests/e2e/NamedCommandLine.h"
#include "tests/e2e/SaverProcess.h"
#include "tests/kit/CaseName.h"

namespace e2e {
namespace {

class CommandLineWithoutAMode : public testing::TestWithParam<NamedCommandLine> {};

TEST_P(CommandLineWithoutAMode, EndsAtOnceWithoutAWindowAndWithStatusZero) {
  SaverProcess saver(GetParam().arguments);

  EXPECT_FALSE(saver.showedAWindowBeforeExit());
  EXPECT_EQ(saver.wait(Milliseconds{0}), 0) << "still running";
}

// Full screen and preview take the whole first argument; the options search is case-sensitive.
INSTANTIATE_TEST_SUITE_P(
    StartUp, CommandLineWithoutAMode,
    testing::Values(NamedCommandLine{"NoArgument", ""}, NamedCommandLine{"UpperS1", "/S1"},
                    NamedCommandLine{"LowerS1", "/s1"}, NamedCommandLine{"SColon1", "/s:1"},
                    NamedCommandLine{"UpperC", "/C"},
                    NamedCommandLine{"UpperCColon1234", "/C:1234"},
                    NamedCommandLine{"UpperP1", "/P1"}, NamedCommandLine{"PlainWord", "x"}),
    kit::CaseName());

}  // namespace
}  // namespace e2e
