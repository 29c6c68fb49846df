// The single-equation runner: from the current equation and method code to an estimate in
// the estimation state, by the estimator of the method's row, without dialogue.
#pragma once

#include <span>

namespace qorv::single {

/// Fills the equation part of the estimation state from `equation` (variable numbers,
/// dependent first): the lists, the trimmed names and the lag table (a name "X(-k)" is
/// variable X lagged k periods).
void take_equation(std::span<const int> equation);

/// How an estimate of the current equation ended.
enum class EstimateOutcome {
  kEstimated,     ///< the status word is 0 and the result stands in the estimation state
  kFailed,        ///< the estimator failed (interactive: it told the user why)
  kNotAvailable,  ///< the method has no estimator in this version
  kExactFit,      ///< a perfect fit of a method that refuses one
};

/// Starts an estimate of the current method code: clears the status and the
/// adjusted-variance words and copies the sample (DEPMEAN and the dependent variable's
/// variance). False, with the status word 1, when the sample is longer than a series block.
bool start_estimate();

/// Runs the estimator of the current method's row on the started estimate and refuses a
/// perfect fit of a method that does not allow one. Shows nothing itself: messages, the
/// results page and the post-estimation menus are the caller's; `interactive` lets the
/// estimator show its own failure messages. The status word is 0 only for `kEstimated`.
EstimateOutcome estimate_equation(bool interactive);

/// The estimator of the AR and MA error methods (2-4, 6-13): the exact, iterative or MA
/// estimator of the method, then the message that explains a failure when `interactive`
/// (the MA optimiser and a short memory always explain theirs).
void estimate_error_model_method(bool interactive);

}  // namespace qorv::single
