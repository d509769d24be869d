// The process runner on Windows (under Wine): CreateProcess with standard output and error in
// temporary files that go when the last handle to them closes; this thread's messages are
// delivered while a test waits.
#include <windows.h>

#include <array>
#include <cstring>
#include <stdexcept>

#include "tests/kit/Process.h"
#include "win32/WideText_win32.h"

namespace kit {
namespace {

struct OutputFile {
  std::string path;
  HANDLE handle = INVALID_HANDLE_VALUE;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// An inheritable handle to a new temporary file, which goes when the last handle closes.
OutputFile outputFile() {
  std::array<char, MAX_PATH> folder{};
  std::array<char, MAX_PATH> path{};
  GetTempPathA(folder.size(), folder.data());
  GetTempFileNameA(folder.data(), "vel", 0, path.data());
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  OutputFile file{path.data(),
                  CreateFileA(path.data(), GENERIC_WRITE, kShareAll, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot make a temporary file");
  return file;
}

// Read through a handle of its own, so that the writer's position stays where it is.
std::string readAll(const OutputFile& file) {
  HANDLE reader =
      CreateFileA(file.path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
  if (reader == INVALID_HANDLE_VALUE) return "";
  std::string text;
  std::array<char, 4096> buffer{};
  DWORD got = 0;
  while (ReadFile(reader, buffer.data(), buffer.size(), &got, nullptr) && got > 0)
    text.append(buffer.data(), got);
  CloseHandle(reader);
  return text;
}

// This process's environment with the entries added, as CreateProcess takes it; an added
// entry comes first, so that it wins over one of the same name.
std::string environmentBlock(const std::vector<std::string>& added) {
  std::string block;
  for (const std::string& entry : added) block.append(entry).push_back('\0');
  char* own = GetEnvironmentStringsA();
  for (const char* entry = own; *entry != '\0'; entry += std::strlen(entry) + 1)
    block.append(entry).push_back('\0');
  FreeEnvironmentStringsA(own);
  block.push_back('\0');
  return block;
}

}  // namespace

void idle(Milliseconds interval) {
  MSG message;
  bool quit = false;
  WPARAM quitCode = 0;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    // A quit request is the test's to see: it stays pending.
    if (message.message == WM_QUIT) {
      quit = true;
      quitCode = message.wParam;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  Sleep(static_cast<DWORD>(interval.count()));
}

struct Process::Handles {
  PROCESS_INFORMATION info{};
  OutputFile out = outputFile();
  OutputFile err = outputFile();
};

Process::Process(const std::vector<std::string>& command,
                 const std::vector<std::string>& environment)
    : handles_(new Handles) {
  const std::string& program = command.at(0);
  // Paths are UTF-8: a folder may have any name.
  if (GetFileAttributesW(WideFromUtf8(program).c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw std::runtime_error("program not found: " + program + " (build it)");
  }
  std::string commandLine = "\"" + program + "\"";
  for (std::size_t k = 1; k < command.size(); ++k) {
    if (!command[k].empty()) commandLine += " " + command[k];
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = handles_->out.handle;
  startup.hStdError = handles_->err.handle;
  std::string block = environmentBlock(environment);
  std::wstring wideCommandLine = WideFromUtf8(commandLine);
  if (!CreateProcessW(WideFromUtf8(program).c_str(), wideCommandLine.data(), nullptr, nullptr, TRUE,
                      0, environment.empty() ? nullptr : block.data(), nullptr, &startup,
                      &handles_->info)) {
    throw std::runtime_error("CreateProcess failed for " + commandLine + " with error " +
                             std::to_string(GetLastError()));
  }
}

Process::~Process() {
  kill();
  CloseHandle(handles_->info.hThread);
  CloseHandle(handles_->info.hProcess);
  CloseHandle(handles_->out.handle);
  CloseHandle(handles_->err.handle);
}

unsigned long Process::id() const {
  return handles_->info.dwProcessId;
}

bool Process::running() const {
  return WaitForSingleObject(handles_->info.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<ExitStatus> Process::wait(Milliseconds limit) const {
  if (!waitUntil([&] { return !running(); }, limit)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(handles_->info.hProcess, &code);
  return code;
}

void Process::kill() {
  if (!running()) return;
  TerminateProcess(handles_->info.hProcess, 1);
  WaitForSingleObject(handles_->info.hProcess, 5000);
}

std::string Process::output() const {
  return readAll(handles_->out);
}
std::string Process::errors() const {
  return readAll(handles_->err);
}

}  // namespace kit
