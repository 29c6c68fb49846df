// The equation of the non-linear estimators: "NAME = expression", where the names of the
// workspace's variables are data and every other valid name is a parameter to estimate.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/formula_compiler.h"
#include "engine/data/formula_evaluator.h"
#include "engine/single/gauss_newton.h"

namespace qorv::single {

/// A read equation.
struct NonLinearFormula {
  int dependent = 0;                    ///< workspace variable on the left of "="
  std::string expression;               ///< the text right of "=", trimmed
  std::vector<std::string> parameters;  ///< upper case, in order of first appearance
  data::FormulaProgram program;         ///< the expression compiled with the parameters bound
};

/// Why an equation was refused.
enum class NonLinearFormulaStatus {
  kOk,
  kNoDependent,    ///< no "=", or no workspace variable on its left
  kNoParameters,   ///< the expression names no parameter
  kRefused,        ///< the compiler refused the expression
};

/// Reads `text` (line ends and a trailing ";" allowed) against the workspace names
/// `variables` (variable j + 1 is entry j, upper case): a word of the expression that is
/// neither a number, a function nor a variable, and passes the name rule, becomes a
/// parameter. Nothing is shown. Cost: O(tokens · (variables + parameters)).
NonLinearFormulaStatus read_nonlinear_formula(std::string_view text, std::span<const std::string> variables,
                                              NonLinearFormula& out);

/// The expression as a model for `GAUSSNEWTON`: evaluated over observations first..last
/// (from 1) of `data` with the parameters bound to θ; false when the evaluator refuses
/// (a program too deep for `capacity`, a sample outside the data). The model keeps
/// references to `formula` and to the data's storage.
NonLinearModel formula_model(const NonLinearFormula& formula, const data::FormulaData& data, int first, int last,
                             int capacity);

/// The dynamic forecast of the equation over observations first..last (from 1, first
/// > 1) of `data`, its parameters bound to `data.parameters`: the formula is evaluated
/// one observation at a time on a copy of the data whose dependent variable holds, from
/// `first` on, the forecasts made so far (the missing code beyond them), so that its lags
/// read the forecasts once they reach into the period. Empty when an evaluation fails or
/// gives the missing value. Cost: O(nobs·nvars + operations·(last − first + 1)).
std::vector<double> formula_forecast(const NonLinearFormula& formula, const data::FormulaData& data, int first,
                                     int last, int capacity);

}  // namespace qorv::single
