// Impulse responses and forecast error variance decompositions of a VAR in levels, from
// its lag matrices and its error covariance matrix. The cointegrating VAR hands over the
// levels form of its error-correction estimates and uses the same routines.
#pragma once

#include <span>
#include <vector>

namespace qorv::multi {

/// Kinds of analysis.
enum ResponseKind : int {
  kOrthogonalResponses = 1,
  kGeneralisedResponses = 2,
  kOrthogonalDecomposition = 3,
  kGeneralisedDecomposition = 4,
};

/// Longest horizon.
inline constexpr int kMaxHorizon = 150;

/// The lag matrices A_1..A_p of an m-variable VAR: `a` holds p blocks of m × m
/// column-major values, A_l(i, j) the effect of variable j at lag l on variable i.
struct LagMatrices {
  std::vector<double> a;
  int m = 0;
  int p = 0;
};

/// Φ_0 = I, Φ_h = Σ_{j=1..min(h, p)} A_j Φ_{h−j} for h = 0..H: H + 1 blocks of m × m
/// column-major values. Throws std::invalid_argument when H < 0 or the sizes disagree.
std::vector<double> moving_average_matrices(const LagMatrices& lags, int H);

/// The table of one analysis over horizons 0..H: (H + 1) × m column-major values. For the
/// responses (kinds 1, 2) column i is variable i's response to a one-S.E. shock in
/// equation `e`; for the decompositions (kinds 3, 4) column j is the share of the forecast
/// error variance of variable `e` due to the shock in equation j. The shocks come from
/// `sigma` (packed, order m): column e of its lower Cholesky factor (orthogonalised), or
/// column e of sigma over sqrt(σ_ee) (generalised). False when the Cholesky factorisation
/// fails (Σ not positive definite; nothing is shown). Throws std::invalid_argument for a
/// kind outside 1..4, e outside 1..m or H < 0. Cost: (H + 1)·m³ multiply-adds.
bool dynamic_response(const LagMatrices& lags, std::span<const double> sigma, int kind, int e, int H,
                      std::vector<double>& table);

}  // namespace qorv::multi
