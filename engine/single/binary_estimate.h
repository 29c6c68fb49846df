// The binary-choice estimate and the estimation state: the data of the current equation
// over a range of observations, and the estimate stored where the reports, tests and
// saves of the single-equation road read it.
#pragma once

#include "engine/single/binary_choice.h"

namespace qorv::single {

/// The model of a method code (92 logit, 93 probit) and back.
BinaryModel binary_model(int method_code);
int binary_method_code(BinaryModel model);

/// The current equation (`eqvarlist`: dependent variable first) over observations
/// first..last of the data set into `out`: y and the regressors as the data set holds them
/// (missing codes included), in the storage `out` already has where it suffices. Throws
/// std::out_of_range when the range or a variable lies outside the data set. Cost: O(n·k).
void binary_equation_data(int first, int last, BinaryData& out);

/// Whether every value of `y` is 0 or 1.
bool binary_dependent(std::span<const double> y);

/// Stores `estimate` of `model` on `data` (the estimation sample, already loaded by
/// `load_sample`) as the current estimate: coefficients, standard errors and t-ratios,
/// fitted values (the probabilities) and residuals y − p, the packed inverse information
/// as an absolute variance matrix, the log-likelihood, the iteration count and the
/// convergence word (0 converged, 1 not).
void store_binary_estimate(BinaryModel model, const BinaryEstimate& estimate, bool converged);

}  // namespace qorv::single
