// The polling loop shared by both platforms' tests.
#include "tests/kit/Wait.h"

namespace kit {

bool waitUntil(const std::function<bool()>& done, Milliseconds limit, Milliseconds interval) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return done();
    idle(interval);
  }
  return true;
}

void pause(Milliseconds duration) {
  waitUntil([] { return false; }, duration);
}

}  // namespace kit
