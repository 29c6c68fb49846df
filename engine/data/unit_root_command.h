// The ADF command: Dickey-Fuller and augmented Dickey-Fuller unit-root tests of one
// variable for augmentation orders 0..p, with an intercept and then with an intercept
// and a linear trend.
#pragma once

#include "engine/core/unit_root_regressions.h"
#include "engine/data/command_support.h"

namespace qorv::data {

/// Largest augmentation order of the ADF command.
inline constexpr int kMaxAdfOrder = 12;

/// The order p: the typed order (-1 when none) or else the data set's periods per year,
/// at most 12.
int adf_order(int typed, int periods_per_year);

/// One block of the ADF table: the regressions of every order and the 95% critical value.
struct AdfBlock {
  core::DeterministicTerms terms = core::DeterministicTerms::kIntercept;
  core::AdfRegressions regressions;
  double critical_value = 0.0;  ///< response surface, one variable with these terms, n = used observations
};

/// The figures of the ADF command.
struct AdfFigures {
  int order = 0;       ///< p
  int first_used = 0;  ///< the observations of every regression: first_used..last
  int last = 0;
  AdfBlock intercept;
  AdfBlock trend;
};

/// The two blocks of the ADF table for `y`, the values of observations first..last (no
/// missing value), to order p. The caller sees to it that p <= largest_adf_order(N,
/// intercept and trend).
AdfFigures adf_figures(std::span<const double> y, int first, int p);

/// What the ADF command did, with its figures.
struct AdfResult {
  CommandStatus status = kCommandBadArguments;
  AdfFigures figures;  ///< meaningful when `status` is kCommandDone
};

/// `ADFTEST`, the entry of the ADF command for the interpreter: workspace variable
/// `variable` over the command sample first..last, `order` the number typed in brackets
/// or -1 (`adf_order` gives p). The sample is narrowed to the available observations; a
/// gap inside it shows line 2 of the message file; a sample too short for order p is
/// refused with a message naming the largest order it allows. The results page holds two
/// blocks (an intercept, then an intercept and a trend): title, the observations and
/// sample used, a row per order (" DF", " ADF(k)") with the statistic, LL, AIC, SBC and HQC,
/// the 95% critical value and the legend. A row without a statistic (an exact fit or a
/// singular regression) prints "*NONE*".
AdfResult ADFTEST(int variable, int first, int last, int order);

}  // namespace qorv::data
