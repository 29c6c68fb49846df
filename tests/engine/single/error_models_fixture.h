// The fifteen estimates of the AR and MA reference (ar-ma/cases.csv) set up as the current
// equation and estimated.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/single/error_models.h"
#include "tests/engine/single/macro_reference.h"

namespace qorv::testing::armacase {

/// One reference estimate.
struct Case {
  const char* name;                 ///< case of expected.csv
  int code;                         ///< method code
  bool lake;                        ///< LakeHuron data (else the macro data)
  int first;                        ///< sample start
  std::vector<int> equation;        ///< dependent first
  std::vector<std::string> labels;  ///< regressor names of expected.csv
  std::vector<int> lags;            ///< error lags
};

extern const std::vector<Case> kCases;

/// The case of that name.
const Case& find(const std::string& name);

/// Installs the case's data and equation (method code, lag list, sample) as the current
/// estimate, ready for the estimator; `scale` multiplies the dependent variable.
void set_up(const Case& c, double scale = 1.0);

/// Sets the case up and runs its estimator, raising the iteration limit whenever asked
/// (counted in `asked`).
single::ErrorModelOutcome estimate(const Case& c, int& asked, double scale = 1.0);

/// The rows of ar-ma/expected.csv for the case of that name, by quantity.
std::map<std::string, Expected> expected(const std::string& name);

/// The label of parameter j (1..) in expected.csv: a regressor name, "U(-lag)" or "E(-lag)".
std::string parameter_label(const Case& c, int j);

}  // namespace qorv::testing::armacase
