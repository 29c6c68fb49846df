// The statistics commands of the command interpreter: LIST, COR, SPECTRUM and ADF. The
// interpreter checks their arguments and calls one entry per command with what it parsed;
// the observations are first..last (from 1) of the command sample.
#pragma once

#include <span>

namespace qorv::data {

/// LIST: the values of `variables` (variable numbers from 1; all variables when the
/// command had no list).
void list_command(std::span<const int> variables, int first, int last);

/// COR: summary statistics of `variables`, their correlations, and for one variable its
/// autocorrelations up to `order` (-1: not given).
void cor_command(std::span<const int> variables, int order, int first, int last);

/// SPECTRUM: the spectral density of `variable` with window size `window` (-1: not given).
void spectrum_command(int variable, int window, int first, int last);

/// ADF: the unit-root tests of `variable` up to `order` (1..12).
void adf_command(int variable, int order, int first, int last);

}  // namespace qorv::data
