// The logit and probit reference cases (R's mtcars and infert data) installed as the
// workspace, and their expected values.
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

/// Every case of cases.csv, in file order.
std::vector<LogitCase> logit_cases();

/// The rows of expected.csv for `case_name`, by quantity.
std::map<std::string, Expected> logit_expected(const std::string& case_name);

/// Installs `file` ("mtcars.csv", ...) as an undated workspace (the variables in the
/// file's column order after "obs"), the sample the whole data set; returns the variable
/// names in order.
std::vector<std::string> install_logit_data(const std::string& file);

/// Variable numbers of the case's equation in the installed workspace: dependent first.
std::vector<int> logit_equation(const LogitCase& c);

}  // namespace qorv::testing
