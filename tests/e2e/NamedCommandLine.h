// A command line for a parameterised test, with the name the test is listed under.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace e2e {

struct NamedCommandLine {
  const char* name;
  const char* arguments;
};

inline void PrintTo(const NamedCommandLine& commandLine, std::ostream* out) {
  *out << '"' << commandLine.arguments << '"';
}

}  // namespace e2e
