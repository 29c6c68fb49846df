// The least-squares kernel of the recursive and rolling estimates: the cross products of
// one equation kept in extended precision, grown by one rank-one update per observation,
// and solved afresh at any point. Recursive estimates carry the cross products forward and
// solve at every observation; rolling estimates build each window's cross products from
// its own observations (a running sum with observations taken out again loses the digits
// of levels data), summed by the engine's cross-product kernel. No dialog and no engine state: callers pass the data.
#pragma once

#include <span>
#include <vector>

namespace qorv::single {

/// The cross products of [Z | X | y] over the observations added so far: k regressors X,
/// l instruments Z (l = 0 for least squares), the dependent variable y. Symmetric, stored
/// full in long double; order p = l + k + 1.
class GrowingCrossProducts {
 public:
  /// Throws std::invalid_argument when k < 1 or l < 0 (l > 0 and l < k is allowed: every
  /// solve then fails).
  GrowingCrossProducts(int k, int l);

  int k() const { return k_; }
  int l() const { return l_; }
  int observations() const { return n_; }

  /// Forgets every observation.
  void reset();

  /// Adds one observation: x (k values), z (l values), y. Throws std::invalid_argument on
  /// lengths that do not fit. Cost: p²/2 multiply-adds.
  void add(std::span<const double> x, std::span<const double> z, double y);

  /// Takes the cross products of `n` observations whole: `packed` holds the lower triangle
  /// of order p in the PACKEDINDEX layout, in the order Z, X, y. Throws
  /// std::invalid_argument when it is shorter than p(p + 1)/2.
  void assign_packed(std::span<const double> packed, int n);

  /// Element (i, j) of the cross-product matrix, 0-based in the order Z, X, y.
  long double element(int i, int j) const { return s_[static_cast<size_t>(i) * static_cast<size_t>(p_) + static_cast<size_t>(j)]; }

 private:
  int k_, l_, p_, n_ = 0;
  std::vector<long double> s_;
  std::vector<long double> row_;  // scratch: the observation being added
};

/// One solve of the cross products.
struct StepEstimate {
  int fail = 1;                        ///< 0 solved; 1 singular (or too few observations)
  int n = 0;                           ///< observations
  std::vector<double> b;               ///< k coefficients
  std::vector<double> inverse_diag;    ///< diagonal of (X'X)⁻¹, or (X̂'X̂)⁻¹ for IV
  double rss = 0.0;                    ///< Σ (y − x'b)² over the observations
  std::vector<long double> factor;     ///< upper U, k × k row-major, U'U = X'X or X̂'X̂
  std::vector<long double> coef;       ///< b unrounded

  /// x'(U'U)⁻¹x for one observation's regressor values (k values). Cost: k²/2.
  long double variance_factor(std::span<const double> x) const;
  /// x'b in extended precision.
  long double predict(std::span<const double> x) const;
};

/// Least squares (l = 0) or two-stage least squares (l > 0) from the cross products:
/// Cholesky factors in extended precision, with the engine's singularity rule (a reduced
/// pivot below 1e-11 of its diagonal, or a non-finite value, is singular). With
/// instruments, X̂'X̂ = X'Z(Z'Z)⁻¹Z'X and X̂'y likewise; the residual sum of squares is that
/// of the structural residuals y − x'b. A solve fails when there are fewer observations
/// than coefficients (or instruments). `with_inverse` fills inverse_diag (k³/6 more).
/// Cost: k³/6 (+ l³/6 + l²k + lk²/2 with instruments).
StepEstimate solve(const GrowingCrossProducts& cp, bool with_inverse);

}  // namespace qorv::single
