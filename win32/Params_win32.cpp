// Arguments from the command line that Windows gave the process.
#include <windows.h>

#include "framework/CommandLine.h"
#include "framework/Params.h"

std::vector<std::string> ParamList() {
  std::vector<std::string> words = SplitCommandLine(GetCommandLineA());
  if (!words.empty()) words.erase(words.begin());
  return words;
}

std::string ParamStr(int index) {
  if (index < 1) return index == 0 ? CommandLineWord(GetCommandLineA(), 0) : std::string();
  return CommandLineWord(GetCommandLineA(), index);
}
