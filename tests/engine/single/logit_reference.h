// The logit and probit reference cases (R's mtcars and infert data) and their expected
// values, read from the reference folder: no engine is needed to read them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/engine/single/macro_reference.h"

namespace qorv::testing {

/// One case of cases.csv.
struct LogitCase {
  std::string name;
  std::string data;                     ///< "mtcars.csv" or "infert.csv"
  bool probit = false;
  std::string dependent;
  std::vector<std::string> regressors;
  int sample_start = 0, sample_end = 0;
  int forecast_start = 0, forecast_end = 0;  ///< 0 when the case has no forecasts
};

/// The path of a file of the reference folder ("mtcars.csv", "expected.csv").
std::string logit_reference_file(const std::string& name);

/// Every case of cases.csv, in file order.
std::vector<LogitCase> logit_cases();

/// The rows of expected.csv for `case_name`, by quantity.
std::map<std::string, Expected> logit_expected(const std::string& case_name);

}  // namespace qorv::testing
