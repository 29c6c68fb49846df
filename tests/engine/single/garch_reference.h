// The GARCH reference cases (simulated series, GARCH(1,1) with normal and Student-t
// errors) read from the reference folder: the data, the cases and their expected values.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/engine/single/macro_reference.h"

namespace qorv::testing {

/// One case of cases.csv.
struct GarchCase {
  std::string name, dependent, lag_text;
  std::vector<std::string> regressors;
  bool student_t = false;
  int sample_first_row = 0, sample_last_row = 0, likelihood_first_row = 0;
  double s0 = 0.0;
};

/// The case `name` ("GN", "GT.B", ...).
GarchCase garch_case(const std::string& name);

/// The data file: names INPT, X, YN, YT, YX, rows 1..1001.
const DataTable& garch_data();

/// Column `name` of the data file over rows first..last (from 1).
std::vector<double> garch_column(const std::string& name, int first, int last);

/// The expected values of `case_name` with the given readings; where start_tolerances.csv
/// names a quantity of the case, its tolerance replaces the one of expected.csv.
std::map<std::string, Expected> garch_expected(const std::string& case_name,
                                               const std::vector<std::string>& readings);

}  // namespace qorv::testing
