#include "engine/core/num/packed_factor.h"

#include <cmath>
#include <vector>

#include "engine/core/num/num_detail.h"
#include "engine/core/num/numerical_state.h"

namespace qorv::core {

namespace {

using num_detail::packed_at;

/// Floor of e/2 for negative e too.
int half_exponent(int e) { return e >= 0 ? e / 2 : -((1 - e) / 2); }

/// Checks the matrix and scales it in place to D·A·D, D = diag(2^-scale[i]). False when an
/// element is not finite or a diagonal is not positive.
bool equilibrate(std::span<double> a, int n, std::vector<int>& scale) {
  if (!num_detail::all_finite(a.first(num_detail::packed_size(n)))) return false;
  scale.assign(static_cast<std::size_t>(n), 0);
  for (int i = 1; i <= n; ++i) {
    const double d = a[packed_at(i, i)];
    if (!(d > 0.0)) return false;
    int e = 0;
    std::frexp(d, &e);
    scale[static_cast<std::size_t>(i - 1)] = half_exponent(e);
  }
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= i; ++j) {
      double& v = a[packed_at(i, j)];
      v = std::ldexp(v, -scale[static_cast<std::size_t>(i - 1)] - scale[static_cast<std::size_t>(j - 1)]);
    }
  return true;
}

/// Factors the (scaled) matrix A = U'U in place, row by row. False when a reduced pivot
/// ratio t = 1 − s/a is below kPivotRatio (or is not a number).
bool factor_in_place(std::span<double> a, int n) {
  double* p = a.data();
  for (long i = 1; i <= n; ++i) {
    const double* col_i = p + packed_at(1, i);  // U(1..i−1, i), contiguous
    const long double s = num_detail::dot(col_i, col_i, static_cast<std::size_t>(i - 1));
    const long double diag = p[packed_at(i, i)];
    const long double t = 1.0L - s / diag;
    if (!(t >= kPivotRatio)) return false;
    const double uii = static_cast<double>(std::sqrt(t * diag));
    p[packed_at(i, i)] = uii;
    for (long j = i + 1; j <= n; ++j) {
      const double* col_j = p + packed_at(1, j);  // U(1..i−1, j), rows above i done
      const long double sj = num_detail::dot(col_i, col_j, static_cast<std::size_t>(i - 1));
      p[packed_at(i, j)] = static_cast<double>((p[packed_at(i, j)] - sj) / uii);
    }
  }
  return true;
}

/// s[q] = Σ_{k = first + q}^{last} x[k]·rows[q][k] for q = 0..3 (0-based k), each in
/// extended precision in ascending k, the four sums proceeding side by side.
void four_sums(const double* x, const double* const rows[4], long first, long last, long double s[4]) {
  for (int q = 0; q < 4; ++q) s[q] = 0;
  for (long k = first; k < first + 3 && k <= last; ++k)  // the ragged start
    for (long q = 0; q <= k - first; ++q) s[q] += static_cast<long double>(x[k]) * rows[q][k];
  for (long k = first + 3; k <= last; ++k) {
    const long double xk = x[k];
    s[0] += xk * rows[0][k];
    s[1] += xk * rows[1][k];
    s[2] += xk * rows[2][k];
    s[3] += xk * rows[3][k];
  }
}

/// Replaces the factor U by V = U⁻¹, column by column, then by A⁻¹ = V·V'. The rows of V
/// are also kept in a full row-major copy, so that every inner product reads contiguous
/// values; four of them proceed side by side (each sum, and its order, is that of the
/// plain loops).
void invert_from_factor(std::span<double> a, int n) {
  double* p = a.data();
  const auto un = static_cast<std::size_t>(n);
  std::vector<double> rows(un * un, 0.0);  // V(j, k) at (j − 1)·n + k − 1
  const auto v = [&](long j, long k) -> double& { return rows[static_cast<std::size_t>((j - 1) * n + k - 1)]; };
  long double s[4];
  for (long i = 1; i <= n; ++i) {
    const double vii = 1.0 / p[packed_at(i, i)];
    const double* u_i = p + packed_at(1, i);  // U(1..i, i), contiguous
    long j = 1;
    for (; j + 3 < i; j += 4) {  // V(j..j+3, i) = −vii·Σ_{k=j+q}^{i−1} V(j+q, k)·U(k, i)
      const double* r[4] = {&v(j, 1), &v(j + 1, 1), &v(j + 2, 1), &v(j + 3, 1)};
      four_sums(u_i, r, j - 1, i - 2, s);
      for (long q = 0; q < 4; ++q) v(j + q, i) = static_cast<double>(-vii * s[q]);
    }
    for (; j < i; ++j) {
      const double* v_j = &v(j, 1);
      long double sum = 0;
      for (long k = j; k < i; ++k) sum += static_cast<long double>(v_j[k - 1]) * u_i[k - 1];
      v(j, i) = static_cast<double>(-vii * sum);
    }
    v(i, i) = vii;
  }
  for (long i = 1; i <= n; ++i) {  // A⁻¹(i, j) = Σ_{k=j}^{n} V(i, k)·V(j, k), j >= i
    const double* v_i = &v(i, 1);
    long j = i;
    for (; j + 3 <= n; j += 4) {
      const double* r[4] = {&v(j, 1), &v(j + 1, 1), &v(j + 2, 1), &v(j + 3, 1)};
      four_sums(v_i, r, j - 1, n - 1, s);
      for (long q = 0; q < 4; ++q) p[packed_at(i, j + q)] = static_cast<double>(s[q]);
    }
    for (; j <= n; ++j) {
      const double* v_j = &v(j, 1);
      long double sum = 0;
      for (long k = j; k <= n; ++k) sum += static_cast<long double>(v_i[k - 1]) * v_j[k - 1];
      p[packed_at(i, j)] = static_cast<double>(sum);
    }
  }
}

int failed() {
  numerical_state().failure = 1;
  return 1;
}

void check_arguments(std::span<double> a, int n, const char* what) {
  num_detail::require(n >= 0 && a.size() >= num_detail::packed_size(n), what);
}

}  // namespace

