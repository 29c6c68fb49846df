#include "tools/critical_values/critical_value_simulation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "engine/multi/johansen_core.h"

namespace zelvorin::critical_values {

namespace {

/// Drift per period of the series that carries it (cases 3 and 4), and the slope of the
/// drift's trend (case 5): large against the unit innovations, so that 1000 observations
/// show the limit in which the deterministic trend dominates that direction, and small
/// enough that the levels' moment matrix keeps every direction well above the estimation's
/// relative threshold.
constexpr double kDrift = 5.0;
constexpr double kDriftSlope = 0.05;
constexpr int kBatches = 10;

/// Standard normal draws from a 64-bit Mersenne twister by the polar method.
class NormalStream {
 public:
  explicit NormalStream(std::uint64_t seed) : engine_(seed) {}
  double next() {
    if (has_spare_) {
      has_spare_ = false;
      return spare_;
    }
    double u = 0.0, v = 0.0, s = 0.0;
    do {
      u = 2.0 * uniform() - 1.0;
      v = 2.0 * uniform() - 1.0;
      s = u * u + v * v;
    } while (s >= 1.0 || s == 0.0);
    const double factor = std::sqrt(-2.0 * std::log(s) / s);
    spare_ = v * factor;
    has_spare_ = true;
    return u * factor;
  }

 private:
  double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
  std::mt19937_64 engine_;
  double spare_ = 0.0;
  bool has_spare_ = false;
};

/// The empirical quantile: the ⌈p·n⌉-th smallest value.
double quantile(std::vector<double> values, double p) {
  const auto at = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
  std::nth_element(values.begin(), values.begin() + static_cast<long>(at), values.end());
  return values[at];
}

Quantiles quantiles(const std::vector<double>& draws) {
  Quantiles q;
  q.q90 = quantile(draws, 0.90);
  q.q95 = quantile(draws, 0.95);
  // Standard errors from the spread of the quantiles of ten equal batches.
  const std::size_t size = draws.size() / kBatches;
  double s90 = 0.0, s95 = 0.0, m90 = 0.0, m95 = 0.0;
  std::vector<double> b90(kBatches), b95(kBatches);
  for (int b = 0; b < kBatches; ++b) {
    const std::vector<double> batch(draws.begin() + static_cast<long>(b * size),
                                    draws.begin() + static_cast<long>((b + 1) * size));
    b90[static_cast<std::size_t>(b)] = quantile(batch, 0.90);
    b95[static_cast<std::size_t>(b)] = quantile(batch, 0.95);
    m90 += b90[static_cast<std::size_t>(b)] / kBatches;
    m95 += b95[static_cast<std::size_t>(b)] / kBatches;
  }
  for (int b = 0; b < kBatches; ++b) {
    s90 += (b90[static_cast<std::size_t>(b)] - m90) * (b90[static_cast<std::size_t>(b)] - m90);
    s95 += (b95[static_cast<std::size_t>(b)] - m95) * (b95[static_cast<std::size_t>(b)] - m95);
  }
  // The batch quantiles' deviation, over the root of the number of batches.
  q.se90 = std::sqrt(s90 / (kBatches - 1)) / std::sqrt(static_cast<double>(kBatches));
  q.se95 = std::sqrt(s95 / (kBatches - 1)) / std::sqrt(static_cast<double>(kBatches));
  return q;
}

}  // namespace

std::uint64_t cell_seed(const Cell& cell) {
  // SplitMix64 of the seed and the cell's number.
  std::uint64_t z = kSeed + 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(
                                                        1 + cell.model_case * 10000 + cell.e * 100 + cell.k);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

CellResult simulate_cell(const Cell& cell, int replications) {
  if (replications < kBatches || replications % kBatches != 0 || cell.k < 1 || cell.e < 0 || cell.model_case < 1 ||
      cell.model_case > 5)
    throw std::invalid_argument("simulate_cell: a cell or replication count out of range");
  const int series = cell.k + cell.e;
  const std::size_t rows = kObservations + 1;
  // The deterministic part sits in one series of the block that carries it: the
  // statistics do not change when either block is rotated. Without exogenous variables the
  // endogenous block carries it, with them the exogenous block.
  const std::size_t carrier = cell.e > 0 ? static_cast<std::size_t>(cell.k) : 0;

  qorv::multi::JohansenData data;
  data.m = cell.k;
  data.e = cell.e;
  data.p = 1;
  data.n = kObservations;
  data.model_case = cell.model_case;
  std::vector<double> levels(rows * static_cast<std::size_t>(series));
  data.levels = levels;

  NormalStream normal(cell_seed(cell));
  std::vector<double> max_eigenvalue(static_cast<std::size_t>(replications)), trace(max_eigenvalue.size());
  qorv::multi::JohansenFit fit;
  for (std::size_t r = 0; r < max_eigenvalue.size(); ++r) {
    for (std::size_t v = 0; v < static_cast<std::size_t>(series); ++v) {
      double* x = levels.data() + v * rows;
      x[0] = 0.0;
      for (std::size_t t = 1; t < rows; ++t) {
        double step = normal.next();
        if (v == carrier) {
          if (cell.model_case == 3 || cell.model_case == 4) step += kDrift;
          if (cell.model_case == 5) step += kDriftSlope * static_cast<double>(t);
        }
        x[t] = x[t - 1] + step;
      }
    }
    if (qorv::multi::johansen_estimate(data, qorv::multi::kJohansenTolerance, fit) !=
        qorv::multi::JohansenFailure::kNone)
      throw std::runtime_error("simulate_cell: an estimation failed");
    double sum = 0.0;
    for (int i = 0; i < cell.k; ++i) sum -= kObservations * std::log(1.0 - fit.eigenvalues[static_cast<std::size_t>(i)]);
    max_eigenvalue[r] = -kObservations * std::log(1.0 - fit.eigenvalues[0]);
    trace[r] = sum;
  }
  return {quantiles(max_eigenvalue), quantiles(trace)};
}

std::string record(int k, double q90, double q95) {
  char line[64];
  std::snprintf(line, sizeof line, "%2d %10.4f %10.4f\n", k, q90, q95);
  return line;
}

}  // namespace zelvorin::critical_values
