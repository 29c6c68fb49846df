// Questions of the non-nested test dialogue about how the dependent variable of a model
// was formed from a workspace variable (its logarithm, difference, a ratio, ...).
#pragma once

#include <string_view>

namespace qorv::core {

/// How a model's dependent variable was formed.
enum DependentNature : int {
  kLevel = 1,
  kLogarithm = 2,
  kRatio = 3,
  kDifference = 4,
  kLogDifference = 5,
};

/// Asks which variable the dependent variable `name` was formed from, by `nature`: "is the
/// logarithm of which variable?" (2), "is the difference of which variable?" (4), "is the
/// log-difference of which variable?" (5) after the name, or for a ratio (3) "Specify the
/// variable in the numerator of the dependent variable:". Returns the variable's number, or
/// 0 when the user gives up ("Q", or cancel). A level (1) asks nothing and returns the
/// number of `name` itself.
int ASKDEPNATURE(int nature, std::string_view name);

/// The two questions of `ASKDEPRATIO`.
enum class RatioQuestion {
  kDenominator,  ///< "Specify the variable in the denominator of the dependent variable in model M1"
  kDivisor,      ///< " Divide NAME by which variable in order to create the dependent variable for model M1"
};

/// Asks the denominator of a ratio for model M1 (`model` 1) or M2 (2); `numerator` names
/// the variable divided in the `kDivisor` question. Returns the variable's number, or 0
/// when the user gives up.
int ASKDEPRATIO(RatioQuestion question, int model, std::string_view numerator);

}  // namespace qorv::core