void INVERTSYMPACKED(std::span<double> a, int n, int& fail) {
  check_arguments(a, n, "INVERTSYMPACKED: negative order or matrix too short");
  fail = 0;
  if (n == 0) return;
  if (n == 1) {
    const double d = a[0];
    if (!(d > 0.0) || !std::isfinite(d) || !std::isfinite(1.0 / d)) {
      fail = failed();
      return;
    }
    a[0] = 1.0 / d;
    return;
  }
  std::vector<int> scale;
  if (!equilibrate(a, n, scale) || !factor_in_place(a, n)) {
    fail = failed();
    return;
  }
  invert_from_factor(a, n);
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= i; ++j) {
      double& v = a[packed_at(i, j)];
      v = std::ldexp(v, -scale[static_cast<std::size_t>(i - 1)] - scale[static_cast<std::size_t>(j - 1)]);
      if (!std::isfinite(v)) {
        fail = failed();
        return;
      }
    }
}

void PACKEDCHOLESKY(std::span<double> a, int n, int& fail) {
  check_arguments(a, n, "PACKEDCHOLESKY: negative order or matrix too short");
  fail = 1;
  if (n == 1) {
    const double d = a[0];
    if (!(d > 0.0) || !std::isfinite(d)) {
      failed();
      return;
    }
    a[0] = std::sqrt(d);
    fail = 0;
    return;
  }
  std::vector<int> scale;
  if (n > 0 && (!equilibrate(a, n, scale) || !factor_in_place(a, n))) {
    failed();
    return;
  }
  // U = U_scaled·D⁻¹: column j of U carries 2^scale[j].
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= j; ++i) {
      double& v = a[packed_at(i, j)];
      v = std::ldexp(v, scale[static_cast<std::size_t>(j - 1)]);
    }
  fail = 0;
}

}  // namespace qorv::core
