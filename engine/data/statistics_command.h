// The COR command (and, through its mode, LIST): summary statistics of the listed
// variables, their correlation matrix, and for one variable its autocorrelation function
// with a plot.
#pragma once

#include <span>
#include <vector>

#include "engine/data/command_support.h"
#include "engine/data/summary_statistics.h"

namespace qorv::data {

/// Modes of `AUTOCORRELATIONS`.
enum StatisticsMode : int {
  kListValuesMode = 1,  ///< the LIST command: `LISTVALUES`
  kStatisticsMode = 2,  ///< the COR command: statistics, correlations, autocorrelations
};

/// The figures of the COR command over the available sample.
struct SummaryFigures {
  int first = 0;  ///< the sample after narrowing to the available observations
  int last = 0;
  std::vector<VariableStatistics> statistics;  ///< one per listed variable
  std::vector<double> correlations;  ///< several variables: packed correlation matrix; else empty
  Autocorrelations autocorrelation;  ///< one variable: to the order used (order 0: none)
};

/// What a statistics command did, with its figures.
struct SummaryResult {
  CommandStatus status = kCommandBadArguments;
  SummaryFigures figures;  ///< meaningful when `status` is kCommandDone
};

/// The figures of `variables` (workspace numbers) over observations first..last, which
/// hold no missing value; `order` as typed (-1 when none).
SummaryFigures summary_figures(std::span<const int> variables, int first, int last, int order);

/// `SUMMARYSTATS`: writes the figures on a new results page: the sample and names, the
/// statistics table in blocks of six variables (rows " Maximum          :" to
/// " Coef of Variation:", 9-column fields in columns 21-29, 31-39, ..., 71-79), then for
/// several variables the correlation matrix on a page of its own (`PRINTCOVMATRIX`), for
/// one the autocorrelation table and the plot of the autocorrelation function against
/// the order of lags (plot type 7), unless the order is 0 or the variable does not vary.
void SUMMARYSTATS(std::span<const int> variables, const SummaryFigures& figures);

/// `AUTOCORRELATIONS`, the entry of LIST (mode 1) and COR (mode 2) for the interpreter:
/// `variables` are workspace numbers, first..last the command sample, `order` the number
/// typed in brackets after COR or -1. Mode 2 narrows the sample to the observations where
/// every variable is present; a missing value inside it shows " Missing observation in
/// period " + label + ". Can't calculate autocorrelations!" and refuses. A variable or
/// sample outside the data set, or another mode, does nothing (kCommandBadArguments).
SummaryResult AUTOCORRELATIONS(std::span<const int> variables, int first, int last, int mode, int order);

}  // namespace qorv::data
