// Stands in for the mail program in the tests' Wine prefix: registered as the handler of
// "mailto:" links, it writes the link it was given to mailto-link.txt beside itself.
#include <windows.h>

#include <array>
#include <fstream>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::array<char, MAX_PATH> path{};
  const DWORD length = GetModuleFileNameA(nullptr, path.data(), path.size());
  std::string folder(path.data(), length);
  folder.erase(folder.find_last_of('\\') + 1);
  std::ofstream record(folder + "mailto-link.txt", std::ios::trunc);
  // The handler's command line is: "<this program>" "%1".
  if (__argc > 1) record << __argv[__argc - 1];
  return 0;
}
