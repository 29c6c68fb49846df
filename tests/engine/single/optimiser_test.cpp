// The conjugate-direction minimiser on callable objectives: quadratics, Rosenbrock's
// valley, a flat direction, and the iteration limit.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/single/optimiser.h"

namespace {

using namespace qorv::single;

const LimitHandler kRaise = [](int& limit, bool&, bool&) { limit += 20; };

struct Problem {
  const char* name;
  Objective f;
  std::vector<double> start;
  std::vector<double> minimiser;
};

/// Accuracies of the MA driver's form, ten times coarser: a line moves at most 400·E(i)
/// per expansion and G (doubled by each expansion of an iteration) fails above 1e11, so an
/// iteration travels at most about 31·400·E; these problems start a few units away.
std::vector<double> accuracies(const std::vector<double>& x) {
  std::vector<double> e;
  for (double v : x) e.push_back(0.001 * (1.0 + 0.1 * std::fabs(v)));
  return e;
}

TEST(Optimiser, ReachesTheMinimiserWithinTenAccuracies) {
  const std::vector<Problem> problems = {
      {"quadratic 2", [](std::span<const double> x, int&) {
         const double a = x[0] - 1.0, b = x[1] + 2.0;
         return 4 * a * a + 3 * a * b + 2 * b * b + 7.0;
       }, {0.0, 0.0}, {1.0, -2.0}},
      {"quadratic 5", [](std::span<const double> x, int&) {
         double f = 2.5;
         for (int i = 0; i < 5; ++i) {
           const double d = x[i] - 0.5 * i;
           f += (i + 1) * d * d;
           if (i > 0) f += 0.5 * d * (x[i - 1] - 0.5 * (i - 1));
         }
         return f;
       }, {0.3, -0.2, 0.1, 0.0, 0.4}, {0.0, 0.5, 1.0, 1.5, 2.0}},
      {"Rosenbrock", [](std::span<const double> x, int&) {
         const double a = 1.0 - x[0], b = x[1] - x[0] * x[0];
         return a * a + 100.0 * b * b + 1.0;
       }, {-1.2, 1.0}, {1.0, 1.0}},
  };
  OptimiserTrace trace;
  for (const auto& p : problems) {
    std::vector<double> x = p.start;
    const auto e = accuracies(x);
    const OptimiserRun run = OPTIMISE(p.f, x, e, 10, kRaise, &trace);
    ASSERT_FALSE(run.failed) << p.name;
    EXPECT_FALSE(run.print);
    for (size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(x[i], p.minimiser[i], 10 * e[i]) << p.name << " " << i;
    int fail = 0;
    EXPECT_DOUBLE_EQ(run.f, p.f(x, fail)) << p.name;
  }
  // Every end of an iteration was reached across the problems.
  EXPECT_GT(trace.kept, 0);
  EXPECT_GT(trace.replaced, 0);
  EXPECT_GT(trace.expansions, 0);
  EXPECT_GT(trace.first_converged, 0);
  EXPECT_GT(trace.final_checks, 0);
}

TEST(Optimiser, FlatDirectionFailsCleanly) {
  const Objective f = [](std::span<const double> x, int&) { return (x[0] - 3.0) * (x[0] - 3.0); };
  std::vector<double> x{0.0, 0.0};
  const OptimiserRun run = OPTIMISE(f, x, accuracies(x), 10, kRaise);
  EXPECT_TRUE(run.failed);
  // x1 reached its minimum; the flat line along x2 doubled its trial step past its bound.
  EXPECT_NEAR(x[0], 3.0, 1e-6);
  EXPECT_TRUE(std::isfinite(x[1]));
}

TEST(Optimiser, FunctionFailureAndIterationLimit) {
  // The objective fails once x leaves [−1, 1]: the optimiser stops at once.
  const Objective guarded = [](std::span<const double> x, int& fail) {
    if (std::fabs(x[0]) > 1.0) fail = 1;
    return (x[0] - 5.0) * (x[0] - 5.0);
  };
  std::vector<double> x{0.9};
  EXPECT_TRUE(OPTIMISE(guarded, x, std::vector<double>{0.01}, 10, kRaise).failed);
  // Rosenbrock does not converge in one iteration: abandon fails, print returns the point.
  const Objective rosen = [](std::span<const double> v, int&) {
    const double a = 1.0 - v[0], b = v[1] - v[0] * v[0];
    return a * a + 100.0 * b * b;
  };
  int asked = 0;
  std::vector<double> y{-1.2, 1.0};
  auto run = OPTIMISE(rosen, y, accuracies(y), 1, [&](int&, bool& abandon, bool&) { ++asked; abandon = true; });
  EXPECT_TRUE(run.failed);
  EXPECT_EQ(asked, 1);
  y = {-1.2, 1.0};
  run = OPTIMISE(rosen, y, accuracies(y), 1, [](int&, bool&, bool& print) { print = true; });
  EXPECT_FALSE(run.failed);
  EXPECT_TRUE(run.print);
  EXPECT_EQ(run.iterations, 2);
}

}  // namespace
