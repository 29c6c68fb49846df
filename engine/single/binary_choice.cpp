#include "engine/single/binary_choice.h"

#include <cmath>
#include <stdexcept>

#include "engine/core/distributions.h"
#include "engine/core/num/packed_factor.h"
#include "engine/core/num/packed_index.h"
#include "engine/core/sign_counts.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr double kConvergence = 0.0001;  ///< largest change of a coefficient at convergence
constexpr double kSqrtTwoPi = 2.5066282746310002;

double normal_density(double z) { return std::exp(-0.5 * z * z) / kSqrtTwoPi; }

/// z = x'b of observation t.
double index_of(const BinaryData& data, std::span<const double> b, int t) {
  const double* x = data.x.data() + static_cast<std::size_t>(t) * static_cast<std::size_t>(data.k);
  long double z = 0.0L;
  for (int j = 0; j < data.k; ++j) z += static_cast<long double>(x[j]) * b[static_cast<std::size_t>(j)];
  return static_cast<double>(z);
}

void check_lengths(const BinaryData& data, std::span<const double> b) {
  if (data.n < 0 || data.k < 0 || data.y.size() != static_cast<std::size_t>(data.n) ||
      data.x.size() != static_cast<std::size_t>(data.n) * static_cast<std::size_t>(data.k) ||
      b.size() != static_cast<std::size_t>(data.k))
    throw std::invalid_argument("binary-choice data of inconsistent length");
}

/// The score and the packed observed information at b, with the probabilities and the
/// log-likelihood. False when a probability is 0 or 1.
bool score_and_information(BinaryModel model, const BinaryData& data, BinaryEstimate& e,
                           std::vector<long double>& score, std::vector<double>& info) {
  const int k = data.k;
  score.assign(static_cast<std::size_t>(k), 0.0L);
  info.assign(static_cast<std::size_t>(k) * (k + 1) / 2, 0.0);
  e.prob.resize(static_cast<std::size_t>(data.n));
  long double loglik = 0.0L;
  for (int t = 0; t < data.n; ++t) {
    const double z = index_of(data, e.b, t);
    if (!std::isfinite(z)) return false;
    const BinaryProbability pq = binary_probability(model, z);
    if (pq.p <= 0.0 || pq.q <= 0.0) return false;
    e.prob[static_cast<std::size_t>(t)] = pq.p;
    const bool one = data.y[static_cast<std::size_t>(t)] == 1.0;
    loglik += one ? std::log(pq.p) : std::log(pq.q);
    // s: d ln L_t / dz; w: −d² ln L_t / dz².
    double s = 0.0, w = 0.0;
    if (model == BinaryModel::kLogit) {
      s = one ? pq.q : -pq.p;
      w = pq.p * pq.q;
    } else if (one) {
      const double lambda = normal_density(z) / pq.p;
      s = lambda;
      w = lambda * (lambda + z);
    } else {
      const double lambda = normal_density(z) / pq.q;
      s = -lambda;
      w = lambda * (lambda - z);
    }
    const double* x = data.x.data() + static_cast<std::size_t>(t) * static_cast<std::size_t>(k);
    double* row = info.data();
    for (int i = 0; i < k; ++i) {
      score[static_cast<std::size_t>(i)] += static_cast<long double>(s) * x[i];
      const double wx = w * x[i];
      for (int j = 0; j <= i; ++j) row[j] += wx * x[j];
      row += i + 1;  // packed rows follow each other: row i + 1 starts after i + 1 values
    }
  }
  e.loglik = static_cast<double>(loglik);
  return std::isfinite(e.loglik);
}

}  // namespace

BinaryProbability binary_probability(BinaryModel model, double z) {
  // The smaller of the two from its own formula, the larger as 1 minus it: both keep
  // their relative accuracy (the larger is at least 0.5).
  double small = 0.0;
  if (model == BinaryModel::kLogit) {
    const double e = std::exp(-std::fabs(z));
    small = e / (1.0 + e);
  } else {
    small = core::NORMALTAIL(std::fabs(z), true);
  }
  return z < 0.0 ? BinaryProbability{small, 1.0 - small} : BinaryProbability{1.0 - small, small};
}

bool LOGITPROBITLIK(BinaryModel model, const BinaryData& data, std::span<const double> b, std::span<double> prob,
                    double& loglik) {
  check_lengths(data, b);
  if (prob.size() != static_cast<std::size_t>(data.n)) throw std::invalid_argument("probability span of wrong length");
  long double sum = 0.0L;
  bool known = true, defined = true;
  for (int t = 0; t < data.n; ++t) {
    const double z = index_of(data, b, t);
    const BinaryProbability pq = std::isfinite(z) ? binary_probability(model, z) : BinaryProbability{0.0, 0.0};
    if (pq.p <= 0.0 || pq.q <= 0.0) defined = false;
    prob[static_cast<std::size_t>(t)] = std::isfinite(z) ? pq.p : kMissing;
    const double y = data.y[static_cast<std::size_t>(t)];
    if (!defined) continue;
    if (y == 1.0) sum += std::log(pq.p);
    else if (y == 0.0) sum += std::log(pq.q);
    else known = false;
  }
  loglik = known && defined ? static_cast<double>(sum) : kMissing;
  return defined;
}

