#include "engine/single/growing_least_squares.h"

#include <cmath>
#include <stdexcept>

#include "engine/core/num/packed_factor.h"

namespace qorv::single {

namespace {

size_t at(int i) { return static_cast<size_t>(i); }

using Matrix = std::vector<long double>;  // row-major square of order `order`

/// Cholesky factor U (upper, A = U'U) of the symmetric matrix `a` of order `order`, in
/// place; false when a reduced pivot falls below kPivotRatio of its diagonal or a value is
/// not finite.
bool cholesky(Matrix& a, int order) {
  for (int i = 0; i < order; ++i) {
    const long double diagonal = a[at(i * order + i)];
    long double pivot = diagonal;
    for (int r = 0; r < i; ++r) pivot -= a[at(r * order + i)] * a[at(r * order + i)];
    if (!std::isfinite(pivot) || !(diagonal > 0.0L) || pivot < core::kPivotRatio * diagonal) return false;
    const long double u = std::sqrt(pivot);
    a[at(i * order + i)] = u;
    for (int j = i + 1; j < order; ++j) {
      long double v = a[at(i * order + j)];
      for (int r = 0; r < i; ++r) v -= a[at(r * order + i)] * a[at(r * order + j)];
      a[at(i * order + j)] = v / u;
    }
    for (int j = 0; j < i; ++j) a[at(i * order + j)] = 0.0L;
  }
  return true;
}

/// Solves U'v = c in place (forward substitution).
void forward(const Matrix& u, int order, std::span<long double> c) {
  for (int i = 0; i < order; ++i) {
    long double v = c[at(i)];
    for (int r = 0; r < i; ++r) v -= u[at(r * order + i)] * c[at(r)];
    c[at(i)] = v / u[at(i * order + i)];
  }
}

/// Solves U b = v in place (back substitution).
void backward(const Matrix& u, int order, std::span<long double> v) {
  for (int i = order - 1; i >= 0; --i) {
    long double s = v[at(i)];
    for (int j = i + 1; j < order; ++j) s -= u[at(i * order + j)] * v[at(j)];
    v[at(i)] = s / u[at(i * order + i)];
  }
}

}  // namespace

GrowingCrossProducts::GrowingCrossProducts(int k, int l) : k_(k), l_(l), p_(l + k + 1) {
  if (k < 1 || l < 0) throw std::invalid_argument("GrowingCrossProducts: k must be positive and l not negative");
  s_.assign(at(p_) * at(p_), 0.0L);
  row_.assign(at(p_), 0.0L);
}

void GrowingCrossProducts::reset() {
  n_ = 0;
  std::fill(s_.begin(), s_.end(), 0.0L);
}

void GrowingCrossProducts::add(std::span<const double> x, std::span<const double> z, double y) {
  if (x.size() != at(k_) || z.size() != at(l_)) throw std::invalid_argument("GrowingCrossProducts::add: lengths");
  long double* row = row_.data();
  for (int i = 0; i < l_; ++i) row[i] = z[at(i)];
  for (int j = 0; j < k_; ++j) row[l_ + j] = x[at(j)];
  row[p_ - 1] = y;
  for (int i = 0; i < p_; ++i) {
    const long double vi = row[i];
    long double* line = s_.data() + at(i) * at(p_);
    for (int j = i; j < p_; ++j) line[j] += vi * row[j];
  }
  ++n_;
}

void GrowingCrossProducts::assign_packed(std::span<const double> packed, int n) {
  if (packed.size() < at(p_) * at(p_ + 1) / 2)
    throw std::invalid_argument("GrowingCrossProducts::assign_packed: too few values");
  for (int i = 0; i < p_; ++i)
    for (int j = 0; j <= i; ++j) s_[at(j) * at(p_) + at(i)] = packed[at(i) * at(i + 1) / 2 + at(j)];
  n_ = n;
}

long double StepEstimate::variance_factor(std::span<const double> x) const {
  const int k = static_cast<int>(coef.size());
  std::vector<long double> v(x.begin(), x.end());
  forward(factor, k, v);
  long double f = 0.0L;
  for (const long double e : v) f += e * e;
  return f;
}

long double StepEstimate::predict(std::span<const double> x) const {
  long double s = 0.0L;
  for (size_t j = 0; j < coef.size(); ++j) s += x[j] * coef[j];
  return s;
}

StepEstimate solve(const GrowingCrossProducts& cp, bool with_inverse) {
  StepEstimate out;
  const int k = cp.k(), l = cp.l(), n = cp.observations();
  out.n = n;
  if (n < k || n < l || (l > 0 && l < k)) return out;
  const auto sym = [&cp](int i, int j) { return i <= j ? cp.element(i, j) : cp.element(j, i); };
  const int yi = l + k;
  Matrix a(at(k) * at(k));
  std::vector<long double> c(at(k));
  if (l == 0) {
    for (int i = 0; i < k; ++i) {
      for (int j = 0; j < k; ++j) a[at(i * k + j)] = sym(i, j);
      c[at(i)] = sym(i, yi);
    }
  } else {
    // Q = V^-T Z'X and q = V^-T Z'y with V'V = Z'Z; then X̂'X̂ = Q'Q and X̂'y = Q'q.
    Matrix g(at(l) * at(l));
    for (int i = 0; i < l; ++i)
      for (int j = 0; j < l; ++j) g[at(i * l + j)] = sym(i, j);
    if (!cholesky(g, l)) return out;
    std::vector<long double> q(at(l) * at(k + 1)), col(at(l));
    for (int j = 0; j <= k; ++j) {
      for (int i = 0; i < l; ++i) col[at(i)] = sym(i, l + j);
      forward(g, l, col);
      for (int i = 0; i < l; ++i) q[at(j * l + i)] = col[at(i)];
    }
    for (int i = 0; i < k; ++i) {
      for (int j = i; j <= k; ++j) {
        long double s = 0.0L;
        for (int r = 0; r < l; ++r) s += q[at(i * l + r)] * q[at(j * l + r)];
        if (j < k) a[at(i * k + j)] = a[at(j * k + i)] = s;
        else c[at(i)] = s;
      }
    }
  }
  if (!cholesky(a, k)) return out;
  std::vector<long double> b = c;
  forward(a, k, b);
  long double rss = 0.0L;
  if (l == 0) {
    rss = sym(yi, yi);
    for (const long double z : b) rss -= z * z;
  }
  backward(a, k, b);
  if (l > 0) {
    // y'y − 2 b'X'y + b'X'X b
    rss = sym(yi, yi);
    for (int i = 0; i < k; ++i) {
      long double xb = 0.0L;
      for (int j = 0; j < k; ++j) xb += sym(l + i, l + j) * b[at(j)];
      rss += b[at(i)] * (xb - 2.0L * sym(l + i, yi));
    }
  }
  for (const long double v : b)
    if (!std::isfinite(v)) return out;
  out.rss = static_cast<double>(std::max(rss, 0.0L));
  out.b.assign(b.begin(), b.end());
  out.coef = std::move(b);
  if (with_inverse) {
    // diag((U'U)⁻¹) = row sums of squares of U⁻¹, U⁻¹ built column by column.
    out.inverse_diag.assign(at(k), 0.0);
    std::vector<long double> sums(at(k), 0.0L), e(at(k));
    for (int j = 0; j < k; ++j) {
      // column j of U⁻¹ (upper): U e = unit vector j, over rows j down to 0.
      for (int i = j; i >= 0; --i) {
        long double s = i == j ? 1.0L : 0.0L;
        for (int r = i + 1; r <= j; ++r) s -= a[at(i * k + r)] * e[at(r)];
        e[at(i)] = s / a[at(i * k + i)];
        sums[at(i)] += e[at(i)] * e[at(i)];
      }
    }
    for (int i = 0; i < k; ++i) out.inverse_diag[at(i)] = static_cast<double>(sums[at(i)]);
  }
  out.factor = std::move(a);
  out.fail = 0;
  return out;
}

}  // namespace qorv::single
