// The process's command-line arguments, split by the program's own rules (CommandLine.h).
#pragma once

#include <string>
#include <vector>

// Argument `index` (1 is the first after the program's path); "" past the last.
std::string ParamStr(int index);
// Arguments 1 to ParamCount().
std::vector<std::string> ParamList();
