// The door from the request loop into the multivariate estimators.
#pragma once

#include <functional>
#include <span>
#include <string_view>

namespace qorv::multi {

/// System choices (the options of the System Estimation Menu).
enum SystemChoice : int { kVarChoice = 1, kCointegratingChoice = 2, kSureChoice = 3, kRestrictedSureChoice = 4 };

/// Method codes a system sets while its estimator runs.
inline constexpr int kVarMethod = 82;
inline constexpr int kCointegratingMethod = 17;
inline constexpr int kSureMethod = 83;
inline constexpr int kRestrictedSureMethod = 84;

/// The cointegrating VAR's split count d·1000 + e: d I(0) variables, e exogenous I(1) ones.
struct CointegrationSplit {
  int d = 0;
  int e = 0;
};
CointegrationSplit split_cointegration_count(int split);

/// What the request road lends the system estimators: the single-equation estimate of
/// one equation of a system (its report and post-regression dialogue) under the method
/// code in force, of the variable `dependent` on the regressor list `regressors` (as the
/// user would type it; lagged variables it names are created for the estimate and
/// deleted afterwards).
struct SystemServices {
  std::function<void(int dependent, std::string_view regressors)> estimate_single_equation;
  /// The same for an equation whose variables exist (numbers, dependent first), under
  /// the estimate the system hands to the runner.
  std::function<void(std::span<const int> equation)> report_equation;
};

/// Dispatches the system `choice` over the current equation's variable list (the driver's
/// equation: the first variable, then the others). `split`: for the VAR the number of
/// deterministic/exogenous variables at the end of the list, for the cointegrating VAR
/// d·1000 + e. `order_word` is the cointegrating VAR's order default and result. The
/// method code of the estimation state holds the system's code while its estimator runs
/// and is back at its value on entry on every exit. An endogenous name containing "("
/// is refused with " Variable NAME is not valid for inclusion in the VAR!". After SURE
/// the choice is 0; the result is true when SURE asks to be run again on its equations.
bool SYSTEMESTIMATE(int& choice, int split, int& order_word, const SystemServices& services);

}  // namespace qorv::multi
