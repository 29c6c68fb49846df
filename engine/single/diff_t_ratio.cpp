#include "engine/single/diff_t_ratio.h"

#include <cstddef>

#include "engine/core/likelihoods.h"
#include "engine/core/unit_root_regressions.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

DiffTRatio DIFFTRATIO(std::span<const double> series, int offset, int lags, double fallback, double tolerance) {
  DiffTRatio out;
  out.statistic = fallback;
  out.loglik = out.sigma = limits::kMissing;
  const long r = static_cast<long>(series.size());
  if (offset < 0 || lags < 0 || lags > offset || offset >= r) return out;
  const long usable = r - offset - 1;
  if (lags + 1 >= usable) return out;
  out.observations = static_cast<int>(usable);

  // The Dickey-Fuller regressions of orders 0..lags on the values from offset − lags run
  // over exactly the N observations asked for; the highest order is this one.
  const auto from = static_cast<std::size_t>(offset - lags);
  const core::AdfRegressions fits = core::ADFREGRESSIONS(series.subspan(from), lags, core::DeterministicTerms::kNone);
  if (fits.orders.empty()) return out;
  const core::AdfRegression& fit = fits.orders.back();
  if (!fit.fitted || !(fit.std_error >= tolerance)) return out;
  double sigma = 0.0, loglik = 0.0;
  core::NORMALLOGLIK(fits.observations, fit.coefficients, fit.rss, sigma, loglik);
  out.fitted = true;
  out.statistic = fit.statistic;
  out.loglik = loglik;
  out.sigma = sigma;
  return out;
}

}  // namespace qorv::single
