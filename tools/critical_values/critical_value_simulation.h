// Critical values of the maximal-eigenvalue and trace tests of cointegrating rank, simulated
// through the program's own reduced-rank regression: under rank 0, k endogenous and e
// exogenous I(1) random walks with independent Gaussian innovations, a VAR(1), 1000
// observations, and the deterministic terms each case's tables assume.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelvorin::critical_values {

/// The seed every cell's stream is drawn from.
inline constexpr std::uint64_t kSeed = 20261211;
/// Replications of each cell in the committed files.
inline constexpr int kReplications = 100000;
/// Observations of each simulated sample (after one initial value).
inline constexpr int kObservations = 1000;
/// The files cover e = 0 to 5 exogenous I(1) variables (and cases 1 to 5).
inline constexpr int kMaxExogenous = 5;

/// One table entry: the deterministic case, the exogenous I(1) variables and the common
/// trends under the null (the endogenous variables of a rank-0 system).
struct Cell {
  int model_case = 1;
  int e = 0;
  int k = 1;
};

/// A statistic's simulated 90% and 95% quantiles with their Monte Carlo standard errors
/// (from ten equal batches of the replications).
struct Quantiles {
  double q90 = 0.0;
  double q95 = 0.0;
  double se90 = 0.0;
  double se95 = 0.0;
};

struct CellResult {
  Quantiles max_eigenvalue;
  Quantiles trace;
};

/// The cell's own stream: the fixed seed mixed with the cell, so that a cell regenerates
/// alone and the order in which cells run changes nothing.
std::uint64_t cell_seed(const Cell& cell);

/// Simulates the cell with `replications` draws (a multiple of ten). Throws
/// std::runtime_error when an estimation fails.
CellResult simulate_cell(const Cell& cell, int replications);

/// One record: k, the 90% and the 95% value, 4 decimals, "\n" ended.
std::string record(int k, double q90, double q95);

}  // namespace zelvorin::critical_values
