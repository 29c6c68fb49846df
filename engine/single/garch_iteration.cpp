#include "engine/single/garch_iteration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <optional>

#include "engine/core/num/cross_products.h"
#include "engine/core/num/packed_factor.h"
#include "engine/core/num/packed_index.h"
#include "engine/single/garch_lanes.h"

namespace qorv::single {

namespace {

constexpr double kScoreBound = 5.184705528587097e21;
constexpr double kLikelihoodChange = 0.00001;
constexpr double kStepTotal = 0.00001;  // times the number of parameters
constexpr int kHalvings = 30;
constexpr int kHalvingsOneByOne = 3;
constexpr double kMaxDamping = 2.0;
constexpr double kMinDamping = 0.1;

double step_of(double theta) { return theta == 0.0 ? 0.0001 : 0.001 * std::fabs(theta); }

/// The log-likelihood, or the stop of the evaluation.
struct Evaluation {
  GarchStop stop = GarchStop::kNone;
  double total = 0.0;
};

class Maximiser {
 public:
  Maximiser(const GarchModel& model, const GarchData& data, const NonstationaryQuestion& ask)
      : model_(model),
        data_(data),
        ask_(ask),
        l_(static_cast<size_t>(data.observations())),
        e_(static_cast<size_t>(data.rows())),
        s_(static_cast<size_t>(data.rows())) {}

  Evaluation evaluate(std::span<const double> theta) {
    Evaluation out;
    out.stop = garch_loglik(model_, data_, theta, l_, e_, s_);
    if (out.stop == GarchStop::kNone)
      out.total = static_cast<double>(std::accumulate(l_.begin(), l_.end(), 0.0L));
    return out;
  }

  /// The first of the points (m values each, evaluated side by side in one pass, at most
  /// kGarchLanes of them) whose log-likelihood is at least `floor`, its evaluation in
  /// `found`; -1 when there is none.
  int first_at_least(std::span<const double> points, double floor, Evaluation& found) {
    const size_t m = static_cast<size_t>(garch_parameter_count(model_));
    const size_t count = points.size() / m;
    lanes_.resize(l_.size() * kGarchLanes);
    garch_loglik_lanes(model_, data_, points, lanes_, stops_);
    for (size_t i = 0; i < count; ++i) {
      if (stops_[i] != GarchStop::kNone) continue;
      long double total = 0.0L;
      for (size_t t = 0; t < l_.size(); ++t) total += lanes_[t * kGarchLanes + i];
      if (static_cast<double>(total) >= floor) {
        found = {GarchStop::kNone, static_cast<double>(total)};
        return static_cast<int>(i);
      }
    }
    return -1;
  }

  /// The nonstationarity question for the plain and absolute forms: false when the user
  /// ends the run.
  bool stationary_or_accepted(std::span<const double> theta) {
    if (asked_ || model_.form == VarianceForm::kExponential) return true;
    if (garch_lag_sum(model_, theta) < 1.0) return true;
    asked_ = true;
    return !ask_ || ask_();
  }