BinaryEstimate binary_start(const BinaryData& data) {
  BinaryEstimate e;
  e.b.assign(static_cast<std::size_t>(data.k), 0.0);
  return e;
}

BinaryMlStatus binary_newton(BinaryModel model, const BinaryData& data, BinaryEstimate& e, int limit) {
  check_lengths(data, e.b);
  const int k = data.k;
  std::vector<long double> score;
  std::vector<double> info, inverse;
  while (true) {
    if (!score_and_information(model, data, e, score, info)) return BinaryMlStatus::kUndefined;
    inverse = info;
    int fail = 0;
    core::INVERTSYMPACKED(inverse, k, fail);
    if (fail != 0) return BinaryMlStatus::kSingular;
    e.variance = inverse;
    if (e.iterations >= limit) return BinaryMlStatus::kLimitReached;
    bool small = true;
    for (int i = 0; i < k; ++i) {
      long double step = 0.0L;
      for (int j = 0; j < k; ++j)
        step += static_cast<long double>(inverse[static_cast<std::size_t>(core::PACKEDINDEX(i + 1, j + 1) - 1)]) *
                score[static_cast<std::size_t>(j)];
      e.b[static_cast<std::size_t>(i)] += static_cast<double>(step);
      if (!(std::fabs(static_cast<double>(step)) < kConvergence)) small = false;
    }
    ++e.iterations;
    if (small) {
      // The probabilities, likelihood and information at the final coefficients.
      if (!score_and_information(model, data, e, score, info)) return BinaryMlStatus::kUndefined;
      inverse = info;
      core::INVERTSYMPACKED(inverse, k, fail);
      if (fail != 0) return BinaryMlStatus::kSingular;
      e.variance = inverse;
      return BinaryMlStatus::kConverged;
    }
  }
}

double binary_fitted(double p) { return p > 0.5 ? 1.0 : 0.0; }

BinaryFitSummary binary_fit_summary(std::span<const double> y, std::span<const double> prob) {
  BinaryFitSummary s;
  const std::size_t n = y.size();
  std::vector<double> fitted(prob.size());
  for (std::size_t t = 0; t < prob.size(); ++t)
    fitted[t] = prob[t] == kMissing ? kMissing : binary_fitted(prob[t]);
  const core::SignCounts counts = core::SIGNCOUNTS(y, fitted, kMissing);
  if (!counts.complete || n == 0) {
    s.mean_actual = s.mean_fitted = s.goodness = s.accuracy = s.accuracy_prob = kMissing;
    return s;
  }
  s.mean_actual = counts.px;
  s.mean_fitted = counts.py;
  s.goodness = counts.agreement;
  s.accuracy = core::directional_accuracy(y, fitted, kMissing, limits::kTolerance);
  s.accuracy_prob = s.accuracy == kMissing ? kMissing : 2.0 * core::NORMALTAIL(std::fabs(s.accuracy), true);
  return s;
}

BinaryStatistics binary_statistics(BinaryModel model, const BinaryData& data, const BinaryEstimate& e) {
  BinaryStatistics st;
  const int n = data.n, k = data.k;
  // The factor at the means of the regressors.
  long double z = 0.0L;
  for (int j = 0; j < k; ++j) {
    long double mean = 0.0L;
    for (int t = 0; t < n; ++t) mean += data.x[static_cast<std::size_t>(t) * static_cast<std::size_t>(k) + static_cast<std::size_t>(j)];
    if (n > 0) mean /= n;
    z += mean * e.b[static_cast<std::size_t>(j)];
  }
  const double zbar = static_cast<double>(z);
  if (model == BinaryModel::kLogit) {
    const BinaryProbability pq = binary_probability(model, zbar);
    st.factor = zbar > 350.0 ? 0.0 : pq.p * pq.q;
  } else {
    st.factor = normal_density(zbar);
  }
  st.loglik = e.loglik;
  const double ln_n = std::log(static_cast<double>(n));
  st.aic = e.loglik - k;
  st.sbc = e.loglik - 0.5 * k * ln_n;
  st.hqc = n > 1 ? e.loglik - k * std::log(ln_n) : kMissing;
  st.fit = binary_fit_summary(data.y, e.prob);
  const double ybar = st.fit.mean_actual;
  const double ll0 = ybar > 0.0 && ybar < 1.0 ? n * (ybar * std::log(ybar) + (1.0 - ybar) * std::log(1.0 - ybar)) : 0.0;
  st.pseudo_r2 = ll0 < 0.0 ? 1.0 - e.loglik / ll0 : kMissing;
  st.all_same = n > 0;
  for (int t = 1; t < n && st.all_same; ++t)
    st.all_same = binary_fitted(e.prob[static_cast<std::size_t>(t)]) == binary_fitted(e.prob[0]);
  st.all_value = n > 0 ? binary_fitted(e.prob[0]) : 0.0;
  return st;
}

}  // namespace qorv::single
