#include "engine/single/lag_windows.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "engine/core/num/matrices.h"

namespace qorv::single {

namespace {

std::size_t at(long i) { return static_cast<std::size_t>(i); }

/// Element (i, j) (from 1) of a packed symmetric matrix.
double packed_at(std::span<const double> a, int i, int j) { return a[at(core::PACKEDINDEX(i, j) - 1)]; }

}  // namespace

double LAGWINDOW(int j, int m, int type) {
  const double c = static_cast<double>(j) / static_cast<double>(m + 1);
  switch (type) {
    case window::kEqual: return 1.0;
    case window::kBartlett: return 1.0 - c;
    case window::kTukey: return (1.0 + std::cos(std::numbers::pi * c)) / 2.0;
    case window::kParzen:
      if (j <= (m + 1) / 2) return 1.0 - 6.0 * c * c + 6.0 * c * c * c;
      return 2.0 * (1.0 - c) * (1.0 - c) * (1.0 - c);
    default: return 0.0;
  }
}

void LAGCROSSPRODUCTS(std::span<const double> columns, int n, int p, std::span<const double> e, int j,
                      std::span<double> out) {
  if (n < 0 || p < 0 || j < 0 || columns.size() < at(long{n} * p) || e.size() < at(n) ||
      out.size() < at(long{p} * (p + 1) / 2))
    throw std::invalid_argument("LAGCROSSPRODUCTS: shapes do not fit");
  const auto x = [&](int i, int s) { return columns[at(long{i - 1} * n + s - 1)]; };
  for (int i = 1; i <= p; ++i) {
    for (int l = 1; l <= i; ++l) {
      long double sum = 0.0L;
      for (int s = 1; s <= n - j; ++s) {
        const long double w = static_cast<long double>(e[at(s + j - 1)]) * e[at(s - 1)];
        sum += w * (static_cast<long double>(x(l, s + j)) * x(i, s) + static_cast<long double>(x(i, s + j)) * x(l, s));
      }
      out[at(core::PACKEDINDEX(i, l) - 1)] = static_cast<double>(j == 0 ? sum / 2.0L : sum);
    }
  }
}

std::vector<double> adjusted_variance(const SandwichInput& in, int option, int m) {
  const int n = in.n, p = in.p, k = in.k;
  const bool mapped = !in.projection.empty();
  if (option < 2 || option > 6 || n <= k || k < 1 || p < 1 || m < 0 || m >= n || (option == 2 && m != 0) ||
      (!mapped && p != k) || (mapped && in.projection.size() < at(long{p} * k)) ||
      in.columns.size() < at(long{n} * p) || in.residuals.size() < at(n) ||
      in.inverse.size() < at(long{k} * (k + 1) / 2))
    return {};

  // S = Σ w_j G_j over the p columns.
  const std::size_t packed_p = at(long{p} * (p + 1) / 2);
  std::vector<double> s(packed_p, 0.0), g(packed_p);
  for (int j = 0; j <= m; ++j) {
    const double w = option == 2 ? 1.0 : LAGWINDOW(j, m, option - 2);
    LAGCROSSPRODUCTS(in.columns, n, p, in.residuals, j, g);
    for (std::size_t i = 0; i < packed_p; ++i) s[i] += w * g[i];
  }

  // Full k × k S in the regressors' space: P'SP when the columns are instruments.
  std::vector<double> full(at(long{k} * k));
  const auto f = [&](int i, int r) -> double& { return full[at(long{r - 1} * k + i - 1)]; };
  if (mapped) {
    const auto proj = [&](int i, int r) { return in.projection[at(long{r - 1} * p + i - 1)]; };
    std::vector<double> sp(at(long{p} * k));  // S·P, p × k
    for (int r = 1; r <= k; ++r)
      for (int i = 1; i <= p; ++i) {
        long double sum = 0.0L;
        for (int l = 1; l <= p; ++l) sum += static_cast<long double>(packed_at(s, i, l)) * proj(l, r);
        sp[at(long{r - 1} * p + i - 1)] = static_cast<double>(sum);
      }
    for (int i = 1; i <= k; ++i)
      for (int r = 1; r <= k; ++r) {
        long double sum = 0.0L;
        for (int l = 1; l <= p; ++l) sum += static_cast<long double>(proj(l, i)) * sp[at(long{r - 1} * p + l - 1)];
        f(i, r) = static_cast<double>(sum);
      }
  } else {
    for (int i = 1; i <= k; ++i)
      for (int r = 1; r <= k; ++r) f(i, r) = packed_at(s, i, r);
  }

  // A = n/(n − k) V S V, packed.
  std::vector<double> vs(at(long{k} * k));  // V·S
  for (int r = 1; r <= k; ++r)
    for (int i = 1; i <= k; ++i) {
      long double sum = 0.0L;
      for (int l = 1; l <= k; ++l) sum += static_cast<long double>(packed_at(in.inverse, i, l)) * f(l, r);
      vs[at(long{r - 1} * k + i - 1)] = static_cast<double>(sum);
    }
  const double factor = static_cast<double>(n) / static_cast<double>(n - k);
  std::vector<double> a(at(long{k} * (k + 1) / 2));
  for (int i = 1; i <= k; ++i)
    for (int r = 1; r <= i; ++r) {
      long double sum = 0.0L;
      for (int l = 1; l <= k; ++l)
        sum += static_cast<long double>(vs[at(long{l - 1} * k + i - 1)]) * packed_at(in.inverse, l, r);
      a[at(core::PACKEDINDEX(i, r) - 1)] = factor * static_cast<double>(sum);
    }
  return a;
}

}  // namespace qorv::single
