#include "engine/core/num/packed_least_squares.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/num/compensated_sums.h"
#include "engine/core/num/cross_products.h"
#include "engine/core/num/num_detail.h"
#include "engine/core/num/numerical_state.h"
#include "engine/core/num/packed_factor.h"

namespace qorv::core {

namespace {

using num_detail::packed_at;
using num_detail::require;

/// Columns of n observations, one pointer per regressor.
using Columns = std::vector<const double*>;

/// The k regressor columns of n observations, each checked against the data array.
Columns regressor_columns(std::span<const double> data, std::span<const int> list, int k, int ld,
                          long offset, int n) {
  Columns cols;
  cols.reserve(static_cast<std::size_t>(std::max(k, 0)));
  for (int j = 1; j <= k; ++j) cols.push_back(num_detail::regressor_column(data, list, j, ld, offset, n).data());
  return cols;
}

/// v(j) = Σ_t left_j(t)·z(t) for the k columns of `left`, in extended precision: these
/// sums of the refinement step decide the estimates' last digits. (Compensated double
/// sums there, though closer to the exact sums, cost Wampler4 0.2 of its digits through the
/// inverse; in the first estimate, which the refinement corrects, they cost none.)
void products_with(const Columns& left, const double* z, int n, std::span<double> v) {
  for (std::size_t j = 0; j < left.size(); ++j)
    v[j] = static_cast<double>(num_detail::dot(left[j], z, static_cast<std::size_t>(n)));
}

/// b = M·v (M packed of order k), each element summed in extended precision.
void packed_times(std::span<const double> M, std::span<const double> v, int k, std::span<double> b) {
  for (long i = 1; i <= k; ++i) {
    long double s = 0;
    for (long j = 1; j <= k; ++j) s += static_cast<long double>(M[packed_at(i, j)]) * v[static_cast<std::size_t>(j - 1)];
    b[static_cast<std::size_t>(i - 1)] = static_cast<double>(s);
  }
}

/// fitted = X·b and work = y − X·b, both from one compensated sum per observation over the
/// columns in order.
void fit_and_residuals(const Columns& x, std::span<const double> b, std::span<const double> y,
                       int n, std::span<double> fitted, std::span<double> work) {
  compensated_fit(x, b.first(x.size()), y.data(), static_cast<std::size_t>(n), fitted.data(), work.data());
}

/// How the sums L'z of a fit are formed. A fit: compensated sums for the first estimate,
/// extended-precision ones for the refinement step. An auxiliary regression (whose
/// statistics do not hang on the estimates' last digits): plain fused sums for the first
/// estimate, compensated ones for the refinement step, and the refined residuals by
/// subtracting X·step from the first ones. All but the extended sums run in the vector
/// units.
enum class Sums { kFit, kAuxiliary };

/// b = M·L'y, refined once by b += M·L'(y − X·b), then fitted = X·b and work = y − X·b.
/// L is X itself for least squares and W for the GLS-type fit. The refinement step makes
/// the estimates and residuals accurate to the data's precision on ordinary data, where the
/// inverse alone loses the digits that the condition of L'X costs.
void solve(const Columns& left, const Columns& x, std::span<const double> M,
           std::span<const double> y, int n, int k, std::span<double> b, std::span<double> fitted,
           std::span<double> work, Sums sums = Sums::kFit) {
  const auto uk = static_cast<std::size_t>(k);
  const auto un = static_cast<std::size_t>(n);
  std::vector<double> rhs(uk), step(uk);
  if (sums == Sums::kAuxiliary) fused_products(left, y.data(), un, rhs);
  else compensated_products(left, y.data(), un, rhs);
  packed_times(M, rhs, k, b);
  fit_and_residuals(x, b, y, n, fitted, work);
  if (sums == Sums::kAuxiliary) compensated_products(left, work.data(), un, rhs);
  else products_with(left, work.data(), n, rhs);
  packed_times(M, rhs, k, step);
  for (std::size_t i = 0; i < uk; ++i) b[i] += step[i];
  if (sums == Sums::kAuxiliary) {
    // The step is small against b: y − X·b − X·step, with the step's products rounded,
    // keeps the residuals to their last bits or so; the fitted values are not wanted.
    subtract_products(x, step, un, work.data());
    return;
  }
  fit_and_residuals(x, b, y, n, fitted, work);
}

bool finite_results(std::span<const double> b, double extra) {
  return num_detail::all_finite(b) && std::isfinite(extra);
}

void check_sizes(int k, int n, std::span<const double> y, std::span<double> b,
                 std::span<double> fitted, std::span<double> work, const char* what) {
  const auto uk = static_cast<std::size_t>(k);
  const auto un = static_cast<std::size_t>(n);
  require(y.size() >= un && b.size() >= uk && fitted.size() >= un && work.size() >= std::max(uk, un),
          what);
  const auto y_used = y.first(un);
  require(!num_detail::overlap(y_used, fitted.first(un)) && !num_detail::overlap(y_used, work.first(std::max(uk, un))),
          "y must not share storage with the fitted values or the work vector");
}

}  // namespace

void PACKEDXTXSOLVE(std::span<const double> data, long offset1, std::span<const double> y,
                    std::span<const int> list, int k, int n, int ld, long offset2, int mode,
                    std::span<double> b, std::span<double> fitted, std::span<double> work,
                    double& rss, std::span<double> M, int& fail) {
  require(k >= 0 && n >= 0 && M.size() >= num_detail::packed_size(k),
          "PACKEDXTXSOLVE: negative size or M too short");
  if (mode != kSolveInverseOnly)
    check_sizes(k, n, y, b, fitted, work, "PACKEDXTXSOLVE: y, b, fitted or work too short");
  const auto cols = regressor_columns(data, list, k, ld, offset1 + offset2, n);
  fail = 0;
  if (mode != kSolveInverseOnly && !num_detail::all_finite(y.first(static_cast<std::size_t>(n)))) {
    fail = 1;
    numerical_state().failure = 1;
    return;
  }
  if (mode != kSolveReuseInverse) {
    symmetric_cross_products(cols, static_cast<std::size_t>(n), M);
    INVERTSYMPACKED(M, k, fail);
    if (fail == 1 || mode == kSolveInverseOnly) return;
  }
  solve(cols, cols, M, y, n, k, b, fitted, work);
  rss = static_cast<double>(num_detail::dot(work.data(), work.data(), static_cast<std::size_t>(n)));
  if (!finite_results(b.first(static_cast<std::size_t>(k)), rss)) {
    fail = 1;
    numerical_state().failure = 1;
  }
}

void PACKEDPRODUCT(std::span<const double> data, std::span<double> M, int k, int ld, long offset,
                   std::span<const double> W, std::span<const double> y, std::span<double> fitted,
                   std::span<double> b, std::span<double> work, int n, int& fail, int show_message) {
  require(k >= 0 && n >= 0 && M.size() >= num_detail::packed_size(k) &&
              W.size() >= static_cast<std::size_t>(n) * static_cast<std::size_t>(k),
          "PACKEDPRODUCT: negative size, or M or W too short");
  check_sizes(k, n, y, b, fitted, work, "PACKEDPRODUCT: y, b, fitted or work too short");
  const auto cols = regressor_columns(data, current_estimation().list, k, ld, offset, n);
  Columns wcols;
  for (int i = 0; i < k; ++i) wcols.push_back(W.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(n));
  std::vector<double> full(static_cast<std::size_t>(k) * static_cast<std::size_t>(k));
  cross_products(wcols, cols, static_cast<std::size_t>(n), full);
  for (int i = 1; i <= k; ++i)
    for (int j = 1; j <= i; ++j)
      M[packed_at(i, j)] = full[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(k)];
  INVERTSYMPACKED(M, k, fail);
  if (fail == 0 && !num_detail::all_finite(y.first(static_cast<std::size_t>(n)))) {
    fail = 1;
    numerical_state().failure = 1;
  }
  if (fail == 1) {
    if (show_message != 0) SHOWMSGFILE(13, 14);
    return;
  }
  solve(wcols, cols, M, y, n, k, b, fitted, work);
}

void regress_with_inverse(std::span<const double> data, long offset, std::span<const double> z,
                          std::span<const int> list, int k, int n, int ld, std::span<const double> M,
                          std::span<double> b, std::span<double> scratch, std::span<double> work, int& fail) {
  require(k >= 0 && n >= 0 && M.size() >= num_detail::packed_size(k), "regress_with_inverse: negative size or M too short");
  check_sizes(k, n, z, b, scratch, work, "regress_with_inverse: z, b, scratch or work too short");
  const auto cols = regressor_columns(data, list, k, ld, offset, n);
  fail = 0;
  if (!num_detail::all_finite(z.first(static_cast<std::size_t>(n)))) {
    fail = 1;
    return;
  }
  solve(cols, cols, M, z, n, k, b, scratch, work, Sums::kAuxiliary);
  if (!num_detail::all_finite(b.first(static_cast<std::size_t>(k)))) fail = 1;
}

double PACKEDQUADFORMS(std::span<const double> data, long offset1, std::span<const int> list,
                       long offset2, int ld, int k, std::span<const double> M, std::span<double> w) {
  if (k <= 0) return 0.0;
  require(M.size() >= num_detail::packed_size(k) && w.size() >= static_cast<std::size_t>(k),
          "PACKEDQUADFORMS: M or w too short");
  std::vector<double> x(static_cast<std::size_t>(k));
  for (int j = 1; j <= k; ++j)
    x[static_cast<std::size_t>(j - 1)] = num_detail::regressor_column(data, list, j, ld, offset1 + offset2 - 1, 1)[0];
  packed_times(M, x, k, w);
  return static_cast<double>(num_detail::dot(x.data(), w.data(), static_cast<std::size_t>(k)));
}

}  // namespace qorv::core
