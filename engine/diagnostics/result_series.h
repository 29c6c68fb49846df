// Saving a computed series of the current estimate (residuals, fitted values, leverage,
// recursive and rolling results, forecasts, conditional standard errors, cointegrating
// relations) as a variable of the data set.
#pragma once

#include <span>
#include <string>

namespace qorv::diagnostics {

/// Kinds of saved series; the kind completes the naming prompt.
namespace series_kind {
inline constexpr int kFittedAndForecasts = 0;
inline constexpr int kResiduals = 1;
inline constexpr int kFitted = 2;
inline constexpr int kRecursiveCoefficient = 3;
inline constexpr int kRecursiveCoefficientSe = 4;
inline constexpr int kRecursiveRegressionSe = 5;
inline constexpr int kRecursiveResiduals = 6;
inline constexpr int kRecursivePredictions = 7;
inline constexpr int kAdaptiveCoefficients = 9;
inline constexpr int kLeverage = 10;
inline constexpr int kRollingCoefficients = 11;
inline constexpr int kRollingCoefficientSe = 12;
inline constexpr int kRollingRegressionSe = 13;
inline constexpr int kGarchStandardErrors = 14;
inline constexpr int kFirstCointegratingRelation = 15;  ///< relation r is kind 14 + r
}  // namespace series_kind

/// The text that names what kind `kind` saves ("residuals:", "cointegraing relation  2").
std::string series_kind_text(int kind);

/// The question "Name and optional description for saved " + the kind's text.
std::string series_prompt(int kind);

/// `SAVERESULTSERIES`: asks a name and an optional description for `series`, whose first
/// value belongs to the first observation of the estimation sample and which covers NUSED
/// + `extra` observations, and stores it as a variable: the missing value before the sample
/// and after the series, the series values in between (cut at the end of the data set).
/// A cancelled question is the answer "Q" (give up). The name check asks again after an
/// invalid name or a name of the current model. A name that exists already is overwritten
/// in place (its temporary mark, if any, is cleared); a new name takes the next variable
/// number, unless the workspace is full: then "Not enough store on your work space, you
/// must delete at least 1 variable!" is shown and nothing is written.
/// Returns the number of the variable written, 0 when nothing was saved (also when
/// `series` is shorter than NUSED + `extra` or there is no estimation sample).
/// Cost: O(NOBS) plus the dialogs.
int SAVERESULTSERIES(std::span<const double> series, int kind, int extra);

}  // namespace qorv::diagnostics
