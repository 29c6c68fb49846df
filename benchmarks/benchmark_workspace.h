// The workspace of the engine benchmarks: an undated data set of pseudo-random values and
// the equation of its first variable on all the others.
#pragma once

#include <filesystem>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/engine_state.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/result_report.h"

namespace qorv::bench {

/// A fixed linear congruential sequence of uniform values in [-0.5, 0.5).
class Uniform {
 public:
  double operator()() {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) * (1.0 / 16777216.0) - 0.5;
  }

 private:
  unsigned state_ = 12345u;
};

/// A fresh engine with `nvars` variables X1.. over `n` undated observations (values left
/// to the caller), the sample the whole data set, and the current equation X1 on X2..
inline void install_workspace(int n, int nvars) {
  core::reset_engine_state();
  auto& g = core::globals();
  g.nobs = n;
  g.nvars = nvars;
  g.frequency = 1;
  g.periods_per_year = 1;
  g.sample_start = 1;
  g.sample_end = n;
  auto& s = single::estimation();
  s.eqvarlist.clear();
  s.eqvarnames.clear();
  for (int v = 1; v <= nvars; ++v) {
    core::set_variable(v, "X" + std::to_string(v), "");
    s.eqvarlist.push_back(v);
    s.eqvarnames.push_back(core::variable_name(v));
  }
}

/// Writes the current estimate's report to a page file at `page` and deletes it again.
inline void write_report_page(const std::filesystem::path& page) {
  core::open_channel(core::channel::kResultsPage, page, core::OpenMode::kReplace);
  core::report_writer().copy_flag = true;
  single::write_estimate_report(core::channel::kResultsPage);
  core::report_writer().copy_flag = false;
  core::close_channel(core::channel::kResultsPage, core::CloseMode::kDelete);
}

}  // namespace qorv::bench
