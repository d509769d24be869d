// Editing the programs entry of XScreenSaver's settings. The entry is one resource over many
// lines: each line but the last ends in a backslash, and the hacks in it are separated by
// "\n" (backslash, n), one a line as the settings program writes them.
#include "hack/XScreenSaverList.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The folders that Debian's and other systems' daemons put on the hacks' PATH.
constexpr std::string_view kHackFolders[] = {"/usr/libexec/xscreensaver/",
                                             "/usr/lib/xscreensaver/"};
constexpr std::string_view kHackName = "velorium";
constexpr std::string_view kSpace = " \t";
constexpr std::string_view kHackEnd = "\\n";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

struct Lines {
  std::vector<std::string> lines;
  bool finalNewline = true;
};

Lines Split(std::string_view text) {
  Lines result;
  result.finalNewline = text.empty() || text.back() == '\n';
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    result.lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return result;
}

std::string Join(const Lines& lines) {
  std::string text;
  for (std::size_t k = 0; k < lines.lines.size(); ++k) {
    text += lines.lines[k];
    if (k + 1 < lines.lines.size() || lines.finalNewline) text += '\n';
  }
  return text;
}

bool Continues(std::string_view line) {
  return !line.empty() && line.back() == '\\';
}

// How a line ends before its line feed, where an edit keeps it: the backslash that continues
// it, or the CR of a CR LF line end (which the daemon strips), or nothing.
std::string_view LineEnd(std::string_view line) {
  return Continues(line) || line.ends_with('\r') ? line.substr(line.size() - 1) : "";
}

// A line of blanks and a backslash, which the daemon's reader joins to the next line, whose
// entry it then is, stripped.
bool OnlyContinues(std::string_view line) {
  return Continues(line) && Trim(line.substr(0, line.size() - 1)).empty();
}

// The lines of the entry, and where its value starts in the first one (after the colon).
struct Entry {
  std::size_t first = 0;
  std::size_t last = 0;
  std::size_t valueStart = 0;
};

// Whether `a` and `b` are equal but for the case of ASCII letters.
bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

// The entries called `name`, as the daemon reads them: an entry starts on a line that does not
// continue the one before, after any lines of blanks and a backslash, and its name is matched
// without regard to case. The daemon continues no line that is only a backslash at such a start.
std::vector<Entry> FindEntries(const std::vector<std::string>& lines, std::string_view name) {
  std::vector<Entry> entries;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    Entry entry{k, k, 0};
    if (lines[k] == "\\") continue;
    while (Continues(lines[entry.last]) && entry.last + 1 < lines.size()) ++entry.last;
    k = entry.last;
    while (entry.first < entry.last && OnlyContinues(lines[entry.first])) ++entry.first;
    const std::string_view line = lines[entry.first];
    const std::size_t at = line.find_first_not_of(kSpace);
    if (at == std::string_view::npos || !SameName(line.substr(at, name.size()), name)) continue;
    const std::size_t colon = line.find_first_not_of(kSpace, at + name.size());
    if (colon == std::string_view::npos || line[colon] != ':') continue;
    entry.valueStart = colon + 1;
    entries.push_back(entry);
  }
  return entries;
}

// The entry the daemon reads: the last of that name.
std::optional<Entry> FindEntry(const std::vector<std::string>& lines, std::string_view name) {
  const std::vector<Entry> entries = FindEntries(lines, name);
  if (entries.empty()) return std::nullopt;
  return entries.back();
}

// The part of line k that holds hacks: after the colon on the first line, without its LineEnd.
std::string_view HacksOf(const std::vector<std::string>& lines, const Entry& entry, std::size_t k) {
  std::string_view line = lines[k];
  line.remove_suffix(LineEnd(line).size());
  if (k == entry.first) line.remove_prefix(entry.valueStart);
  return line;
}

