#include "engine/multi/sure_model.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/core/num/matrices.h"
#include "engine/core/workspace.h"

namespace qorv::multi {

namespace {

constexpr double kConvergence = 1e-5;  // per coefficient of an equation

/// 0-based index of element (i, j), both from 0, of a packed symmetric matrix.
std::size_t packed(int i, int j) { return static_cast<std::size_t>(core::PACKEDINDEX(i + 1, j + 1) - 1); }

/// The moments of the predetermined variables and the dependent variables over the
/// sample, and where each equation's regressors stand among the predetermined ones.
struct Moments {
  int K = 0;
  std::vector<double> xx;               ///< packed K × K
  std::vector<double> xy;               ///< K × m column-major
  std::vector<std::vector<int>> where;  ///< per equation, regressor positions (from 0) in X
};

/// Sample column of variable `v`.
const double* column(const DataView& data, const SureLayout& layout, int v) {
  if (v < 1 || layout.first < 1 || layout.first + layout.n - 1 > data.nobs)
    throw std::invalid_argument("SURE: sample or variable outside the data");
  const std::size_t at = static_cast<std::size_t>(v - 1) * static_cast<std::size_t>(data.nobs) +
                         static_cast<std::size_t>(layout.first - 1);
  if (at + static_cast<std::size_t>(layout.n) > data.values.size())
    throw std::invalid_argument("SURE: variable outside the data");
  return data.values.data() + at;
}

Moments moments(const DataView& data, const SureLayout& layout, const std::vector<int>& predetermined) {
  Moments mo;
  mo.K = static_cast<int>(predetermined.size());
  std::vector<const double*> xs, ys;
  for (int v : predetermined) xs.push_back(column(data, layout, v));
  for (const auto& eq : layout.equations) ys.push_back(column(data, layout, eq.front()));
  mo.xx.assign(static_cast<std::size_t>(mo.K * (mo.K + 1) / 2), 0.0);
  core::symmetric_cross_products(xs, static_cast<std::size_t>(layout.n), mo.xx);
  mo.xy.assign(static_cast<std::size_t>(mo.K * layout.m()), 0.0);
  core::cross_products(xs, ys, static_cast<std::size_t>(layout.n), mo.xy);
  for (const auto& eq : layout.equations) {
    std::vector<int> where;
    for (std::size_t j = 1; j < eq.size(); ++j)
      where.push_back(static_cast<int>(std::find(predetermined.begin(), predetermined.end(), eq[j]) -
                                       predetermined.begin()));
    mo.where.push_back(std::move(where));
  }
  return mo;
}

/// A = Z'(S⁻¹ ⊗ I)Z (packed p × p) and c = Z'(S⁻¹ ⊗ I)w for the inverse error covariance
/// `sinv` (packed m × m).
void normal_equations(const Moments& mo, const SureLayout& layout, std::span<const double> sinv,
                      std::vector<double>& A, std::vector<double>& c) {
  const int m = layout.m();
  const int p = layout.p();
  A.assign(static_cast<std::size_t>(p * (p + 1) / 2), 0.0);
  c.assign(static_cast<std::size_t>(p), 0.0);
  int row = 0;
  for (int i = 0; i < m; ++i) {
    const auto& wi = mo.where[static_cast<std::size_t>(i)];
    for (std::size_t a = 0; a < wi.size(); ++a, ++row) {
      long double sum = 0.0L;
      for (int j = 0; j < m; ++j)
        sum += static_cast<long double>(sinv[packed(i, j)]) *
               mo.xy[static_cast<std::size_t>(wi[a] + j * mo.K)];
      c[static_cast<std::size_t>(row)] = static_cast<double>(sum);
      int col = 0;
      for (int j = 0; j <= i; ++j) {
        const auto& wj = mo.where[static_cast<std::size_t>(j)];
        const double s = sinv[packed(i, j)];
        for (std::size_t d = 0; d < wj.size(); ++d, ++col) {
          if (col > row) break;
          A[packed(row, col)] = s * mo.xx[packed(wi[a], wj[d])];
        }
      }
    }
  }
}

/// y = A x for packed A of order p.
std::vector<double> packed_times(std::span<const double> A, int p, std::span<const double> x) {
  std::vector<double> y(static_cast<std::size_t>(p));
  for (int i = 0; i < p; ++i) {
    long double sum = 0.0L;
    for (int j = 0; j < p; ++j) sum += static_cast<long double>(A[packed(i, j)]) * x[static_cast<std::size_t>(j)];
    y[static_cast<std::size_t>(i)] = static_cast<double>(sum);
  }
  return y;
}

/// Unrestricted solution of A b = c: the inverse of A in `variance`, b refined once.
bool solve(std::vector<double> A, std::span<const double> c, int p, std::vector<double>& b,
           std::vector<double>& variance) {
  variance = A;
  int fail = 0;
  core::INVERTSYMPACKED(variance, p, fail);
  if (fail != 0) return false;
  b = packed_times(variance, p, c);
  const std::vector<double> Ab = packed_times(A, p, b);
  std::vector<double> r(static_cast<std::size_t>(p));
  for (int i = 0; i < p; ++i) r[static_cast<std::size_t>(i)] = c[static_cast<std::size_t>(i)] - Ab[static_cast<std::size_t>(i)];
  const std::vector<double> step = packed_times(variance, p, r);
  for (int i = 0; i < p; ++i) b[static_cast<std::size_t>(i)] += step[static_cast<std::size_t>(i)];
  return std::all_of(b.begin(), b.end(), [](double x) { return std::isfinite(x); });
}

/// One pass: residuals at `b`, the error covariance E'E/n, the log-likelihood, and the
/// solution with the inverse of that covariance.
struct Pass {
  std::vector<double> sigma;
  double loglik = 0.0;
  std::vector<double> b;
  std::vector<double> variance;
};

std::vector<double> residuals(const DataView& data, const SureLayout& layout, std::span<const double> b) {
  const int n = layout.n;
  std::vector<double> e(static_cast<std::size_t>(n * layout.m()));
  int at = 0;
  for (int i = 0; i < layout.m(); ++i) {
    const auto& eq = layout.equations[static_cast<std::size_t>(i)];
    const double* y = column(data, layout, eq.front());
    std::vector<const double*> xs;
    for (std::size_t j = 1; j < eq.size(); ++j) xs.push_back(column(data, layout, eq[j]));
    for (int t = 0; t < n; ++t) {
      long double fit = 0.0L;
      for (std::size_t j = 0; j < xs.size(); ++j)
        fit += static_cast<long double>(xs[j][t]) * b[static_cast<std::size_t>(at) + j];
      e[static_cast<std::size_t>(t + i * n)] = static_cast<double>(y[t] - fit);
    }
    at += static_cast<int>(xs.size());
  }
  return e;
}

}  // namespace

int SureLayout::p() const {
  int p = 0;
  for (int i = 0; i < m(); ++i) p += k(i);
  return p;
}

double SureFit::coefficient(int i, int j) const { return b[static_cast<std::size_t>(offset(i) + j)]; }

int SureFit::offset(int i) const {
  int at = 0;
  for (int e = 0; e < i; ++e) at += layout.k(e);
  return at;
}

std::vector<int> predetermined_variables(const SureLayout& layout) {
  std::vector<int> dependents, out;
  for (const auto& eq : layout.equations) dependents.push_back(eq.front());
  for (const auto& eq : layout.equations)
    for (std::size_t j = 1; j < eq.size(); ++j)
      if (std::find(dependents.begin(), dependents.end(), eq[j]) == dependents.end() &&
          std::find(out.begin(), out.end(), eq[j]) == out.end())
        out.push_back(eq[j]);
  return out;
}

bool LINRESTRICT(const SureRestrictions& restrictions, int p, std::span<const double> A, std::span<const double> c,
                 std::vector<double>& b, std::vector<double>& variance) {
  const int q = restrictions.q;
  const int f = p - q;
  if (q < 1 || f < 0 || restrictions.R.size() < static_cast<std::size_t>(q * p) ||
      restrictions.r.size() < static_cast<std::size_t>(q) || restrictions.N.size() < static_cast<std::size_t>(p * f))
    throw std::invalid_argument("LINRESTRICT: restrictions shorter than stated");
  const auto R = [&](int i, int j) { return restrictions.R[static_cast<std::size_t>(i + j * q)]; };
  const auto N = [&](int i, int j) { return restrictions.N[static_cast<std::size_t>(i + j * p)]; };
  // b0 = R'(RR')⁻¹ r.
  std::vector<double> rr(static_cast<std::size_t>(q * (q + 1) / 2));
  for (int i = 0; i < q; ++i)
    for (int j = 0; j <= i; ++j) {
      long double sum = 0.0L;
      for (int k = 0; k < p; ++k) sum += static_cast<long double>(R(i, k)) * R(j, k);
      rr[packed(i, j)] = static_cast<double>(sum);
    }
  int fail = 0;
  core::INVERTSYMPACKED(rr, q, fail);
  if (fail != 0) return false;
  std::vector<double> lambda(static_cast<std::size_t>(q));
  for (int i = 0; i < q; ++i) {
    long double sum = 0.0L;
    for (int j = 0; j < q; ++j) sum += static_cast<long double>(rr[packed(i, j)]) * restrictions.r[static_cast<std::size_t>(j)];
    lambda[static_cast<std::size_t>(i)] = static_cast<double>(sum);
  }
  std::vector<double> b0(static_cast<std::size_t>(p));
  for (int k = 0; k < p; ++k) {
    long double sum = 0.0L;
    for (int i = 0; i < q; ++i) sum += static_cast<long double>(R(i, k)) * lambda[static_cast<std::size_t>(i)];
    b0[static_cast<std::size_t>(k)] = static_cast<double>(sum);
  }
  // N'AN and N'(c − A b0).
  std::vector<double> AN(static_cast<std::size_t>(p * f));
  for (int j = 0; j < f; ++j)
    for (int i = 0; i < p; ++i) {
      long double sum = 0.0L;
      for (int k = 0; k < p; ++k) sum += static_cast<long double>(A[packed(i, k)]) * N(k, j);
      AN[static_cast<std::size_t>(i + j * p)] = static_cast<double>(sum);
    }
  std::vector<double> nan(static_cast<std::size_t>(f * (f + 1) / 2));
  for (int i = 0; i < f; ++i)
    for (int j = 0; j <= i; ++j) {
      long double sum = 0.0L;
      for (int k = 0; k < p; ++k) sum += static_cast<long double>(N(k, i)) * AN[static_cast<std::size_t>(k + j * p)];
      nan[packed(i, j)] = static_cast<double>(sum);
    }
  const std::vector<double> Ab0 = packed_times(A, p, b0);
  std::vector<double> g(static_cast<std::size_t>(f));
  for (int j = 0; j < f; ++j) {
    long double sum = 0.0L;
    for (int k = 0; k < p; ++k)
      sum += static_cast<long double>(N(k, j)) * (c[static_cast<std::size_t>(k)] - Ab0[static_cast<std::size_t>(k)]);
    g[static_cast<std::size_t>(j)] = static_cast<double>(sum);
  }
  if (f > 0) {
    core::INVERTSYMPACKED(nan, f, fail);
    if (fail != 0) return false;
  }
  const std::vector<double> phi = f > 0 ? packed_times(nan, f, g) : std::vector<double>{};
  b = b0;
  for (int k = 0; k < p; ++k) {
    long double sum = b0[static_cast<std::size_t>(k)];
    for (int j = 0; j < f; ++j) sum += static_cast<long double>(N(k, j)) * phi[static_cast<std::size_t>(j)];
    b[static_cast<std::size_t>(k)] = static_cast<double>(sum);
  }
  // N (N'AN)⁻¹ N'.
  std::vector<double> NV(static_cast<std::size_t>(p * f));
  for (int i = 0; i < p; ++i)
    for (int j = 0; j < f; ++j) {
      long double sum = 0.0L;
      for (int k = 0; k < f; ++k) sum += static_cast<long double>(N(i, k)) * nan[packed(k, j)];
      NV[static_cast<std::size_t>(i + j * p)] = static_cast<double>(sum);
    }
  variance.assign(static_cast<std::size_t>(p * (p + 1) / 2), 0.0);
  for (int i = 0; i < p; ++i)
    for (int j = 0; j <= i; ++j) {
      long double sum = 0.0L;
      for (int k = 0; k < f; ++k) sum += static_cast<long double>(NV[static_cast<std::size_t>(i + k * p)]) * N(j, k);
      variance[packed(i, j)] = static_cast<double>(sum);
    }
  return std::all_of(b.begin(), b.end(), [](double x) { return std::isfinite(x); });
}

RestrictionBlocks restriction_blocks(const SureRestrictions& restrictions, std::span<const int> block_sizes) {
  RestrictionBlocks out;
  out.own.assign(block_sizes.size(), 0);
  const int q = restrictions.q;
  for (int row = 0; row < q; ++row) {
    int block = -1;
    bool spans = false;
    int start = 0;
    for (std::size_t i = 0; i < block_sizes.size(); ++i) {
      for (int j = start; j < start + block_sizes[i]; ++j)
        if (restrictions.R[static_cast<std::size_t>(row + j * q)] != 0.0) {
          if (block >= 0 && block != static_cast<int>(i)) spans = true;
          block = static_cast<int>(i);
        }
      start += block_sizes[i];
    }
    if (spans) {
      out.cross = true;
      break;
    }
    if (block >= 0) ++out.own[static_cast<std::size_t>(block)];
  }
  return out;
}

SureStatus fit_sure(const DataView& data, const SureLayout& layout, const SureRestrictions& restrictions,
                    const SureLimitHandler& at_limit, SureFit& fit) {
  const int m = layout.m();
  const int p = layout.p();
  const int n = layout.n;
  fit = SureFit{};
  fit.layout = layout;
  fit.predetermined = predetermined_variables(layout);
  fit.q = restrictions.q;
  const Moments mo = moments(data, layout, fit.predetermined);
  {
    std::vector<double> inverse = mo.xx;
    int fail = 0;
    core::INVERTSYMPACKED(inverse, mo.K, fail);
    if (fail != 0) return SureStatus::kCollinearPredetermined;
  }
  const auto solution = [&](std::span<const double> sinv, std::vector<double>& b, std::vector<double>& variance) {
    std::vector<double> A, c;
    normal_equations(mo, layout, sinv, A, c);
    return restrictions.q > 0 ? LINRESTRICT(restrictions, p, A, c, b, variance) : solve(A, c, p, b, variance);
  };
  const auto pass = [&](std::span<const double> b, Pass& out) {
    const std::vector<double> e = residuals(data, layout, b);
    out.sigma.assign(static_cast<std::size_t>(m * (m + 1) / 2), 0.0);
    for (int i = 0; i < m; ++i)
      for (int j = 0; j <= i; ++j) {
        long double sum = 0.0L;
        for (int t = 0; t < n; ++t)
          sum += static_cast<long double>(e[static_cast<std::size_t>(t + i * n)]) * e[static_cast<std::size_t>(t + j * n)];
        out.sigma[packed(i, j)] = static_cast<double>(sum / n);
      }
    std::vector<double> work = out.sigma;
    int fail = 0;
    out.loglik = core::LOGDETERMINANT(work, m, n, limits::kMissing, fail);
    if (fail != 0) return SureStatus::kNoLikelihood;
    std::vector<double> sinv = out.sigma;
    core::INVERTSYMPACKED(sinv, m, fail);
    if (fail != 0) return SureStatus::kSingularCovariance;
    return solution(sinv, out.b, out.variance) ? SureStatus::kOk : SureStatus::kSolveFailed;
  };
  std::vector<double> identity(static_cast<std::size_t>(m * (m + 1) / 2), 0.0);
  for (int i = 0; i < m; ++i) identity[packed(i, i)] = 1.0;
  std::vector<double> previous, start_variance;
  if (!solution(identity, previous, start_variance)) return SureStatus::kStartFailed;

  const auto converged = [&](std::span<const double> before, std::span<const double> after) {
    int at = 0;
    for (int i = 0; i < m; ++i) {
      double change = 0.0;
      for (int j = 0; j < layout.k(i); ++j, ++at)
        change += std::fabs(after[static_cast<std::size_t>(at)] - before[static_cast<std::size_t>(at)]);
      if (change > layout.k(i) * kConvergence) return false;
    }
    return true;
  };
  int limit = kSureIterationLimit;
  Pass current;
  bool have_pass = false;
  while (true) {
    if (fit.iterations == limit) {
      bool abandon = false, print = false;
      if (at_limit) at_limit(limit, abandon, print);
      else abandon = true;
      if (abandon) return SureStatus::kAbandoned;
      if (print && have_pass) break;
      if (fit.iterations >= limit) return SureStatus::kAbandoned;
    }
    ++fit.iterations;
    if (const SureStatus s = pass(previous, current); s != SureStatus::kOk) return s;
    have_pass = true;
    if (converged(previous, current.b)) {
      fit.converged = true;
      if (const SureStatus s = pass(current.b, current); s != SureStatus::kOk) return s;
      break;
    }
    previous = current.b;
  }
  fit.b = std::move(current.b);
  fit.sigma_ml = current.sigma;
  fit.loglik = current.loglik;

  std::vector<int> sizes;
  for (int i = 0; i < m; ++i) sizes.push_back(layout.k(i));
  fit.blocks = restrictions.q > 0 ? restriction_blocks(restrictions, sizes) : RestrictionBlocks{std::vector<int>(sizes.size(), 0), false};
  std::vector<double> f(static_cast<std::size_t>(m));
  for (int i = 0; i < m; ++i) f[static_cast<std::size_t>(i)] = layout.k(i) - fit.blocks.own[static_cast<std::size_t>(i)];
  const auto factor = [&](int i, int j) {
    if (fit.blocks.cross) return 1.0;
    return n / std::sqrt((n - f[static_cast<std::size_t>(i)]) * (n - f[static_cast<std::size_t>(j)]));
  };
  fit.sigma = current.sigma;
  for (int i = 0; i < m; ++i)
    for (int j = 0; j <= i; ++j) fit.sigma[packed(i, j)] *= factor(i, j);
  fit.variance = std::move(current.variance);
  std::vector<int> owner;
  for (int i = 0; i < m; ++i) owner.insert(owner.end(), static_cast<std::size_t>(layout.k(i)), i);
  for (int a = 0; a < p; ++a)
    for (int c = 0; c <= a; ++c)
      fit.variance[packed(a, c)] *= factor(owner[static_cast<std::size_t>(a)], owner[static_cast<std::size_t>(c)]);
  return SureStatus::kOk;
}

std::vector<double> sure_predictions(const DataView& data, const SureFit& fit, std::span<const ForecastSource> sources,
                                     int h) {
  const SureLayout& layout = fit.layout;
  const int m = layout.m();
  const int n = layout.n;
  const int rows = n + h;
  if (layout.first + rows - 1 > data.nobs) throw std::invalid_argument("SURE: forecasts past the data");
  if (sources.size() != static_cast<std::size_t>(layout.p())) throw std::invalid_argument("SURE: one source per regressor");
  std::vector<double> out(static_cast<std::size_t>(rows * m), 0.0);
  for (int t = 0; t < rows; ++t) {
    const int obs = layout.first + t;
    int at = 0;
    for (int i = 0; i < m; ++i) {
      const auto& eq = layout.equations[static_cast<std::size_t>(i)];
      long double sum = 0.0L;
      bool missing = false;
      for (std::size_t j = 1; j < eq.size(); ++j, ++at) {
        const ForecastSource& s = sources[static_cast<std::size_t>(at)];
        double x = 0.0;
        if (s.equation >= 0 && t >= n && t - s.lag >= n)
          x = out[static_cast<std::size_t>(t - s.lag + s.equation * rows)];
        else
          x = data.at(obs, eq[j]);
        if (x == limits::kMissing) missing = true;
        sum += static_cast<long double>(x) * fit.b[static_cast<std::size_t>(at)];
      }
      out[static_cast<std::size_t>(t + i * rows)] = missing ? limits::kMissing : static_cast<double>(sum);
    }
  }
  return out;
}

}  // namespace qorv::multi
