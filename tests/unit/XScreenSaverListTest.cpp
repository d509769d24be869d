// Velorium in the programs entry of ~/.xscreensaver, as text.
#include "hack/XScreenSaverList.h"

#include <gtest/gtest.h>

#include <random>

#include "hack/QuotedText.h"

namespace {

using Result = ListEdit::Result;

// The system's defaults as Debian's app-defaults file writes them, much shortened.
const char kDefaults[] =
    "*mode:\t\trandom\n"
    "*programs:\t\\\n"
    "\t\tmaze --root\t\\n\\\n"
    "  GL: \t\tgears --root\t\\n\\\n"
    "-\t\tbsod --root\t\\n\n"
    "*cycle:\t0:10:00\n";
const char kVeloriumLine[] = "  GL:\t\t\t\tvelorium --root\t\t\t    \\n";

TEST(XScreenSaverList, WithoutAFileTheSystemListIsTakenWithVeloriumAtItsEnd) {
  const ListEdit edit = AddToList("", kDefaults, "velorium");
  EXPECT_EQ(edit.result, Result::Added);
  EXPECT_EQ(edit.text,
            "# XScreenSaver's settings: velorium --add-to-list made this file with\n"
            "# the system's list of hacks; the settings program adds the rest.\n"
            "programs:\t\\\n"
            "\t\tmaze --root\t\\n\\\n"
            "  GL: \t\tgears --root\t\\n\\\n"
            "-\t\tbsod --root\t\\n\\\n" +
                std::string(kVeloriumLine) + "\n");
}

TEST(XScreenSaverList, AddingKeepsEveryOtherLineAndTheNumbersOfTheHacksBefore) {
  const std::string before =
      "mode:\t\tone\nselected:\t1\nprograms:\t\\\n  maze --root \\n\\\n"
      "  GL: gears --root \\n\n\nlock:\t\tFalse\n";
  const std::string after =
      "mode:\t\tone\nselected:\t1\nprograms:\t\\\n  maze --root \\n\\\n"
      "  GL: gears --root \\n\\\n" +
      std::string(kVeloriumLine) + "\n\nlock:\t\tFalse\n";
  EXPECT_EQ(AddToList(before, kDefaults, "velorium").text, after);
  // A last hack without its "\n", or an entry closed by a blank line, gets what it needs.
  EXPECT_EQ(AddToList("programs: maze", "", "/opt/velorium").text,
            "programs: maze\\\n\\n  GL:\t\t\t\t/opt/velorium --root\t\t\t    \\n");
  EXPECT_EQ(AddToList("programs: \\\n maze \\n\\\n\nx: 1\n", "", "velorium").text,
            "programs: \\\n maze \\n\\\n" + std::string(kVeloriumLine) + "\\\n\nx: 1\n");
}

TEST(XScreenSaverList, VeloriumIsAddedOnceWhereverItIsAndHoweverItIsNamed) {
  for (const char* settings :
       {"programs: \\\n  GL:\t\t\t\tvelorium --root\t\t\t    \\n\n",
        "programs: maze \\n - GL: \"Solar\" /opt/bin/velorium --root --no-comet \\n\n",
        "programs: velorium\n"}) {
    const ListEdit edit = AddToList(settings, kDefaults, "velorium");
    EXPECT_EQ(edit.result, Result::AlreadyThere) << settings;
    EXPECT_EQ(edit.text, settings);
  }
  EXPECT_EQ(AddToList("programs: maze --velorium \\n\n", "", "velorium").result, Result::Added);
}

// A renamed copy finds its own entry as it wrote it, and plain velorium ones; not another
// renamed copy's.
TEST(XScreenSaverList, ARenamedCopyAddsItselfOnceAndTakesOutItsOwnAndPlainVeloriumEntries) {
  const std::string own = "programs: maze \\n\\\n  GL: /opt/velorium-1.0 --root \\n\n";
  EXPECT_EQ(AddToList(own, "", "/opt/velorium-1.0").result, Result::AlreadyThere);
  EXPECT_EQ(AddToList("programs: vv-1 \\n\n", "", "vv-1").result, Result::AlreadyThere);
  EXPECT_EQ(RemoveFromList(own, "/opt/velorium-1.0").text, "programs: maze \\n\n");
  EXPECT_EQ(RemoveFromList("programs: velorium \\n /opt/velorium-2.0 \\n\n", "velorium-1.0").text,
            "programs: /opt/velorium-2.0 \\n\n");
}

TEST(XScreenSaverList, RemovingTakesOutEveryVeloriumEntryAndNothingElse) {
  const std::string settings = "a: 1\nprograms:\t\\\n  maze --root \\n\\\n  GL: gears \\n\nb: 2\n";
  EXPECT_EQ(RemoveFromList("programs: GL: velorium --root \\n\nb: 2\n", "").text,
            "programs:\nb: 2\n");
  EXPECT_EQ(
      RemoveFromList("programs: maze \\n -velorium \\n gears \\n\\\n-GL: velorium\n", "").text,
      "programs: maze \\n gears \\n\n");
  EXPECT_EQ(RemoveFromList(settings, "").result, Result::NotThere);
  EXPECT_EQ(RemoveFromList("", "").result, Result::NotThere);
}

// Written out: the daemon's continuations, a blank line closing the list, a list ending the
// file with a backslash, CR LF line ends; then seeded lists of those pieces, which found others.
TEST(XScreenSaverList, AnAddThatIsTakenOutAgainLeavesTheListAsItWasByteForByte) {
  std::vector<std::string> lists = {
      "a: 1\nprograms:\t\\\n  maze --root \\n\\\n  GL: gears \\n\nb: 2\n",
      "programs: maze",
      "programs: maze \\n",
      "programs: \\\n maze \\\n\nx: 1\n",
      "programs: maze \\n  ",
      "programs: \\\n  maze --root \\n\\",
      "programs: \\\n  maze --root \\n\\\n",
      "a: 1\r\nprograms: \\\n maze \\n\r\nb: 2\r\n"};
  const char* pieces[] = {"programs:", " maze \\n", "\\", " \\", "\n", "\r\n", " ", "x: 1"};
  std::mt19937 random(36);
  for (int made = 0; made < 3000; ++made) {
    std::string list;
    for (auto k = random() % 10; k > 0; --k) list += pieces[random() % std::size(pieces)];
    lists.push_back(list);
  }
  int added = 0;
  for (const std::string& settings : lists) {
    const ListEdit edit = AddToList(settings, "", "/opt/velorium");
    if (edit.result != Result::Added || BreaksAtCrLf(settings)) continue;
    ++added;
    EXPECT_EQ(RemoveFromList(edit.text, "/opt/velorium").text, settings) << QuotedText(settings);
  }
  EXPECT_GT(added, 500);
}

// The daemon's reader joins a line of blanks and a backslash to the next and strips the
// blanks, and takes a line of only a backslash for an unparsable line of its own.
TEST(XScreenSaverList, AListAfterALineOfABackslashIsTheListChanged) {
  for (const std::string before : {"\\\n", " \\\n", "\t \\\n"}) {
    EXPECT_EQ(AddToList(before + "programs: maze \\n\n", kDefaults, "velorium").text,
              before + "programs: maze \\n\\\n" + kVeloriumLine + "\n");
    EXPECT_EQ(RemoveFromList(before + "programs: velorium \\n\n", "").text, before + "programs:\n");
  }
}

// Only the program decides: an argument called velorium belongs to another program's hack.
TEST(XScreenSaverList, AHackWithAnArgumentCalledVeloriumIsAnotherProgramsAndStays) {
  const char slideshow[] =
      "programs: \\\n  GL: /usr/bin/glslideshow /home/u/Pictures/velorium \\n\n";
  EXPECT_EQ(RemoveFromList(slideshow, "velorium").result, Result::NotThere);
  EXPECT_EQ(AddToList(slideshow, "", "velorium").result, Result::Added);
  // The running copy's own command is its own, blank and all.
  EXPECT_EQ(RemoveFromList("programs: maze \\n\\\n  GL: /x/my bin/velorium --root \\n\n",
                           "/x/my bin/velorium")
                .text,
            "programs: maze \\n\n");
}

// The daemon strips a CR from a line's end, but continues only a line whose backslash comes
// right before the line feed.
TEST(XScreenSaverList, CrLfLineEndsStayAndOnlyABackslashBeforeOneBreaksTheList) {
  EXPECT_EQ(
      AddToList("mode: one\r\nprograms: maze \\n\r\nlock: False\r\n", "", "velorium").text,
      "mode: one\r\nprograms: maze \\n\\\n" + std::string(kVeloriumLine) + "\r\nlock: False\r\n");
  EXPECT_TRUE(BreaksAtCrLf("programs: \\\r\n  maze \\n\r\n"));
  EXPECT_TRUE(BreaksAtCrLf("programs: maze \\n\nPrograms: \\\r\n  maze \\n\n"));
  EXPECT_FALSE(BreaksAtCrLf("# a \\\r\nmode: one\r\nprograms: \\\n  maze \\n\r\n"));
}

TEST(XScreenSaverList, APathTheDaemonWouldCutOrChangeIsToldWhy) {
  EXPECT_EQ(ListPathProblem("/usr/local/bin/velorium"), "");
  EXPECT_EQ(ListPathProblem("/x/'v'/velorium"), "a quote, which the daemon reads as its own");
  EXPECT_EQ(ListPathProblem("/x\\velorium"), "a backslash, which the daemon's reader takes away");
  EXPECT_EQ(ListPathProblem("/x/a=b/velorium"),
            "an '=', which makes the daemon run the command through a shell");
  EXPECT_EQ(ListPathProblem("/x/\x7f"), "a control character, which breaks the list's lines");
}

// The daemon takes the last of them, its name in any case.
TEST(XScreenSaverList, OfTwoListsTheOneTheDaemonReadsIsChanged) {
  EXPECT_EQ(
      AddToList("programs: maze \\n\nPrograms: gears \\n\n", "", "velorium").text,
      "programs: maze \\n\nPrograms: gears \\n\\\n  GL:\t\t\t\tvelorium --root\t\t\t    \\n\n");
  EXPECT_EQ(AddToList("programs: velorium \\n\nPROGRAMS: maze \\n\n", "", "v").result,
            Result::Added);
  EXPECT_EQ(RemoveFromList("programs: velorium \\n\nPROGRAMS: maze \\n velorium \\n\n", "").text,
            "programs:\nPROGRAMS: maze \\n\n");
}

TEST(XScreenSaverList, WithoutAnyListThereIsNothingToStartFrom) {
  EXPECT_EQ(AddToList("lock: False\n", "*mode: random\n", "velorium").result, Result::NoDefaults);
}

TEST(XScreenSaverList, TheDaemonsHackFolderNeedsNoPath) {
  EXPECT_EQ(ListProgramFor("/usr/libexec/xscreensaver/velorium"), "velorium");
  EXPECT_EQ(ListProgramFor("/usr/lib/xscreensaver/velorium"), "velorium");
  EXPECT_EQ(ListProgramFor("/home/ann/velorium/build/linux/velorium"),
            "/home/ann/velorium/build/linux/velorium");
  EXPECT_EQ(ListProgramFor("/usr/libexec/xscreensaver/old/velorium"),
            "/usr/libexec/xscreensaver/old/velorium");
}

}  // namespace