std::vector<std::string_view> SplitHacks(std::string_view hacks) {
  std::vector<std::string_view> parts;
  for (std::size_t end; (end = hacks.find(kHackEnd)) != std::string_view::npos;) {
    parts.push_back(hacks.substr(0, end));
    hacks.remove_prefix(end + kHackEnd.size());
  }
  parts.push_back(hacks);
  return parts;
}

// Whether the file `path` names is called velorium.
bool NamesVelorium(std::string_view path) {
  return path.substr(path.rfind('/') + 1) == kHackName;
}

// Whether one hack of the list, "[-] [visual:] ["Name"] program arguments", runs velorium:
// a program called velorium, or `own`, the running copy's command as the list names it (which
// older copies wrote blanks and all).
bool IsVelorium(std::string_view hack, std::string_view own) {
  hack = Trim(hack);
  if (!hack.empty() && hack[0] == '-') hack = Trim(hack.substr(1));
  const std::size_t colon = hack.find(':');
  if (colon != std::string_view::npos && colon < hack.find_first_of(kSpace)) {
    hack = Trim(hack.substr(colon + 1));
  }
  if (!hack.empty() && hack[0] == '"') {
    const std::size_t close = hack.find('"', 1);
    hack = close == std::string_view::npos ? std::string_view() : Trim(hack.substr(close + 1));
  }
  const std::string_view program = hack.substr(0, hack.find_first_of(kSpace));
  return NamesVelorium(program) ||
         (!own.empty() && hack.starts_with(own) && Trim(hack.substr(own.size(), 1)).empty());
}

bool HoldsVelorium(std::string_view hacks, std::string_view own) {
  for (std::string_view hack : SplitHacks(hacks)) {
    if (IsVelorium(hack, own)) return true;
  }
  return false;
}

// The added hack with `gap` between its kind and its program.
std::string EntryText(std::string_view program, std::string_view gap) {
  return "GL:" + std::string(gap) + std::string(program) + " --root";
}

// Takes the system's programs entry ("*programs:") into `file` as the user's ("programs:").
std::optional<Entry> TakeDefaultEntry(Lines& file, std::string_view defaults) {
  const Lines system = Split(defaults);
  const std::optional<Entry> found = FindEntry(system.lines, "*programs");
  if (!found) return std::nullopt;
  if (file.lines.empty()) {
    file.lines.push_back("# XScreenSaver's settings: velorium --add-to-list made this file with");
    file.lines.push_back("# the system's list of hacks; the settings program adds the rest.");
  }
  file.finalNewline = true;
  const std::string name = "programs:";
  Entry entry{file.lines.size(), file.lines.size(), name.size()};
  file.lines.push_back(name + system.lines[found->first].substr(found->valueStart));
  for (std::size_t k = found->first + 1; k <= found->last; ++k) {
    file.lines.push_back(system.lines[k]);
  }
  entry.last = file.lines.size() - 1;
  return entry;
}

// Takes the velorium hacks out of one entry; `edit.result` says Removed when there were any.
void RemoveFromEntry(std::vector<std::string>& lines, Entry entry, std::string_view own,
                     ListEdit& edit) {
  for (std::size_t k = entry.last + 1; k-- > entry.first;) {
    std::vector<std::string_view> kept;
    bool velorium = false, others = false;
    for (std::string_view hack : SplitHacks(HacksOf(lines, entry, k))) {
      const bool isVelorium = IsVelorium(hack, own);
      velorium = velorium || isVelorium;
      others = others || (!isVelorium && !Trim(hack).empty());
      if (!isVelorium) kept.push_back(hack);
    }
    if (!velorium) continue;
    edit.result = ListEdit::Result::Removed;
    std::string& line = lines[k];
    const std::string end(LineEnd(line));
    const std::string prefix = k == entry.first ? line.substr(0, entry.valueStart) : "";
    if (others || k == entry.first) {
      std::string hacks;
      for (std::size_t h = 0; others && h < kept.size(); ++h) {
        if (h > 0) hacks += kHackEnd;
        hacks += kept[h];
      }
      line = prefix + hacks + end;
      continue;
    }
    // A line of velorium alone goes; when it closed the entry, the line before now does, with
    // its line end.
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(k));
    if (k == entry.last && end != "\\" && Continues(lines[k - 1])) {
      lines[k - 1].pop_back();
      lines[k - 1] += end;
    }
    --entry.last;
  }
}

}  // namespace

