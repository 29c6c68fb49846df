// The differenced-series t-ratio: the Dickey-Fuller regression without deterministic terms
// of one series, for one augmentation order over a sample fixed by the caller, as the
// residual unit-root tests need it.
#pragma once

#include <span>

namespace qorv::single {

/// What `DIFFTRATIO` found. When the regression cannot give a statistic, `statistic` is the
/// caller's fallback and `loglik`, `sigma` are the missing code.
struct DiffTRatio {
  bool fitted = false;    ///< false: the fallback was returned
  double statistic = 0.0; ///< coefficient of e(t − 1) divided by its standard error
  double loglik = 0.0;    ///< LL = −(N/2)(ln(2π·RSS/N) + 1) over the N usable observations
  double sigma = 0.0;     ///< the regression's standard error (`NORMALLOGLIK`)
  int observations = 0;   ///< N = r − offset − 1 (0 when the arguments do not fit)
};

/// `DIFFTRATIO`: Δe(t) on e(t − 1) and Δe(t − 1) .. Δe(t − lags), without intercept, over
/// the N = r − offset − 1 observations t = offset + 1 .. r − 1 (0-based) of the r values of
/// `series`, so that the first offset + 1 values only supply lags and every order called
/// with the same offset uses the same observations. The statistic is the t-ratio of e(t − 1).
///
/// The fallback is returned when lags + 1 is not below N, when lags lies outside 0..offset
/// (the lags would read before the series), when the regression fails (a singular cross
/// product, an exact fit, a missing or non-finite value) or when the standard error of the
/// coefficient is below `tolerance`. Cost: about (lags + 1)·N·(lags + 4)²/2 multiply-adds.
DiffTRatio DIFFTRATIO(std::span<const double> series, int offset, int lags, double fallback, double tolerance);

}  // namespace qorv::single
