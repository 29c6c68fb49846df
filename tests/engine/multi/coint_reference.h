// The reference cases of the cointegrating VAR: the quarterly data laid out for the
// estimation, and the names the expected values use.
#pragma once

#include <string>
#include <vector>

#include "engine/multi/johansen_core.h"

namespace qorv::testing {

/// The reference folder of the cointegrating VAR.
std::string coint_reference_folder();

/// One case of cases.csv: its data (the sample ends with the file; the p observations
/// before it are initial values), the names of its variables by role and of the rows of
/// its levels block, the chosen r.
struct CointCase {
  std::string name;
  qorv::multi::JohansenData data;
  std::vector<double> levels, stationary;
  std::vector<std::string> endogenous, exogenous, stationary_names, level_names;
  int r = 0;
  int first_row = 0;  ///< the row of data.csv (from 0) of the sample's first observation
};

/// Case `name` with every value multiplied by `scale`.
CointCase coint_case(const std::string& name, double scale = 1.0);

}  // namespace qorv::testing
