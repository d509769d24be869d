// The process runner on Linux: posix_spawn, output to temporary files, waitpid, and a process
// descriptor to wait on.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "tests/kit/Process.h"

extern char** environ;

namespace kit {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A new empty file for a child's output; suffix is four characters, such as ".out".
std::string tempPath(const char* suffix) {
  std::string path = std::string("/tmp/velorium-test-XXXXXX") + suffix;
  const int fd = mkstemps(path.data(), 4);
  if (fd < 0) throw std::runtime_error("cannot make a temporary file");
  close(fd);
  return path;
}

pid_t spawn(const std::vector<std::string>& command, const std::vector<std::string>& environment,
            const std::string& outPath, const std::string& errPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  // An added entry replaces the test's own of the same name.
  std::vector<std::string> env = environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view own(*entry);
    const std::string_view name = own.substr(0, own.find('=') + 1);
    if (std::none_of(environment.begin(), environment.end(),
                     [&](const std::string& added) { return added.starts_with(name); }))
      env.emplace_back(own);
  }
  std::vector<char*> argv, envp;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  for (const std::string& entry : env) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  pid_t pid = -1;
  const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start " + command[0]);
  return pid;
}

}  // namespace

void idle(Milliseconds interval) {
  std::this_thread::sleep_for(interval);
}

struct Process::Handles {
  pid_t pid = -1;
  std::optional<ExitStatus> status;
  std::string outPath = tempPath(".out");
  std::string errPath = tempPath(".err");
};

Process::Process(const std::vector<std::string>& command,
                 const std::vector<std::string>& environment)
    : handles_(new Handles) {
  handles_->pid = spawn(command, environment, handles_->outPath, handles_->errPath);
}

Process::~Process() {
  kill();
  std::remove(handles_->outPath.c_str());
  std::remove(handles_->errPath.c_str());
}

unsigned long Process::id() const {
  return static_cast<unsigned long>(handles_->pid);
}

bool Process::running() const {
  if (handles_->status) return false;
  int status = 0;
  if (waitpid(handles_->pid, &status, WNOHANG) != handles_->pid) return true;
  handles_->status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

std::optional<ExitStatus> Process::wait(Milliseconds limit) const {
  if (running()) {
    // A process descriptor becomes readable the moment the process ends, where polling would
    // notice it up to an interval later (grim's pictures, taken one after another, add up).
    // The child is not reaped before, so its id cannot be another's.
    const int descriptor = static_cast<int>(syscall(SYS_pidfd_open, handles_->pid, 0));
    if (descriptor >= 0) {
      pollfd ended{descriptor, POLLIN, 0};
      while (poll(&ended, 1, static_cast<int>(limit.count())) < 0 && errno == EINTR) {}
      close(descriptor);
    } else {
      waitUntil([&] { return !running(); }, limit);
    }
  }
  running();
  return handles_->status;
}

void Process::kill() {
  if (!running()) return;
  ::kill(handles_->pid, SIGKILL);
  int status = 0;
  waitpid(handles_->pid, &status, 0);
  handles_->status = 128 + SIGKILL;
}

void Process::signal(int number) const {
  if (running()) ::kill(handles_->pid, number);
}

double Process::cpuSeconds() const {
  namespace fs = std::filesystem;
  // Each thread's time on a processor, in nanoseconds: finer than /proc's clock ticks.
  double seconds = 0;
  std::error_code error;
  const fs::path tasks = "/proc/" + std::to_string(handles_->pid) + "/task";
  for (const fs::directory_entry& task : fs::directory_iterator(tasks, error)) {
    std::ifstream schedstat(task.path() / "schedstat");
    long long ns = 0;
    if (schedstat >> ns) seconds += double(ns) / 1e9;
  }
  return seconds;
}

std::string Process::output() const {
  return readFile(handles_->outPath);
}
std::string Process::errors() const {
  return readFile(handles_->errPath);
}

std::vector<long> processesRunning(const std::string& executable) {
  namespace fs = std::filesystem;
  std::vector<long> found;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) != executable) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string pid, command, state;
    stat >> pid >> command >> state;
    if (state != "Z") found.push_back(std::stol(name));
  }
  return found;
}

}  // namespace kit
