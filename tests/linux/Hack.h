// velorium as the Linux tests run it: the built hack, started through the test kit.
// GoogleTest before Xlib, whose None and Bool macros would break it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/kit/Display_x11.h"
#include "tests/kit/Process.h"
#include "tests/kit/Scene.h"

namespace linuxtest {

using namespace kit;

inline std::string hackPath() {
  return VELORIUM_HACK;
}

// velorium with the arguments, run to its end on `display` when one is given.
inline Outcome runHack(const std::vector<std::string>& arguments, const std::string& display = "",
                       std::vector<std::string> environment = {}) {
  std::vector<std::string> command = {hackPath()};
  command.insert(command.end(), arguments.begin(), arguments.end());
  if (!display.empty()) environment.push_back("DISPLAY=" + display);
  return runToEnd(command, environment);
}

// The whole screen once it shows the scene (the sun at the centre and every orbit line), or
// what it showed last after kPatience.
inline SceneSeen screenScene(Display* display) {
  SceneSeen seen;
  waitUntil([&] {
    seen = readScene(grabWindow(display, DefaultRootWindow(display)));
    return seen.sunAtCentre() && seen.orbitLines();
  });
  return seen;
}

}  // namespace linuxtest
