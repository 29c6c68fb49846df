// Maximum likelihood for the GARCH family by the outer-product-of-gradients iteration:
// per-observation scores by central differences, the search direction from regressing a
// column of ones on them, an adaptive damping factor, and the variance matrix of the
// estimates as the inverse of the scores' cross products.
//
// The move is safeguarded: a step that makes the likelihood fail or fall is halved, at
// most 30 times. Convergence is judged on the step actually taken: the log-likelihood
// changed by at most 1e-5 (or it is the first iteration) and Σ|step| < 1e-5·m. When 30
// halvings find no rising step right after a change of at most 1e-5, the point is taken as
// the maximum; otherwise that is a failure.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "engine/single/garch_likelihood.h"
#include "engine/single/optimiser.h"

namespace qorv::single {

/// How an iteration ended.
enum class GarchEnd {
  kConverged,
  kNotConverged,      ///< the user printed the results at the iteration limit
  kAbandoned,         ///< the user abandoned at the iteration limit or refused to continue
  kLikelihoodFailed,  ///< an evaluation stopped (see `stop`)
  kScoreOverflow,     ///< a score beyond 5.184705528587097e21
  kCollinearScores,   ///< the scores' cross products are singular
  kNoUphillStep,      ///< 30 halvings found no step that raises the likelihood
  kNotPositiveDefinite,  ///< the variance matrix at the end is not positive definite
};

/// The outcome of one maximisation.
struct GarchFit {
  GarchEnd end = GarchEnd::kConverged;
  GarchStop stop = GarchStop::kNone;  ///< why the likelihood failed, for kLikelihoodFailed
  int iterations = 0;
  double loglik = 0.0;
  std::vector<double> variance;       ///< packed (S'S)⁻¹ at the estimate (converged or printed)
};

/// Asked (once per run) when the MA and AR coefficients of a plain or absolute model sum
/// to 1 or more; false ends the run.
using NonstationaryQuestion = std::function<bool()>;

/// Iterations before the iteration-limit dialogue.
inline constexpr int kGarchIterationLimit = 40;

/// Maximises the likelihood from theta (in/out) with the damping factor `damping`.
GarchFit fit_garch(const GarchModel& model, const GarchData& data, std::span<double> theta, double damping,
                   const LimitHandler& on_limit, const NonstationaryQuestion& ask_nonstationary);

/// The n × m per-observation scores at theta (column-major), by central differences with
/// steps 0.001·|θ(i)| (0.0001 at θ(i) = 0). Returns kNone or the evaluation's stop.
GarchStop garch_scores(const GarchModel& model, const GarchData& data, std::span<const double> theta,
                       std::vector<double>& scores);

}  // namespace qorv::single
