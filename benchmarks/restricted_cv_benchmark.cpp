// Restricted cointegrating vectors: five variables (two cointegrating relations built in),
// VAR(2), 500 observations, r = 2 under six general restrictions (two over-identifying),
// each algorithm from the Johansen vectors to convergence. The iteration count is shown
// beside the time.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <vector>

#include "engine/multi/restricted_cv.h"

namespace {

using namespace qorv::multi;

struct Fixture {
  JohansenFit fit;
  CvRestrictions restrictions;
  int n = 500;
};

const Fixture& fixture() {
  static const Fixture f = [] {
    Fixture out;
    const int m = 5, p = 2, n = out.n;
    // Three random walks; x4 = x1 - x2 + noise and x5 = x2 + 0.5·x3 + noise.
    std::vector<std::vector<double>> x(m, std::vector<double>(static_cast<std::size_t>(n + p)));
    unsigned seed = 2024u;
    const auto uniform = [&seed] {
      seed = seed * 1664525u + 1013904223u;
      return (seed >> 8) * (1.0 / 16777216.0) - 0.5;
    };
    double w1 = 0, w2 = 0, w3 = 0;
    for (std::size_t t = 0; t < static_cast<std::size_t>(n + p); ++t) {
      w1 += uniform();
      w2 += uniform();
      w3 += uniform();
      x[0][t] = w1;
      x[1][t] = w2;
      x[2][t] = w3;
      x[3][t] = w1 - w2 + 0.3 * uniform();
      x[4][t] = w2 + 0.5 * w3 + 0.3 * uniform();
    }
    std::vector<double> levels;
    for (const auto& column : x) levels.insert(levels.end(), column.begin(), column.end());
    JohansenData data;
    data.m = m;
    data.p = p;
    data.n = n;
    data.model_case = 3;
    data.levels = levels;
    if (johansen_estimate(data, kJohansenTolerance, out.fit) != JohansenFailure::kNone) throw std::runtime_error("fit");
    // Vector 1: a4 = 1, a5 = 0, a3 = 0 (over), a1 + a2 = 0 (over); vector 2: b5 = 1, b4 = 0.
    const int nn = 2 * m;
    const std::vector<std::pair<std::vector<std::pair<int, double>>, double>> rows = {
        {{{3, 1.0}}, 1.0}, {{{4, 1.0}}, 0.0}, {{{2, 1.0}}, 0.0},
        {{{0, 1.0}, {1, 1.0}}, 0.0}, {{{m + 4, 1.0}}, 1.0}, {{{m + 3, 1.0}}, 0.0}};
    out.restrictions.q = static_cast<int>(rows.size());
    out.restrictions.h.assign(rows.size() * static_cast<std::size_t>(nn), 0.0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      for (const auto& [column, value] : rows[i].first)
        out.restrictions.h[static_cast<std::size_t>(column) * rows.size() + i] = value;
      out.restrictions.h0.push_back(rows[i].second);
    }
    return out;
  }();
  return f;
}

void restricted_vectors(benchmark::State& state) {
  const Fixture& f = fixture();
  const auto algorithm = static_cast<CvAlgorithm>(state.range(0));
  const CvProblem problem = cv_problem(f.fit, f.n, 2);
  CvEstimate est;
  for (auto _ : state) {
    if (general_restrictions(problem, f.restrictions, algorithm, 1.0, est) != CvFailure::kNone || est.iterations <= 0)
      state.SkipWithError("did not converge");
    benchmark::DoNotOptimize(est.beta.data());
  }
  state.counters["iterations"] = est.iterations;
  state.counters["LR"] = est.lr;
}
BENCHMARK(restricted_vectors)->Arg(1)->Arg(2)->ArgName("algorithm")->Unit(benchmark::kMillisecond);

}  // namespace
