// Kernels of the regressions with autoregressive errors: the AR filter, the exact AR(2)
// transformation and likelihood, the slopes of the concentrated likelihood, the lagged
// cross sums that start the AR(2) search, and numerical second derivatives.
#pragma once

#include <functional>
#include <span>
#include <vector>

namespace qorv::core {

/// A regression's data copied out of the workspace: y and the k regressor columns
/// (column-major, n rows) over the n observations of the sample.
struct RegressionColumns {
  int n = 0;
  int k = 0;
  std::vector<double> y;
  std::vector<double> x;
  /// Column j (0..k − 1).
  std::span<const double> column(int j) const {
    return std::span<const double>(x).subspan(static_cast<std::size_t>(j) * static_cast<std::size_t>(n),
                                              static_cast<std::size_t>(n));
  }
};

/// `ARFILTERRESID`: out(t − m − 1) = y(t) − Σ_j ρ_j·y(t − lag_j), t = m + 1..n, m the
/// largest lag (lags ascending, one per coefficient). Returns the usable count n − m
/// (0 when there is none or the lists do not match; out must hold it).
int ARFILTERRESID(std::span<const double> y, std::span<const double> rho, std::span<const int> lags,
                  std::span<double> out);

/// `LAGCROSSSUMS`: the AR(1) coefficient Σ x(t)x(t+1) / Σ x(t)² and the AR(2) pair from the
/// normal equations of x(t) on x(t − 1), x(t − 2) (t = 3..n). A denominator below
/// `tolerance` (relative to the sums it divides) gives 0 for the coefficients it serves.
void LAGCROSSSUMS(std::span<const double> x, double tolerance, double& ar2_1, double& ar2_2, double& ar1);

/// Innovation-unit variance γ0 and lag-1 covariance γ1 of a stationary AR(2) process
/// (φ2 = 0: AR(1)); false outside the stationarity triangle.
bool ar2_covariances(double phi1, double phi2, double& gamma0, double& gamma1);

/// `ERRORRECURSION`: z = P·u with P'P = Σ⁻¹, Σ the AR(2) covariance in innovation units:
/// z(1) = u(1)/√γ0, z(2) = (u(2) − (γ1/γ0)·u(1))/√(γ0 − γ1²/γ0), z(t) = u(t) − φ1·u(t−1) −
/// φ2·u(t−2). Σ z² is the exact quadratic form. False outside the stationarity triangle.
bool ERRORRECURSION(std::span<const double> u, double phi1, double phi2, std::span<double> z);

/// Result of the exact AR(2) likelihood.
struct ArFit {
  double loglik = 0.0;            ///< concentrated exact log-likelihood
  double sigma = 0.0;             ///< sqrt(Q/(n − parameters))
  double q = 0.0;                 ///< Q, the GLS quadratic form at b
  std::vector<double> b;          ///< GLS coefficients
  std::vector<double> u;          ///< y − X·b (untransformed)
  std::vector<double> inverse;    ///< packed (X*'X*)⁻¹, X* the transformed regressors
};

/// `ARMALOGLIK`: GLS of y on X with AR(2) errors (φ1, φ2), LL = −(n/2)(ln(2πQ/n) + 1) +
/// ln(1 + φ2) + ½·ln((1 − φ2)² − φ1²). `parameters` (k plus the error parameters) sets the
/// degrees of freedom of sigma. Returns 0, or 1 outside the stationarity triangle (the
/// numerical-failure word is then set) or on a singular transformed regression.
int ARMALOGLIK(const RegressionColumns& data, double phi1, double phi2, int parameters, ArFit& fit);

/// Slopes of the concentrated exact AR(2) log-likelihood at fixed regression residuals u
/// (b concentrated: the envelope theorem makes these the total derivatives at the GLS b).
struct ArSlopes {
  double d1 = 0.0;      ///< dLL/dφ1
  double d2 = 0.0;      ///< dLL/dφ2
  double scaled = 0.0;  ///< (1 − φ1²)·dLL/dφ1: bounded at φ1 → ±1, the AR(1) search's root function
};

/// `ESTIMLIMITS`: the slopes above from u (n values) and φ1, φ2; false outside the triangle.
bool ESTIMLIMITS(std::span<const double> u, double phi1, double phi2, ArSlopes& slopes);

/// A function of parameters for numerical derivatives; sets `fail` when it cannot be
/// evaluated.
using ParameterFunction = std::function<double(std::span<const double>, int& fail)>;

/// Second derivatives of f at x (value f0 there) with the steps h (one per parameter):
/// H_ii = (f(x + 2h_i) + f(x − 2h_i) − 2f0)/(4h_i²), H_ij = (f(++) + f(−−) − f(+−) −
/// f(−+))/(4h_i·h_j), packed into H (n(n+1)/2). fail as f reports it.
void hessian_with_steps(std::span<const double> x, double f0, const ParameterFunction& f,
                        std::span<const double> h, std::span<double> H, int& fail);

/// hessian_with_steps at the steps h and h/2 combined by one Richardson extrapolation,
/// (4·H(h/2) − H(h))/3: the h² term of the central differences cancels, leaving an error
/// of order h⁴. Twice the evaluations of hessian_with_steps (4n² in all); fail as f
/// reports it.
void extrapolated_hessian(std::span<const double> x, double f0, const ParameterFunction& f,
                          std::span<const double> h, std::span<double> H, int& fail);

/// `STEPSCALE`: hessian_with_steps with h_i = 0.0001·|x_i|, at least 0.0001.
void STEPSCALE(std::span<const double> x, double f0, const ParameterFunction& f, std::span<double> H, int& fail);

}  // namespace qorv::core
