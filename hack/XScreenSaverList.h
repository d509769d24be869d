// Velorium in the daemon's list of hacks: the `programs:` entry of a user's ~/.xscreensaver,
// edited as text so that every other line of the file stays as it was. Portable (no X11, no
// files): the program reads the files, hands their text here and writes back the result.
#pragma once

#include <string>
#include <string_view>

// The program a list entry names for the program at `executable`: its bare name ("velorium")
// when it lies in a folder the daemon looks for hacks in, else its absolute path. The entry
// runs it with " --root".
std::string ListProgramFor(std::string_view executable);

// The hack --add-to-list adds for `program` (a ListProgramFor), as messages show it:
// "GL: <program> --root".
std::string ListEntryFor(std::string_view program);

// Why the daemon would run something else than the program at `executable` from the list
// (the byte it holds and what the daemon does with it, as in "a blank, where ..."), or
// nothing when its path can be written there as it is.
std::string_view ListPathProblem(std::string_view executable);

struct ListEdit {
  enum class Result {
    Added,         // `text` holds the file with "GL: <program> --root" at the end of its programs
    AlreadyThere,  // a velorium entry (on or off) is in the list already; `text` unchanged
    Removed,       // `text` holds the file without its velorium entries
    NotThere,      // no velorium entry; `text` unchanged
    NoDefaults,    // the file has no programs entry and `defaults` none either
  };
  Result result = Result::NotThere;
  std::string text;
};

// Whether `settings` has a programs entry of its own.
bool HasList(std::string_view settings);

// Whether a programs entry of `settings` has a backslash right before a CR LF line end: the
// daemon, which strips a CR but continues a line only where a backslash comes right before the
// line feed, ends the entry there and cannot read the lines after. Other CR LF line ends it
// reads as LF ones, and the edits keep them.
bool BreaksAtCrLf(std::string_view settings);

// A programs entry is found as the daemon finds it: its name in any case, and of several the
// last, which overrides the others. A hack is velorium's when its program's file name is
// "velorium", whatever its folder, or when its program is `program` (ListProgramFor of the
// running copy, which may be renamed; empty for none).

// Adds "GL: <program> --root" as the last hack of the programs entry of `settings` (the text
// of ~/.xscreensaver, empty when there is none), so that the numbers of the hacks before it
// stay, unless a velorium hack is in it already. Without a programs entry, it first takes the
// one of `defaults` (the text of the system's app-defaults file, where it is "*programs:"),
// whole. Taken out again by RemoveFromList, the added hack leaves `settings` as it was.
ListEdit AddToList(std::string_view settings, std::string_view defaults, std::string_view program);

// Takes every velorium hack out of every programs entry of `settings`.
ListEdit RemoveFromList(std::string_view settings, std::string_view program);
