// Covariance algebra of autoregressive processes: the covariance matrix of p consecutive
// values (PACKEDSETUP) and the quadratic form with the band matrix of an AR(2)-type error
// (AR2BANDFORM).
#pragma once

#include <span>

namespace qorv::core {

/// V (packed, order p) = the covariance matrix of p consecutive values of the
/// autoregressive process with lag polynomial a(0..p) (lag 0 first, a = (1, −φ1, ..., −φp)),
/// in units of the innovation variance. V is first filled with the inverse covariance in
/// the Gohberg–Semencul form, V(i, j) = Σ_{k=1..min(i,j)} [a(i−k)·a(j−k) − a(p+k−i)·a(p+k−j)],
/// then inverted in place (INVERTSYMPACKED). fail = 1 for a non-stationary or degenerate
/// polynomial (the numerical-failure word is then 1 too). Example: a = (1, −0.5, −0.3),
/// p = 2 gives γ0 = 2.2435897..., γ1 = 1.6025641... p = 0 does nothing.
void PACKEDSETUP(std::span<const double> a, std::span<double> V, int p, int& fail);

/// result = c'·M·c and e = M·c for the vector c of the current sample length n
/// (current_estimation().n), read from the work array at current_estimation().
/// band_input_offset; e is written at band_output_offset (the two must not overlap). M is
/// symmetric with bandwidth 2: rows 1 and 2 are (a1, a2, a3) and (a2, a5, a4, a3), inner
/// rows t are (a3, a4, a6, a4, a3) around the diagonal, rows n − 1 and n are
/// (a3, a4, a5, a2) and (a3, a2, a7). With the AR(2) values φ1, φ2 the likelihood passes
/// (a1 = a7 = 1, a2 = −φ1, a3 = −φ2, a4 = φ1·φ2 − φ1, a5 = 1 + φ1², a6 = 1 + φ1² + φ2²),
/// c'Mc is the exact quadratic form c'Σ⁻¹c of the AR(2) covariance Σ in units of the
/// innovation variance. For n < 4 the band does not fit and that exact form is used,
/// with φ1 = −a2, φ2 = −a3: [c1, c2]·Γ2⁻¹·[c1, c2]' + Σ_{t≥3} (c_t − φ1·c_{t−1} − φ2·c_{t−2})²,
/// and c1²/γ0 for n = 1 (the missing-value code when γ0 is infinite). n <= 0 gives 0.
void AR2BANDFORM(double a1, double a2, double a3, double a4, double a5, double a6, double a7,
                 double& result, std::span<double> work);

}  // namespace qorv::core
