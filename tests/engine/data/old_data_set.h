// The data set in the engine before a file is read, and the check that a refused file
// left it as it was.
#pragma once

#include <gtest/gtest.h>

#include "engine/core/workspace.h"

namespace qorv::testing {

/// Three undated observations of OLD: 7, 8, 9.
inline void install_old_data_set() {
  auto& g = core::globals();
  g.nobs = 3;
  g.nvars = 1;
  g.frequency = 1;
  g.start_year = 1;
  core::set_variable(1, "OLD", "the data set before");
  for (int t = 1; t <= 3; ++t) core::data_at(t, 1) = 6.0 + t;
}

inline void expect_old_data_set() {
  const auto& g = core::globals();
  EXPECT_EQ(g.nobs, 3);
  EXPECT_EQ(g.nvars, 1);
  EXPECT_EQ(core::variable_name(1), "OLD");
  EXPECT_EQ(core::data_at(3, 1), 9.0);
}

}  // namespace qorv::testing
