// The non-linear least-squares reference (nls/cases.csv) with each case's data.
#pragma once

#include <string>
#include <vector>

namespace qorv::testing {

/// One row of nls/cases.csv with its data (every column but an "obs" label).
struct NlsCase {
  std::string name, formula;
  std::vector<double> start;
  std::vector<std::string> variables;  ///< upper case
  std::vector<double> data;            ///< column-major
  int n = 0;
  int periods_per_year = 1;
};

std::vector<NlsCase> nls_cases();

}  // namespace qorv::testing
