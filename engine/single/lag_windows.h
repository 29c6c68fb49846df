// Lag windows and the heteroscedasticity and autocorrelation consistent variance matrices
// built on them: the weight of one lag, the lag-j cross products of regressors weighted by
// products of residuals, and the White and Newey-West sandwich A = n/(n − k)·V·S·V.
// Plain numerics on caller-owned arrays: no dialog, no estimation state.
#pragma once

#include <span>
#include <vector>

namespace qorv::single {

/// Lag-window types.
namespace window {
inline constexpr int kEqual = 1;
inline constexpr int kBartlett = 2;
inline constexpr int kTukey = 3;
inline constexpr int kParzen = 4;
}  // namespace window

/// Weight of lag j for truncation point m and window type 1..4 (c = j/(m + 1)): equal 1,
/// Bartlett 1 − c, Tukey (1 + cos πc)/2, Parzen 1 − 6c² + 6c³ for j <= (m + 1) div 2 and
/// 2(1 − c)³ beyond. Any other type weighs 0.
double LAGWINDOW(int j, int m, int type);

/// The lag-j cross products of the p columns of `columns` (n × p, column-major) weighted
/// by e[s]·e[s + j]: packed (p × p) G_j(i, l) = Σ_{s=1..n−j} (x_l[s+j] x_i[s] +
/// x_i[s+j] x_l[s]) e[s+j] e[s], halved for j = 0 so that G_0 = Σ x x' e². Shapes that do
/// not fit throw std::invalid_argument.
void LAGCROSSPRODUCTS(std::span<const double> columns, int n, int p, std::span<const double> e, int j,
                      std::span<double> out);

/// What the sandwich is built from.
struct SandwichInput {
  std::span<const double> columns;     ///< n × p, column-major: regressors or instruments
  std::span<const double> residuals;   ///< n values
  std::span<const double> inverse;     ///< packed k × k unscaled variance V
  std::span<const double> projection;  ///< p × k column-major map to the regressors; empty: p = k
  int n = 0;
  int p = 0;
  int k = 0;
};

/// The adjusted variance matrix (packed, k × k) for adjusted-variance option `option`
/// (2 White, 3..6 Newey-West with window option − 2) and truncation point m:
/// S = Σ_{j=0..m} w_j G_j (w_j = 1 for White, which uses m = 0), mapped S := P'SP when
/// a projection is given, A = n/(n − k)·V S V. Empty when the option is not 2..6, m is
/// outside 0..n − 1, n <= k or the shapes do not fit.
std::vector<double> adjusted_variance(const SandwichInput& input, int option, int m);

}  // namespace qorv::single
