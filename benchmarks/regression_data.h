// The data set of the single-equation benchmarks: y and an intercept plus k − 1
// pseudo-random regressors over n observations, y the first variable.
#pragma once

#include <string>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"

namespace qorv::bench {

/// A reproducible uniform stream on [−0.5, 0.5).
class Uniform {
 public:
  double operator()() {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) * (1.0 / 16777216.0) - 0.5;
  }

 private:
  unsigned state_ = 12345u;
};

/// Installs the data set and makes y on the regressors the current equation; returns the
/// stream, which goes on after the regressors' values.
inline Uniform install_regression(int n, int k) {
  core::reset_engine_state();
  auto& g = core::globals();
  g.nobs = n;
  g.nvars = k + 1;
  g.frequency = 1;
  g.periods_per_year = 1;
  g.sample_start = 1;
  g.sample_end = n;
  Uniform uniform;
  for (int v = 1; v <= k + 1; ++v) {
    core::set_variable(v, "X" + std::to_string(v), "");
    for (int t = 1; t <= n; ++t) core::data_at(t, v) = v == 2 ? 1.0 : 10.0 * v + uniform();
  }
  auto& s = single::estimation();
  s.eqvarlist.clear();
  s.eqvarnames.clear();
  for (int v = 1; v <= k + 1; ++v) {
    s.eqvarlist.push_back(v);
    s.eqvarnames.push_back(core::variable_name(v));
  }
  return uniform;
}

}  // namespace qorv::bench
