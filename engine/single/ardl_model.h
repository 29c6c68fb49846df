// The ARDL model the user chose: its orders, how they were chosen and what its estimators
// need beyond the current equation. The ARDL dialogue fills it before each estimate.
#pragma once

#include <string>
#include <vector>

namespace qorv::single {

/// Criterion codes: 1 R-bar-squared, 2 Akaike, 3 Schwarz, 4 Hannan-Quinn, 5 orders given
/// by the user.
inline constexpr int kOrdersGiven = 5;

struct ArdlChoice {
  std::vector<int> orders;      ///< q_0 .. q_{K-1}
  int criterion = 0;            ///< 1..5
  int deterministic = 0;        ///< s
  double lr_multiplier = 1.0;   ///< 1/(1 − Σφ) of the chosen model
};

/// The current choice (reset with the engine).
ArdlChoice& ardl_choice();

/// The second title line of the ARDL pages: "ARDL(3,2,1) selected based on Schwarz
/// Bayesian Criterion", or "ARDL(2,0,1) selected" for orders given by the user.
std::string ardl_title_line();

/// The estimator of the ARDL estimates (code 79): least squares with its summary.
void estimate_ardl(bool interactive);

/// The estimator of the long-run coefficients (code 80): the instrumental-variable core on
/// the long-run regression, with the chosen model's long-run multiplier and the count of
/// level coefficients (the regressors before the differences) for the variance page.
void estimate_ardl_long_run(bool interactive);

}  // namespace qorv::single
