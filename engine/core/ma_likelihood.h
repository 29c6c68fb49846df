// The exact likelihood of a series with moving-average (MA) errors through the innovations
// recursion, and the lag-polynomial routines of the MA estimators.
//
// The MA polynomial is θ(L) = 1 + θ1·L + ... + θq·L^q (lag 0 implied); its autocovariances
// γ(0..q) are in units of the innovation variance. The recursion predicts each observation
// from the later ones (it runs from the last observation back to the first, which gives the
// same likelihood because the covariance matrix is a symmetric Toeplitz matrix), so that
//   S = Σ ê(t)² = u'Γ⁻¹u   and   L = Σ ln v(t) = ln det Γ,
// Γ the n × n covariance matrix of u and v(t) the prediction-error variances.
#pragma once

#include <array>
#include <span>
#include <vector>

namespace qorv::core {

/// Highest MA order the recursion takes.
inline constexpr int kMaxMaOrder = 12;

/// Lag polynomial 1 + θ1·L + ... + θq·L^q: coefficient of lag j at index j.
using MaPolynomial = std::array<double, kMaxMaOrder + 1>;

/// State of the innovations recursion for one set of autocovariances. The rows of
/// coefficients and the variances are kept so that one recursion filters several series.
struct MaRecursion {
  int q = 0;                  ///< MA order
  MaPolynomial gamma{};       ///< γ(0..q)
  std::vector<double> theta;  ///< row of step s at s·q: θ(s, 1..q)
  std::vector<double> v;      ///< prediction-error variance of step s
  int steps = 0;              ///< steps computed
  int converged = 0;          ///< step whose row and variance later steps reuse, 0 none
  double log_det = 0.0;       ///< L = Σ ln v over the n observations (mode 0)
};

/// θ(L) from the parameters of the lags of `lags` (ascending, at most 12 long, largest the
/// order q). Returns q, or -1 when the lists differ in length, a lag is outside 1..12 or
/// the lags are not ascending.
int ma_polynomial(std::span<const double> parameters, std::span<const int> lags, MaPolynomial& poly);

/// γ(0) = Σ θ(i)², γ(h) = Σ θ(i)·θ(i + h) (θ(0) = 1), h = 1..q.
void ma_autocovariances(const MaPolynomial& poly, int q, MaPolynomial& gamma);

/// The recursion's coefficients and variances for n observations from r.gamma and r.q.
/// Mode 0: a variance below 1 − 1e-9 (a monic MA polynomial never predicts better than its
/// innovations; the margin absorbs rounding) fails. Mode 1 (autocovariances of data): the
/// floor is 1e-11 and, when the variances and the coefficient rows have not settled
/// (changes below 1e-11) by the n-th step, the recursion goes on with the tolerance 1e-6
/// until they do (at most 20000 further steps). Both modes test the rows as well as the
/// variances: a variance settles long before its row. Returns 0, or 1 on failure (also for q outside 0..12 or n < 1).
int prepare_recursion(MaRecursion& r, int n, int mode);

/// Standardised prediction errors ê (n values, out may be empty) of the series y (n values)
/// through a prepared recursion; returns S = Σ ê².
double filter_series(const MaRecursion& r, std::span<const double> y, std::span<double> out);

/// `ITERSOLVE`: prepare_recursion, then (mode 0) the standardised errors of y into
/// `errors`, S into `ssq`. fail = 1 as prepare_recursion reports it.
void ITERSOLVE(MaRecursion& r, std::span<const double> y, std::span<double> errors, int n,
               double& ssq, int& fail, int mode);

/// `LOGLIKKERNEL`: criterion = ½·(n·ln S + L) of the residuals u (n values) under the MA
/// errors of `parameters` at `lags`; `standardised` (n values or empty) receives ê. fail = 1
/// (criterion untouched) when the recursion fails, the lags are invalid or S is not positive.
void LOGLIKKERNEL(std::span<const double> parameters, std::span<const int> lags,
                  std::span<const double> u, double& criterion, std::span<double> standardised,
                  int& fail, MaRecursion& r);

/// `POLYMULT`: c = p·q by convolution; c has p.size() + q.size() − 1 elements.
std::vector<double> POLYMULT(std::span<const double> p, std::span<const double> q);

/// `ZEROFILL`: the quotient w of p divided by the factor f (f(0) ≠ 0), lag 0 first, by the
/// back-recursion w(i) = (p(i) − Σ_{k≥1} f(k)·w(i − k)) / f(0); the remainder is dropped.
/// w has p.size() − f.size() + 1 elements (empty when p is shorter than f).
std::vector<double> ZEROFILL(std::span<const double> p, std::span<const double> f);

/// Roots of an MA polynomial on the unit circle.
struct UnitRoots {
  int at_one = 0;        ///< factors (1 − L)
  int at_minus_one = 0;  ///< factors (1 + L)
};

/// `DEFLATEUNITROOTS` on the lag polynomial a(0..p) (a(0) = 1): factors (1 − L) and (1 + L)
/// (a root at ±1 within 1e-6) are kept and counted in `roots`; when the rest is not
/// invertible it is replaced by the invertible polynomial with the same autocovariances
/// (the one the innovations recursion settles on), and the kept factors are multiplied
/// back: the degree stays p. Example: 1 + 2L becomes 1 + 0.5L (innovation variance × 4).
/// Returns 0, or 1 when the recursion fails (the polynomial is then left as it was).
int DEFLATEUNITROOTS(std::span<double> a, int p, UnitRoots& roots);

}  // namespace qorv::core
