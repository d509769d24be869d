// What a failing call raises, as the native and Windows unit tests check it: the message of
// the framework's exception, so that a test writes out the text a user would see.
#pragma once

#include <string>

// The Message() of the `Error` that `action` raises, or "" when it raises none.
template <typename Error, typename Action>
std::string MessageRaised(Action action) {
  try {
    action();
  } catch (const Error& error) {
    return error.Message();
  }
  return "";
}
