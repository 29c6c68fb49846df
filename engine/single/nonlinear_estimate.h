// The non-linear estimators (method codes 14 and 15): the equation typed as a formula,
// its parameters' current values, and the estimate of the current equation by
// Gauss-Newton steps.
#pragma once

#include <string>
#include <vector>

#include "engine/single/nonlinear_formula.h"

namespace qorv::single {

/// The non-linear equation of the session (reset with the engine).
struct NonLinearEquation {
  std::string text;            ///< the formula as typed (the editor's text)
  NonLinearFormula formula;    ///< the formula read; no parameters when there is none
  std::vector<double> values;  ///< one current value per parameter: the next start
};

NonLinearEquation& nonlinear_equation();

/// The non-blank lines of the equation's text, trailing blanks cut: what the pages show.
std::vector<std::string> formula_lines();

/// Takes `formula` as the session's equation. Parameters it shares by name with the
/// previous equation keep their values; new ones start at 0.
void set_nonlinear_equation(std::string text, NonLinearFormula formula);

/// The estimator of methods 14 and 15: the formula's parameters from their current values
/// over the sample, least squares (14) or two-stage least squares on INSTRLIST (15).
/// Success: the estimates (named by the parameters) become the current values and fill
/// the estimation state: coefficients, fitted values, residuals, RSS, SIGMA, LOGLIK, the
/// derivatives at the estimates (`jacobian`) and SIGMA²·(J'J)⁻¹ (scaled) as the variance;
/// for 15 the generalised residuals y − P·fitted, GRSS and the IV minimand e'Pe.
/// Failure: status 1, the current values unchanged and, when `interactive`, the message of
/// the failure; with `interactive` false the iteration limit also fails without a question.
void estimate_nonlinear(bool interactive);

}  // namespace qorv::single
