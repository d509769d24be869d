// The name a case of a parameterised test is listed under: the case's own `name`, for every
// table of cases that carries one.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kit {

struct CaseName {
  template <class Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

}  // namespace kit
