// Waiting in tests: one patience for everything a test waits for, and one polling loop.
#pragma once

#include <chrono>
#include <functional>

namespace kit {

using Milliseconds = std::chrono::milliseconds;

// The longest any test waits for one thing: a cold start under Wine on a loaded machine.
inline constexpr Milliseconds kPatience{15000};

// How often a wait asks again, unless it says otherwise.
inline constexpr Milliseconds kPollInterval{10};

// Asks `done` every `interval` until it is true or `limit` has passed; returns its last answer.
// On Windows this thread's messages are delivered meanwhile, so its own windows answer.
bool waitUntil(const std::function<bool()>& done, Milliseconds limit = kPatience,
               Milliseconds interval = kPollInterval);

// Lets `duration` pass (delivering this thread's messages on Windows).
void pause(Milliseconds duration);

// One interval's idling between two questions: platform code (Process_*.cpp).
void idle(Milliseconds interval);

}  // namespace kit
