// The initial values of an iterative estimate's parameters, edited by the user in the
// dialog library's value grid.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace qorv::core {

/// Whose parameters `EDITINITVALUES` shows.
enum InitialValuesKind : int {
  kNonLinearFormula = 1,     ///< the non-linear regression formula's parameters (help 20341)
  kArmaParameters = 2,       ///< AR and MA parameters the user supplies (help 2023)
  kCointegratingVectors = 3, ///< cointegrating vectors, named A1.., B1.. here (help 20209)
  kGarchParameters = 4,      ///< a GARCH-family estimate (help 117)
};

/// The help context of the value grid for `kind` (117 for any kind not listed).
int initial_values_help(int kind);

/// Most cointegrating vectors the grid can name (A to Z).
inline constexpr int kMaxVectors = 26;

/// Shows `values` beside `names` in the value grid. `flag` in: for kind 3 the number m of
/// coefficients of one vector (there are values.size() div m vectors; `names` is then
/// made here, A1..Am, B1..Bm, ..., 14 characters each); out: 0 when the user accepted the
/// values (copied back), 1 when cancelled (values unchanged). `formula` holds the lines
/// of the non-linear formula shown in the title for kind 1. More than 26 vectors, or
/// m < 1, are refused with a message and flag 1. Any number of values is shown.
void EDITINITVALUES(std::span<double> values, std::vector<std::string>& names, int kind, int& flag,
                    std::span<const std::string> formula = {});

}  // namespace qorv::core
