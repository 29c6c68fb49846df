// The autocorrelation function of the regression residuals and their standardized
// spectral density with the Parzen lag window.
#pragma once

#include <span>
#include <vector>

namespace qorv::diagnostics {

/// The window size of the residual correlogram and spectrum: 2·NINT(sqrt(n)), 1 when
/// that is 0.
int correlogram_window(int n);

/// The residuals' autocorrelations r(1..M) = c(j)/c(0) (c with divisor n about the
/// mean) and the Parzen standardized spectral density at ω = iπ/M, i = 0..M. Every
/// figure is missing when the residuals do not vary.
struct ResidualCorrelogram {
  int window = 0;                ///< M
  std::vector<double> r;         ///< r(1..M)
  std::vector<double> frequency; ///< iπ/M
  std::vector<double> parzen;    ///< the density at each frequency
};

/// The figures for residuals `e` (at least one value, none missing). Cost: O(n·M + M²).
ResidualCorrelogram residual_correlogram(std::span<const double> e);

/// Option 4 of the residuals menu: both plots of the residuals the listing shows (the
/// transformed residuals for AR and MA errors), titled with the sample they cover.
void plot_residual_correlogram();

}  // namespace qorv::diagnostics
