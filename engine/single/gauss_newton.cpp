#include "engine/single/gauss_newton.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/core/num/packed_least_squares.h"
#include "engine/single/iteration_limit.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

using Index = std::size_t;

bool all_present(std::span<const double> values) {
  return std::none_of(values.begin(), values.end(),
                      [](double v) { return v == limits::kMissing || !std::isfinite(v); });
}

/// The iteration's arrays, sized once.
struct Work {
  int n = 0, m = 0, l = 0;
  std::vector<double> fitted, plus, minus, residuals, jacobian, projected, step, fit, scratch, inverse,
      instrument_inverse;
  std::vector<int> columns;             // 0, 1..m: regressors of the step regression
  std::vector<int> instrument_columns;  // 0, 1..l
};

/// The derivative columns at theta (theta is restored on return).
NonLinearStatus derivatives(const NonLinearProblem& p, std::vector<double>& theta, Work& w) {
  const auto n = static_cast<Index>(w.n);
  for (int i = 0; i < w.m; ++i) {
    const auto at = static_cast<Index>(i);
    const double value = theta[at], d = derivative_step(value);
    theta[at] = value + d;
    const bool up = p.model(theta, w.plus) && all_present(w.plus);
    theta[at] = value - d;
    const bool down = up && p.model(theta, w.minus) && all_present(w.minus);
    theta[at] = value;
    if (!down) return NonLinearStatus::kMissingValue;
    double* column = w.jacobian.data() + at * n;
    for (Index t = 0; t < n; ++t) {
      column[t] = (w.plus[t] - w.minus[t]) / (2.0 * d);
      if (!(std::fabs(column[t]) <= kLargestDerivative)) return NonLinearStatus::kDerivativeTooLarge;
    }
  }
  return NonLinearStatus::kConverged;
}

/// Regresses the residuals on the derivatives (projected on the instruments when there are
/// any): `step` and `inverse`. False when a cross-product matrix is singular.
bool regress(const NonLinearProblem& p, Work& w) {
  double rss = 0.0;
  int fail = 0;
  std::span<const double> regressors = w.jacobian;
  if (w.l > 0) {
    const auto n = static_cast<Index>(w.n);
    for (int i = 0; i < w.m; ++i) {
      const auto column = std::span<const double>(w.jacobian).subspan(static_cast<Index>(i) * n, n);
      std::vector<double> coefficients(static_cast<Index>(w.l));
      core::PACKEDXTXSOLVE(p.instruments, 0, column, w.instrument_columns, w.l, w.n, w.n, 0,
                           i == 0 ? 0 : core::kSolveReuseInverse, coefficients, w.fit, w.scratch, rss,
                           w.instrument_inverse, fail);
      if (fail != 0) return false;
      std::copy(w.fit.begin(), w.fit.end(), w.projected.begin() + static_cast<long>(static_cast<Index>(i) * n));
    }
    regressors = w.projected;
  }
  core::PACKEDXTXSOLVE(regressors, 0, w.residuals, w.columns, w.m, w.n, w.n, 0, 0, w.step, w.fit, w.scratch, rss,
                       w.inverse, fail);
  return fail == 0;
}

/// Evaluates the model at theta into w.fitted and the residuals; false on a missing value.
bool evaluate(const NonLinearProblem& p, std::span<const double> theta, Work& w) {
  if (!p.model(theta, w.fitted) || !all_present(w.fitted)) return false;
  for (Index t = 0; t < w.fitted.size(); ++t) w.residuals[t] = p.y[t] - w.fitted[t];
  return true;
}

}  // namespace

double derivative_step(double theta) { return theta == 0.0 ? 0.0001 : 0.001 * std::fabs(theta); }

NonLinearFit GAUSSNEWTON(const NonLinearProblem& p, std::span<const double> start) {
  NonLinearFit out;
  Work w;
  w.n = static_cast<int>(p.y.size());
  w.m = static_cast<int>(start.size());
  w.l = p.l;
  const auto n = static_cast<Index>(w.n), m = static_cast<Index>(w.m), l = static_cast<Index>(std::max(w.l, 0));
  if (w.m < 1 || w.n <= w.m || !p.model || w.l < 0 || p.instruments.size() != n * l || (w.l > 0 && w.l < w.m))
    return out;
  w.fitted.resize(n);
  w.plus.resize(n);
  w.minus.resize(n);
  w.residuals.resize(n);
  w.jacobian.resize(n * m);
  w.projected.resize(w.l > 0 ? n * m : 0);
  w.step.resize(m);
  w.fit.resize(n);
  w.scratch.resize(std::max({n, m, l}));
  w.inverse.resize(m * (m + 1) / 2);
  w.instrument_inverse.resize(l * (l + 1) / 2);
  for (int j = 0; j <= w.m; ++j) w.columns.push_back(j);
  for (int j = 0; j <= w.l; ++j) w.instrument_columns.push_back(j);

  std::vector<double> theta(start.begin(), start.end());
  const double tolerance = 0.00001 * w.m;
  int limit = kGaussNewtonLimit;
  out.status = NonLinearStatus::kConverged;
  if (!evaluate(p, theta, w)) {
    out.status = NonLinearStatus::kMissingValue;
    return out;
  }
  while (true) {
    if (out.iterations >= limit) {
      bool abandon = false, print = false;
      ITERATIONLIMIT(limit, p.ask_at_limit, abandon, print);
      if (abandon) {
        out.status = NonLinearStatus::kAbandoned;
        return out;
      }
      if (print) {
        out.status = NonLinearStatus::kNotConverged;
        break;
      }
    }
    if (const NonLinearStatus s = derivatives(p, theta, w); s != NonLinearStatus::kConverged) {
      out.status = s;
      return out;
    }
    if (!regress(p, w)) {
      out.status = NonLinearStatus::kSingular;
      return out;
    }
    double moved = 0.0;
    for (Index i = 0; i < m; ++i) {
      theta[i] += w.step[i];
      moved += std::fabs(w.step[i]);
    }
    ++out.iterations;
    if (!evaluate(p, theta, w)) {
      out.status = NonLinearStatus::kMissingValue;
      return out;
    }
    if (moved < tolerance) break;
  }

  // The estimates: fitted values, derivatives and inverse cross products at the final θ.
  if (!evaluate(p, theta, w)) {
    out.status = NonLinearStatus::kMissingAtEnd;
    return out;
  }
  if (const NonLinearStatus s = derivatives(p, theta, w); s != NonLinearStatus::kConverged) {
    out.status = s == NonLinearStatus::kMissingValue ? NonLinearStatus::kMissingAtEnd : s;
    return out;
  }
  if (!regress(p, w)) {
    out.status = NonLinearStatus::kSingular;
    return out;
  }
  long double rss = 0.0L;
  for (double e : w.residuals) rss += static_cast<long double>(e) * e;
  out.rss = static_cast<double>(rss);
  out.theta = std::move(theta);
  out.fitted = std::move(w.fitted);
  out.jacobian = std::move(w.jacobian);
  out.inverse = std::move(w.inverse);
  return out;
}

}  // namespace qorv::single
