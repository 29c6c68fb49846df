// Relations on parameters at the sizes a system of equations allows (up to 200
// parameters): r relations, each a sum of products of parameters, their central-difference
// Jacobian (2·r·p evaluations), J V J' and the Wald statistic.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/diagnostics/parameter_relations.h"

namespace {

using namespace qorv::diagnostics;

void wald(benchmark::State& state) {
  const int p = static_cast<int>(state.range(0)), r = static_cast<int>(state.range(1));
  const std::vector<int> blocks = {p / 2, p - p / 2};
  const std::vector<std::string> names = parameter_names(blocks);
  std::vector<double> theta;
  for (int j = 0; j < p; ++j) theta.push_back(0.5 + 0.01 * j);
  std::vector<double> v(static_cast<std::size_t>(p) * (p + 1) / 2, 0.01);
  for (int i = 1; i <= p; ++i) v[static_cast<std::size_t>(i * (i + 1) / 2 - 1)] = 1.0;
  // Relation i: the product of two parameters plus a third, minus a constant.
  std::string text;
  for (int i = 0; i < r; ++i)
    text += names[static_cast<std::size_t>(i % p)] + "*" + names[static_cast<std::size_t>((i + 1) % p)] + "+" +
            names[static_cast<std::size_t>((i + 7) % p)] + "=" + std::to_string(i) + ";";
  for (auto _ : state) {
    const RelationParse parse = parse_relations(text, RelationMode::kRestrictions, names, p);
    const RelationValues values = evaluate_relations(parse.relations, theta);
    const std::vector<double> jvj = function_covariance(values.jacobian, r, v, p, 1.0);
    benchmark::DoNotOptimize(wald_statistic(values.f, jvj));
  }
}
BENCHMARK(wald)->Args({4, 2})->Args({50, 20})->Args({200, 50})->Args({200, 200})->Unit(benchmark::kMillisecond);

}  // namespace
