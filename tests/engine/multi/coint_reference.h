// The cointegration reference cases on the quarterly macro data, laid out for the
// reduced-rank estimation.
#pragma once

#include <string>
#include <vector>

#include "engine/multi/johansen_core.h"

namespace qorv::testing {

/// The reference folder of the cointegrating VAR.
std::string coint_reference_folder();

/// One reference case: its data laid out for the estimation, the names of its variables by
/// role and of the rows of its levels block, and its chosen r.
struct CointCase {
  std::string name;
  multi::JohansenData data;
  std::vector<double> levels, stationary;
  std::vector<std::string> endogenous, level_names;
  std::vector<std::string> exogenous, stationary_names;
  int r = 0;
};

/// Case `name` of cases.csv, every value times `scale`. The spans of `data` point into
/// the case's own vectors: copy it only with them (a copy re-points nothing).
CointCase reference_case(const std::string& name, double scale = 1.0);

}  // namespace qorv::testing
