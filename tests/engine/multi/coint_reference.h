// The cointegration reference cases on the quarterly macro data, laid out for the
// reduced-rank estimation.
#pragma once

#include <string>
#include <vector>

#include "engine/multi/johansen_core.h"

namespace qorv::testing {

/// One reference case: its data laid out for the estimation, and the names of the rows of
/// its levels block.
struct CointCase {
  std::string name;
  multi::JohansenData data;
  std::vector<double> levels, stationary;
  std::vector<std::string> endogenous, level_names;
};

/// Case `name` of cases.csv, every value times `scale`. The spans of `data` point into
/// the case's own vectors: copy it only with them (a copy re-points nothing).
CointCase reference_case(const std::string& name, double scale = 1.0);

}  // namespace qorv::testing