std::string ListProgramFor(std::string_view executable) {
  for (std::string_view folder : kHackFolders) {
    if (executable.substr(0, folder.size()) == folder &&
        executable.find('/', folder.size()) == std::string_view::npos) {
      return std::string(executable.substr(folder.size()));
    }
  }
  return std::string(executable);
}

std::string ListEntryFor(std::string_view program) {
  return EntryText(program, " ");
}

bool HasList(std::string_view settings) {
  return FindEntry(Split(settings).lines, "programs").has_value();
}

bool BreaksAtCrLf(std::string_view settings) {
  const Lines file = Split(settings);
  const std::vector<Entry> entries = FindEntries(file.lines, "programs");
  return std::any_of(entries.begin(), entries.end(),
                     [&](const Entry& entry) { return file.lines[entry.last].ends_with("\\\r"); });
}

std::string_view ListPathProblem(std::string_view executable) {
  for (const char c : executable) {
    if (c == ' ' || c == '\t')
      return "a blank, where the daemon and the settings program end the command";
    if (c == '"' || c == '\'') return "a quote, which the daemon reads as its own";
    if (c == '\\') return "a backslash, which the daemon's reader takes away";
    if (c == '=') return "an '=', which makes the daemon run the command through a shell";
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      return "a control character, which breaks the list's lines";
  }
  return {};
}

ListEdit AddToList(std::string_view settings, std::string_view defaults, std::string_view program) {
  ListEdit edit{ListEdit::Result::AlreadyThere, std::string(settings)};
  Lines file = Split(settings);
  std::optional<Entry> entry = FindEntry(file.lines, "programs");
  if (!entry) entry = TakeDefaultEntry(file, defaults);
  if (!entry) {
    edit.result = ListEdit::Result::NoDefaults;
    return edit;
  }
  std::string_view lastHacks;
  for (std::size_t k = entry->first; k <= entry->last; ++k) {
    const std::string_view hacks = HacksOf(file.lines, *entry, k);
    if (HoldsVelorium(hacks, program)) return edit;
    if (!Trim(hacks).empty()) lastHacks = Trim(hacks);
  }
  // A last hack without its "\n" gets it on the new line, which a remove then takes away whole.
  const std::string hack =
      std::string(lastHacks.empty() || lastHacks.ends_with(kHackEnd) ? "" : "\\n") + "  " +
      EntryText(program, "\t\t\t\t") + "\t\t\t    \\n";
  std::vector<std::string>& lines = file.lines;
  std::string& last = lines[entry->last];
  if (entry->last > entry->first && Trim(HacksOf(lines, *entry, entry->last)).empty()) {
    // A blank line closes the entry: the new hack goes before it and continues into it.
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(entry->last), hack + "\\");
  } else {
    // The entry's line end moves to the new line, which ends the file with a backslash too
    // when the entry did.
    const std::string end(LineEnd(last));
    last.resize(last.size() - end.size());
    last += "\\";
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(entry->last) + 1, hack + end);
  }
  edit.result = ListEdit::Result::Added;
  edit.text = Join(file);
  return edit;
}

ListEdit RemoveFromList(std::string_view settings, std::string_view program) {
  ListEdit edit{ListEdit::Result::NotThere, std::string(settings)};
  Lines file = Split(settings);
  // Every entry, from the last: the lines of those before stay where they are.
  const std::vector<Entry> entries = FindEntries(file.lines, "programs");
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    RemoveFromEntry(file.lines, *entry, program, edit);
  }
  if (edit.result == ListEdit::Result::Removed) edit.text = Join(file);
  return edit;
}