 private:
  const GarchModel& model_;
  const GarchData& data_;
  const NonstationaryQuestion& ask_;
  std::vector<double> l_, e_, s_;  // the residuals and deviations are the pass's work space
  std::vector<double> lanes_;      // the values of passes side by side
  std::array<GarchStop, kGarchLanes> stops_{};
  bool asked_ = false;
};

/// (S'S)⁻¹ packed, from the n × m scores; false when singular.
bool inverse_cross_products(const std::vector<double>& scores, int n, int m, std::vector<double>& packed) {
  std::vector<const double*> columns(static_cast<size_t>(m));
  for (int i = 0; i < m; ++i) columns[static_cast<size_t>(i)] = scores.data() + static_cast<size_t>(i) * static_cast<size_t>(n);
  packed.assign(static_cast<size_t>(m) * static_cast<size_t>(m + 1) / 2, 0.0);
  core::symmetric_cross_products(columns, static_cast<size_t>(n), packed);
  int fail = 0;
  core::INVERTSYMPACKED(packed, m, fail);
  return fail == 0;
}

/// The sum of each of the m columns of the n × m scores, each added in row order in long
/// double; four columns' sums run side by side, so that no addition waits on the one
/// before it.
void column_sums(const std::vector<double>& scores, int n, int m, std::vector<double>& sums) {
  sums.resize(static_cast<size_t>(m));
  const auto column = [&](int i) { return scores.data() + static_cast<size_t>(i) * static_cast<size_t>(n); };
  int i = 0;
  for (; i + 4 <= m; i += 4) {
    const double *c0 = column(i), *c1 = column(i + 1), *c2 = column(i + 2), *c3 = column(i + 3);
    long double s0 = 0.0L, s1 = 0.0L, s2 = 0.0L, s3 = 0.0L;
    for (int t = 0; t < n; ++t) {
      s0 += c0[t];
      s1 += c1[t];
      s2 += c2[t];
      s3 += c3[t];
    }
    sums[static_cast<size_t>(i)] = static_cast<double>(s0);
    sums[static_cast<size_t>(i) + 1] = static_cast<double>(s1);
    sums[static_cast<size_t>(i) + 2] = static_cast<double>(s2);
    sums[static_cast<size_t>(i) + 3] = static_cast<double>(s3);
  }
  for (; i < m; ++i) {
    const double* c = column(i);
    long double sum = 0.0L;
    for (int t = 0; t < n; ++t) sum += c[t];
    sums[static_cast<size_t>(i)] = static_cast<double>(sum);
  }
}

}  // namespace

GarchStop garch_scores(const GarchModel& model, const GarchData& data, std::span<const double> theta,
                       std::vector<double>& scores) {
  const auto n = static_cast<size_t>(data.observations());
  const size_t m = theta.size();
  scores.resize(n * m);
  // Lane 2i is θ with θ(i) + d(i), lane 2i + 1 with θ(i) − d(i): the points of the
  // central differences, kGarchLanes/2 parameters to a pass.
  constexpr size_t kPerPass = kGarchLanes / 2;
  // The passes' values are the thread's, kept from call to call (fresh pages of this size
  // cost more than a pass).
  thread_local std::vector<double> l;
  l.resize(n * kGarchLanes);
  std::vector<double> points;
  std::array<GarchStop, kGarchLanes> stops{};
  for (size_t i0 = 0; i0 < m; i0 += kPerPass) {
    const size_t used = std::min(kPerPass, m - i0);
    points.clear();
    for (size_t i = i0; i < i0 + used; ++i)
      for (const double sign : {1.0, -1.0}) {
        points.insert(points.end(), theta.begin(), theta.end());
        points[points.size() - m + i] = theta[i] + sign * step_of(theta[i]);
      }
    garch_loglik_lanes(model, data, points, l, stops);
    for (size_t lane = 0; lane < 2 * used; ++lane)
      if (stops[lane] != GarchStop::kNone) return stops[lane];
    for (size_t i = i0; i < i0 + used; ++i) {
      const double d = step_of(theta[i]);
      const size_t up = 2 * (i - i0);
      double* column = scores.data() + i * n;
      for (size_t t = 0; t < n; ++t) column[t] = (l[t * kGarchLanes + up] - l[t * kGarchLanes + up + 1]) / (2.0 * d);
    }
  }
  return GarchStop::kNone;
}

GarchFit fit_garch(const GarchModel& model, const GarchData& data, std::span<double> theta, double damping,
                   const LimitHandler& on_limit, const NonstationaryQuestion& ask_nonstationary) {
  GarchFit fit;
  const int n = data.observations();
  const int m = static_cast<int>(theta.size());
  Maximiser maximiser(model, data, ask_nonstationary);
  const auto fail = [&fit](GarchEnd end, GarchStop stop = GarchStop::kNone) {
    fit.end = end;
    fit.stop = stop;
    return fit;
  };
  if (!maximiser.stationary_or_accepted(theta)) return fail(GarchEnd::kAbandoned);
  Evaluation current = maximiser.evaluate(theta);
  if (current.stop != GarchStop::kNone) return fail(GarchEnd::kLikelihoodFailed, current.stop);

  std::vector<double> scores, inverse, gradient, points, direction(static_cast<size_t>(m)), trial(static_cast<size_t>(m));
  const auto scores_and_inverse = [&]() -> std::optional<GarchFit> {
    const GarchStop stop = garch_scores(model, data, theta, scores);
    if (stop != GarchStop::kNone) return fail(GarchEnd::kLikelihoodFailed, stop);
    for (const double v : scores)
      if (!(std::fabs(v) <= kScoreBound)) return fail(GarchEnd::kScoreOverflow);
    if (!inverse_cross_products(scores, n, m, inverse)) return fail(GarchEnd::kCollinearScores);
    return std::nullopt;
  };

  int limit = kGarchIterationLimit;
  double previous_change = 0.0;  // change of the log-likelihood at the last accepted move
  bool previous_rose = true;
  bool scores_at_estimate = false;
  double c = damping;
  for (int iteration = 1;; ++iteration) {
    fit.iterations = iteration;
    if (auto failed = scores_and_inverse()) return *failed;
    // Direction: (S'S)⁻¹ S'1.
    column_sums(scores, n, m, gradient);
    for (int i = 1; i <= m; ++i) {
      long double sum = 0.0L;
      for (int j = 1; j <= m; ++j)
        sum += static_cast<long double>(inverse[static_cast<size_t>(core::PACKEDINDEX(i, j) - 1)]) *
               gradient[static_cast<size_t>(j - 1)];
      direction[static_cast<size_t>(i - 1)] = static_cast<double>(sum);
    }
    if (iteration > 1) c = previous_rose ? std::min(1.5 * c, kMaxDamping) : std::max(0.5 * c, kMinDamping);

    // The safeguarded move: the first steps one at a time (most moves take one of them),
    // the later halvings, when it comes to them, side by side.
    double scale = c;
    Evaluation next;
    bool moved = false;
    for (int halving = 0; halving <= kHalvings && !moved;) {
      if (halving < kHalvingsOneByOne) {
        for (int i = 0; i < m; ++i)
          trial[static_cast<size_t>(i)] = theta[static_cast<size_t>(i)] + scale * direction[static_cast<size_t>(i)];
        next = maximiser.evaluate(trial);
        moved = next.stop == GarchStop::kNone && next.total >= current.total;
        ++halving;
        scale *= 0.5;
        continue;
      }
      const int count = std::min(kGarchLanes, kHalvings + 1 - halving);
      points.clear();
      for (int k = 0; k < count; ++k, scale *= 0.5)
        for (int i = 0; i < m; ++i)
          points.push_back(theta[static_cast<size_t>(i)] + scale * direction[static_cast<size_t>(i)]);
      const int found = maximiser.first_at_least(points, current.total, next);
      if (found >= 0) {
        const auto from = points.begin() + static_cast<std::ptrdiff_t>(found) * m;
        std::copy(from, from + m, trial.begin());
        moved = true;
      }
      halving += count;
    }
    if (!moved) {
      if (iteration > 1 && std::fabs(previous_change) <= kLikelihoodChange) {
        // The estimate is where this iteration's scores were taken.
        scores_at_estimate = true;
        break;
      }
      return fail(GarchEnd::kNoUphillStep);
    }
    if (!maximiser.stationary_or_accepted(trial)) return fail(GarchEnd::kAbandoned);
    double taken = 0.0;
    for (int i = 0; i < m; ++i) {
      taken += std::fabs(trial[static_cast<size_t>(i)] - theta[static_cast<size_t>(i)]);
      theta[static_cast<size_t>(i)] = trial[static_cast<size_t>(i)];
    }
    previous_change = next.total - current.total;
    previous_rose = next.total >= current.total;
    current = next;
    if ((iteration == 1 || std::fabs(previous_change) <= kLikelihoodChange) && taken < kStepTotal * m) break;
    if (iteration >= limit) {
      bool abandon = false, print = false;
      if (on_limit) on_limit(limit, abandon, print);
      else abandon = true;
      if (abandon) return fail(GarchEnd::kAbandoned);
      if (print) {
        fit.end = GarchEnd::kNotConverged;
        break;
      }
    }
  }
  fit.loglik = current.total;
  const GarchEnd end = fit.end;
  if (auto failed = scores_at_estimate ? std::nullopt : scores_and_inverse()) {
    // Scores that fail at the estimate leave no variance matrix.
    return failed->end == GarchEnd::kCollinearScores ? fail(GarchEnd::kNotPositiveDefinite) : *failed;
  }
  fit.end = end;
  fit.variance = std::move(inverse);
  return fit;
}

}  // namespace qorv::single
