// exit_status.exe PROGRAM [ARGUMENTS...]: runs a Windows program with this console and prints
// its whole 32-bit exit code on the last line ("exit status 0x........"). Under Wine the Unix
// exit status keeps only the low 8 bits, and a crash such as 0xC0000100 would read as 0.
// Exits 0 only when the program exited 0; 1 otherwise, and 2 when it could not be started.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

// The command line after this program's own name, as it was given.
const wchar_t* ArgumentsAfterOwnName(const wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

}  // namespace

int main() {
  const wchar_t* arguments = ArgumentsAfterOwnName(GetCommandLineW());
  if (*arguments == L'\0') {
    std::fprintf(stderr, "usage: exit_status.exe PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  // CreateProcessW may write into the command line.
  const std::size_t length = wcslen(arguments) + 1;
  wchar_t* commandLine = new wchar_t[length];
  wmemcpy(commandLine, arguments, length);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessW(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &child);
  delete[] commandLine;
  if (!started) {
    std::fprintf(stderr, "exit status: could not start the program (error %lu)\n", GetLastError());
    return 2;
  }
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  std::printf("exit status 0x%08lX\n", static_cast<unsigned long>(code));
  std::fflush(stdout);
  return code == 0 ? 0 : 1;
}
