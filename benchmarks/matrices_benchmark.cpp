// The least-squares workhorse at the engine's limits: 3000 observations, 102 regressors
// (a constant and 101 columns of pseudo-random data).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/core/num/matrices.h"
#include "engine/core/num/cross_products.h"

namespace {

using namespace qorv::core;

constexpr int kObs = 3000;
constexpr int kRegressors = 102;

struct Design {
  std::vector<double> data;  ///< variable 1 = y, variables 2..103 = the regressors
  std::vector<int> list;
  Design() : data(static_cast<std::size_t>(kObs) * (kRegressors + 1)), list(kRegressors + 1) {
    unsigned state = 12345u;
    const auto uniform = [&state] {
      state = state * 1664525u + 1013904223u;
      return (state >> 8) * (1.0 / 16777216.0) - 0.5;
    };
    for (int v = 1; v <= kRegressors + 1; ++v) {
      list[static_cast<std::size_t>(v - 1)] = v;
      for (int t = 0; t < kObs; ++t)
        data[static_cast<std::size_t>((v - 1) * kObs + t)] = v == 2 ? 1.0 : 10.0 * v + uniform();
    }
  }
  std::span<const double> y() const { return std::span<const double>(data).first(kObs); }
};

const Design& design() {
  static const Design d;
  return d;
}

void solve(benchmark::State& state, int mode) {
  const Design& d = design();
  std::vector<double> b(kRegressors), fitted(kObs), work(kObs), m(kRegressors * (kRegressors + 1) / 2);
  double rss = 0.0;
  int fail = 0;
  PACKEDXTXSOLVE(d.data, 0, d.y(), d.list, kRegressors, kObs, kObs, 0, kSolveInverseOnly, b, fitted, work,
                 rss, m, fail);
  if (fail != 0) state.SkipWithError("singular design");
  for (auto _ : state) {
    PACKEDXTXSOLVE(d.data, 0, d.y(), d.list, kRegressors, kObs, kObs, 0, mode, b, fitted, work, rss, m, fail);
    benchmark::DoNotOptimize(m.data());
    benchmark::DoNotOptimize(b.data());
  }
}

/// X'X of the 3000 × 102 design and its packed inverse (PACKEDXTXSOLVE, inverse only).
void BM_CrossProductsAndInverse(benchmark::State& state) { solve(state, kSolveInverseOnly); }

/// The whole least-squares fit: X'X, inverse, refined estimates, fitted values, residuals.
void BM_LeastSquaresFit(benchmark::State& state) { solve(state, 0); }

/// The fit alone with the inverse kept (mode 1): what a further dependent column costs.
void BM_FitWithKeptInverse(benchmark::State& state) { solve(state, kSolveReuseInverse); }

/// X'X of the 3000 × 102 design alone (packed lower triangle).
void BM_CrossProducts102(benchmark::State& state) {
  const Design& d = design();
  std::vector<double> m(kRegressors * (kRegressors + 1) / 2);
  std::vector<const double*> cols;
  for (int j = 1; j <= kRegressors; ++j) cols.push_back(d.data.data() + static_cast<std::size_t>(j) * kObs);
  for (auto _ : state) {
    symmetric_cross_products(cols, kObs, m);
    benchmark::DoNotOptimize(m.data());
  }
}

/// INVERTSYMPACKED of the order-102 cross-product matrix (copy included).
void BM_PackedInverse102(benchmark::State& state) {
  const Design& d = design();
  std::vector<double> xtx(kRegressors * (kRegressors + 1) / 2);
  for (int i = 1; i <= kRegressors; ++i)
    for (int j = 1; j <= i; ++j) {
      long double s = 0;
      for (int t = 0; t < kObs; ++t)
        s += static_cast<long double>(d.data[static_cast<std::size_t>(i * kObs + t)]) * d.data[static_cast<std::size_t>(j * kObs + t)];
      xtx[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)] = static_cast<double>(s);
    }
  std::vector<double> m(xtx.size());
  int fail = 0;
  for (auto _ : state) {
    m = xtx;
    INVERTSYMPACKED(m, kRegressors, fail);
    benchmark::DoNotOptimize(m.data());
  }
  if (fail != 0) state.SkipWithError("singular design");
}

BENCHMARK(BM_CrossProductsAndInverse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeastSquaresFit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitWithKeptInverse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrossProducts102)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackedInverse102)->Unit(benchmark::kMicrosecond);

}  // namespace
