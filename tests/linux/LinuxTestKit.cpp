// The shared helpers of the Linux tests.
#include "tests/linux/LinuxTestKit.h"

#include <GL/glx.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace linuxtest {

namespace {

// Display numbers used by nothing else on this machine's test scripts (wine-env.sh takes
// 90 to 189).
constexpr int kFirstDisplay = 200;
constexpr int kLastDisplay = 299;

// TrueColor 0xRRGGBB of the nine planets' orbit lines, from the sun out.
constexpr std::array<unsigned, 9> kPlanetLineColours = {0x808080, 0xFF00FF, 0x00FFFF,
                                                        0xFF0000, 0x0000FF, 0x008080,
                                                        0xC0C0C0, 0x008000, 0x808000};

bool FileExists(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A new empty file for a child's output; suffix is four characters, such as ".out".
std::string TempPath(const char* suffix) {
  std::string path = std::string("/tmp/velorium-test-XXXXXX") + suffix;
  const int fd = mkstemps(path.data(), 4);
  if (fd < 0) throw std::runtime_error("cannot make a temporary file");
  close(fd);
  return path;
}

pid_t Spawn(const std::vector<std::string>& command, const std::vector<std::string>& environment,
            const std::string& outPath, const std::string& errPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) env.emplace_back(*entry);
  env.insert(env.end(), environment.begin(), environment.end());
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

std::string HackPath() { return VELORIUM_HACK; }

bool WaitUntil(const std::function<bool()>& done, Milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return done();
    std::this_thread::sleep_for(Milliseconds(20));
  }
  return true;
}

TestDisplay::TestDisplay(int width, int height) {
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  for (int n = kFirstDisplay; n <= kLastDisplay && connection_ == nullptr; ++n) {
    const std::string number = std::to_string(n);
    if (FileExists("/tmp/.X" + number + "-lock") || FileExists("/tmp/.X11-unix/X" + number)) {
      continue;
    }
    name_ = ":" + number;
    server_ = Spawn({"Xvfb", name_, "-screen", "0", screen, "+extension", "GLX", "-nolisten",
                     "tcp", "-br", "-noreset"},
                    {}, "/dev/null", "/dev/null");
    WaitUntil(
        [&] {
          connection_ = XOpenDisplay(name_.c_str());
          return connection_ != nullptr || waitpid(server_, nullptr, WNOHANG) == server_;
        },
        Milliseconds(10000));
    if (connection_ == nullptr) {
      kill(server_, SIGKILL);
      waitpid(server_, nullptr, 0);
      server_ = -1;
    }
  }
  if (connection_ == nullptr) throw std::runtime_error("no Xvfb display could be started");
}

TestDisplay::~TestDisplay() {
  XCloseDisplay(connection_);
  kill(server_, SIGTERM);
  if (!WaitUntil([&] { return waitpid(server_, nullptr, WNOHANG) == server_; },
                 Milliseconds(5000))) {
    kill(server_, SIGKILL);
    waitpid(server_, nullptr, 0);
  }
}

ChildProcess::ChildProcess(const std::vector<std::string>& command,
                           const std::vector<std::string>& environment)
    : outPath_(TempPath(".out")), errPath_(TempPath(".err")) {
  pid_ = Spawn(command, environment, outPath_, errPath_);
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::remove(outPath_.c_str());
  std::remove(errPath_.c_str());
}

bool ChildProcess::Running() {
  if (status_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

std::optional<int> ChildProcess::Wait(Milliseconds limit) {
  WaitUntil([&] { return !Running(); }, limit);
  return status_;
}

void ChildProcess::Signal(int signal) {
  if (Running()) kill(pid_, signal);
}

std::string ChildProcess::Output() const { return ReadFile(outPath_); }

std::string ChildProcess::Errors() const { return ReadFile(errPath_); }

HackRun RunHackToEnd(const std::vector<std::string>& arguments, const std::string& display,
                     const std::vector<std::string>& environment) {
  std::vector<std::string> command = {HackPath()};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<std::string> env = environment;
  if (!display.empty()) env.push_back("DISPLAY=" + display);
  ChildProcess hack(command, env);
  HackRun run;
  run.status = hack.Wait();
  run.output = hack.Output();
  run.errors = hack.Errors();
  return run;
}

Picture GrabWindow(Display* display, Window window) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, window, &attributes);
  Picture picture;
  XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height,
                            AllPlanes, ZPixmap);
  if (image == nullptr) return picture;
  picture.width = attributes.width;
  picture.height = attributes.height;
  picture.rgb.reserve(static_cast<std::size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      picture.rgb.push_back(static_cast<unsigned>(XGetPixel(image, x, y)) & 0xFFFFFF);
    }
  }
  XDestroyImage(image);
  return picture;
}

SceneSeen ReadScene(const Picture& picture) {
  SceneSeen seen;
  if (picture.width == 0) return seen;
  // The sun is at least 8 pixels across in any window the tests use; lit, its centre
  // stays bright yellow: much red and green, little blue.
  int yellow = 0;
  const int cx = picture.width / 2;
  const int cy = picture.height / 2;
  for (int y = cy - 2; y <= cy + 2; ++y) {
    for (int x = cx - 2; x <= cx + 2; ++x) {
      const unsigned c = picture.At(x, y);
      if ((c >> 16) > 0x90 && ((c >> 8) & 0xFF) > 0x90 && (c & 0xFF) < 0x60) ++yellow;
    }
  }
  seen.sunAtCentre = yellow == 25;
  std::array<int, 9> counts{};
  for (unsigned c : picture.rgb) {
    if (c != 0) seen.anythingDrawn = true;
    for (std::size_t k = 0; k < counts.size(); ++k) {
      if (c == kPlanetLineColours[k]) ++counts[k];
    }
  }
  for (int count : counts) {
    if (count >= 3) ++seen.planetColours;
  }
  return seen;
}

bool ScreenShowsTheScene(Display* display, SceneSeen& seen) {
  return WaitUntil([&] {
    seen = ReadScene(GrabWindow(display, DefaultRootWindow(display)));
    return seen.sunAtCentre && seen.planetColours == 9;
  });
}

std::vector<pid_t> ProcessesRunning(const std::string& executable) {
  namespace fs = std::filesystem;
  std::vector<pid_t> found;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) != executable) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string pid, command, state;
    stat >> pid >> command >> state;
    if (state != "Z") found.push_back(std::stoi(name));
  }
  return found;
}

Window MakeGLWindow(Display* display, int x, int y, int width, int height) {
  const int screen = DefaultScreen(display);
  int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
  XVisualInfo* visual = glXChooseVisual(display, screen, wanted);
  if (visual == nullptr) throw std::runtime_error("the test display has no GL visual");
  const Window root = RootWindow(display, screen);
  XSetWindowAttributes attributes{};
  attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  attributes.background_pixel = 0;
  attributes.border_pixel = 0;
  attributes.override_redirect = True;
  const Window window = XCreateWindow(
      display, root, x, y, width, height, 0, visual->depth, InputOutput, visual->visual,
      CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect, &attributes);
  XFree(visual);
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}

}  // namespace linuxtest
