// The main of every Windows test program: GoogleTest's, which also writes the program's whole
// 32-bit exit code ("0x........") to the file that VELORIUM_EXIT_STATUS names, as the program
// ends or at an exception nobody caught. Under Wine the Unix exit status keeps only the low 8
// bits, and a crash such as 0xC0000100 would read as 0: scripts/wine-test passes a program only
// when the file says 0, and a program that ended without writing it failed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

void ReportExitCode(unsigned long code) {
  const char* path = std::getenv("VELORIUM_EXIT_STATUS");
  if (path == nullptr) return;
  std::fflush(stdout);
  std::fflush(stderr);
  if (std::FILE* file = std::fopen(path, "wb")) {
    std::fprintf(file, "0x%08lX\n", code);
    std::fclose(file);
  }
}

LONG WINAPI ReportUncaughtException(EXCEPTION_POINTERS* exception) {
  ReportExitCode(exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_CONTINUE_SEARCH;
}

// main's status, reported after the program's static objects are gone (a crash among them is
// reported instead): constructed first, so destroyed last. A program that ends elsewhere, as by
// exit or ExitProcess, reports nothing.
struct ReportAtTheEnd {
  int status = -1;
  ~ReportAtTheEnd() {
    if (status >= 0) ReportExitCode(static_cast<unsigned long>(status));
  }
} gReportAtTheEnd __attribute__((init_priority(101)));

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(ReportUncaughtException);
  testing::InitGoogleTest(&argc, argv);
  gReportAtTheEnd.status = RUN_ALL_TESTS();
  return gReportAtTheEnd.status;
}
