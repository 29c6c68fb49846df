// The SPECTRUM command: the standardized spectral density of one variable estimated with
// the Bartlett, Tukey and Parzen lag windows, its table with asymptotic standard errors
// and its plots.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "engine/data/command_support.h"

namespace qorv::data {

/// The lag windows, in the table's order.
enum SpectralWindow : int { kBartlett = 0, kTukey = 1, kParzen = 2 };
inline constexpr std::array<std::string_view, 3> kWindowNames = {"Bartlett", "Tukey", "Parzen"};

/// The weight of lag k of window `window` of size M, a = k/M: Bartlett 1 − a; Tukey
/// (1 + cos(πa))/2; Parzen 1 − 6a² + 6a³ for k <= M/2, else 2(1 − a)³.
double lag_weight(SpectralWindow window, int k, int m);

/// The window size: the typed size, capped at n − 1 (a typed size below 1 counts as none);
/// else 2·nint(sqrt(n)), capped at n − 1 too.
int spectral_window_size(int typed, int n);

/// One window's estimate at the frequencies ω_j = jπ/M, j = 0..M.
struct WindowEstimate {
  double dof = 0.0;              ///< equivalent degrees of freedom ν: 3n/M, (8/3)n/M, 3.71n/M
  std::vector<double> density;   ///< f(ω_j) = (c0 + 2 Σ_k w_k c_k cos(kω_j)) / c0
  std::vector<double> std_error; ///< c·f(ω_j), c = sqrt(2/ν), times sqrt(2) at j = 0 and j = M
};

/// The figures of the SPECTRUM command.
struct SpectrumFigures {
  int first = 0;  ///< the sample, narrowed to the available observations
  int last = 0;
  int n = 0;
  int window = 0;                  ///< M
  std::vector<double> frequency;   ///< ω_j
  std::vector<double> period;      ///< 2π/ω_j; the missing value at j = 0
  std::array<WindowEstimate, 3> windows;  ///< by `SpectralWindow`; every value missing when x does not vary
};

/// The estimates from the autocovariances c_k = Σ (x_t − mean)(x_(t−k) − mean)/n of `x`
/// (n > `m` values, no missing value) with window size `m` >= 1. A variable that does not
/// vary (standard deviation below 1e-11) has no standardized spectrum: every density and
/// standard error is missing; any other is standardized by its own c0, however small.
/// Cost: O(n·M + M²).
SpectrumFigures spectral_density(std::span<const double> x, int m);

/// What the SPECTRUM command did, with its figures.
struct SpectrumResult {
  CommandStatus status = kCommandBadArguments;
  SpectrumFigures figures;  ///< meaningful when `status` is kCommandDone
};

/// `SPECTRUM`, the entry of the SPECTRUM command for the interpreter: workspace variable
/// `variable` over the command sample first..last, `window` the size typed in brackets or
/// -1. The sample is narrowed to the available observations; a gap inside it shows line 2
/// of the message file, fewer than 4 observations a message, and nothing is computed. The
/// results page holds the title, the table (frequency, period and the three estimates with
/// their standard errors in brackets); four plots follow (type 70: each window with its
/// ±2 S.E. bands, then the three windows together), none for a variable that does not vary.
SpectrumResult SPECTRUM(int variable, int first, int last, int window);

}  // namespace qorv::data
