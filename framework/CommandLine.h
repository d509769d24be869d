// The program's own splitting of its command line into words; start-up and the
// preview read their arguments with it. Portable: works on the raw text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The rules, which differ from the C runtime's:
// - A byte with code 0 ends the text; bytes with codes 1 to 32 separate words,
//   and any run of them counts as one separator. Bytes from 128 up are ordinary
//   word bytes.
// - A stretch between double quotes belongs to its word, without the quotes;
//   separators inside it are kept. A quote that is never closed runs to the end
//   of the text. Backslashes have no special meaning.
// - Where a word would start, a pair of double quotes is skipped, as are the
//   separators after it, as many times as such pairs follow ("" "" a -> a).
// - Word 0 is the program's path as written. The words after it end at the end
//   of the text or at the first empty word, which only an unterminated quote
//   with nothing after it can give: prog a " has the words prog and a.

// All words: element 0 (the program path, possibly empty) and then the
// arguments, each non-empty.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Word `index` of SplitCommandLine; "" when there is no such word (also for a
// negative index).
std::string CommandLineWord(std::string_view commandLine, int index);
