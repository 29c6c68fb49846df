// Non-linear least squares by undamped Gauss-Newton steps with central-difference
// derivatives of the model, on caller-owned arrays: no estimation state, no dialog but the
// iteration-limit question. The model is any routine that fills the fitted values at a
// parameter vector (the non-linear estimators pass a compiled formula).
#pragma once

#include <functional>
#include <span>
#include <vector>

namespace qorv::single {

/// Fills the n fitted values at the parameters; false when a value is missing.
using NonLinearModel = std::function<bool(std::span<const double> theta, std::span<double> fitted)>;

/// Derivatives above this in absolute value end the iteration (`kDerivativeTooLarge`).
inline constexpr double kLargestDerivative = 5.184705528587097e21;
/// Gauss-Newton steps before the iteration-limit question.
inline constexpr int kGaussNewtonLimit = 40;

/// The problem: y and, for the two-stage estimator, l instruments (n × l, column-major).
struct NonLinearProblem {
  std::span<const double> y;
  std::span<const double> instruments;  ///< empty: least squares
  int l = 0;
  NonLinearModel model;
  bool ask_at_limit = false;  ///< the iteration-limit dialogue may be shown (else the limit fails)
};

/// How the iteration ended.
enum class NonLinearStatus {
  kConverged,
  kNotConverged,        ///< the limit was reached and the user chose the non-convergent results
  kMissingValue,        ///< a fitted value was missing during the iteration
  kMissingAtEnd,        ///< the final evaluation at the estimates gave a missing value
  kDerivativeTooLarge,  ///< a derivative above kLargestDerivative
  kSingular,            ///< the derivatives' (or projected derivatives') cross products are singular
  kAbandoned,           ///< the limit was reached and the estimation was abandoned
  kBadShape,            ///< counts or lengths that do not fit
};

/// The estimate. Past a failure only `status` and `iterations` are meaningful.
struct NonLinearFit {
  NonLinearStatus status = NonLinearStatus::kBadShape;
  int iterations = 0;             ///< Gauss-Newton steps taken
  std::vector<double> theta;      ///< m estimates
  std::vector<double> fitted;     ///< n fitted values at the estimates
  std::vector<double> jacobian;   ///< n × m derivatives at the estimates, column-major
  std::vector<double> inverse;    ///< packed (J'J)⁻¹, or (J'PJ)⁻¹ with instruments
  double rss = 0.0;               ///< Σ (y − fitted)²
};

/// Step for the central difference of a parameter at `theta`: 0.001·|theta|, or 0.0001 at 0.
double derivative_step(double theta);

/// Gauss-Newton from `start` (m parameters):
/// 1. evaluate the model; each evaluation with a missing value fails (kMissingValue);
/// 2. derivative column i = (f(θ + dᵢeᵢ) − f(θ − dᵢeᵢ)) / (2dᵢ), dᵢ = derivative_step(θᵢ);
/// 3. regress the residuals on the derivatives (least squares, or two-stage least squares
///    on the instruments); the step is added to θ;
/// 4. converged when Σ|step| < 0.00001·m; after 40 steps ITERATIONLIMIT (when
///    `ask_at_limit`) may raise the limit, abandon, or keep the non-convergent values;
/// 5. the model is evaluated once more, the derivatives and the inverse cross products are
///    taken at the estimates.
/// Cost per step: (2m + 1) model evaluations and n·m²/2 multiply-adds.
NonLinearFit GAUSSNEWTON(const NonLinearProblem& problem, std::span<const double> start);

}  // namespace qorv::single
