// AR covariance algebra against the textbook autocovariances and the dense quadratic form
// c'Σ⁻¹c of the AR(2) covariance matrix, solved independently in the test.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/num/matrices.h"
#include "engine/core/workspace.h"
#include "tests/engine/core/num/num_test_support.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using num_test::packed;

class ArCovariance : public qorv::testing::EngineTest {};

constexpr double kPhi1 = 0.5, kPhi2 = 0.3;

/// Autocovariances γ0..γ(n−1) of the AR(2) process with unit innovation variance.
std::vector<double> autocovariances(int n) {
  std::vector<double> g(static_cast<std::size_t>(std::max(n, 2)));
  g[0] = (1 - kPhi2) / ((1 + kPhi2) * ((1 - kPhi2) * (1 - kPhi2) - kPhi1 * kPhi1));
  g[1] = kPhi1 * g[0] / (1 - kPhi2);
  for (std::size_t k = 2; k < g.size(); ++k) g[k] = kPhi1 * g[k - 1] + kPhi2 * g[k - 2];
  return g;
}

TEST_F(ArCovariance, SetupGivesTheAutocovariances) {
  std::vector<double> v(3);
  int fail = -1;
  PACKEDSETUP(std::vector<double>{1, -kPhi1, -kPhi2}, v, 2, fail);
  ASSERT_EQ(fail, 0);
  EXPECT_NEAR(packed(v, 1, 1), 2.2435897435897436, 1e-14);
  EXPECT_NEAR(packed(v, 2, 1), 1.6025641025641026, 1e-14);
  EXPECT_NEAR(packed(v, 2, 2), 2.2435897435897436, 1e-14);
  std::vector<double> v1(1);
  PACKEDSETUP(std::vector<double>{1, -0.6}, v1, 1, fail);
  ASSERT_EQ(fail, 0);
  EXPECT_NEAR(v1[0], 1.0 / (1 - 0.36), 1e-15);
  // A unit root has no stationary covariance.
  PACKEDSETUP(std::vector<double>{1, -1}, v1, 1, fail);
  EXPECT_EQ(fail, 1);
}

/// c'·M·c through AR2BANDFORM with the band values of the AR(2) likelihood, and e = M·c.
double band_form(const std::vector<double>& c, std::vector<double>& e) {
  CurrentEstimation& est = current_estimation();
  est.n = static_cast<int>(c.size());
  est.band_input_offset = 100;
  est.band_output_offset = 200;
  auto work = work_array();
  std::copy(c.begin(), c.end(), work.begin() + 100);
  double result = -1.0;
  AR2BANDFORM(1, -kPhi1, -kPhi2, kPhi1 * kPhi2 - kPhi1, 1 + kPhi1 * kPhi1,
              1 + kPhi1 * kPhi1 + kPhi2 * kPhi2, 1, result, work);
  e.assign(work.begin() + 200, work.begin() + 200 + static_cast<long>(c.size()));
  return result;
}

// The band form for n >= 4 and the exact form chosen for n < 4 (the band does not fit
// there) both equal c'Σ⁻¹c.
TEST_F(ArCovariance, BandFormIsTheExactQuadraticForm) {
  const std::vector<double> all = {0.7, -1.2, 0.4, 2.0, -0.3, 1.1, 0.9};
  for (int n : {1, 2, 3, 4, 5, 7}) {
    const std::vector<double> c(all.begin(), all.begin() + n);
    const auto g = autocovariances(n);
    std::vector<std::vector<double>> sigma(n, std::vector<double>(n));
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) sigma[i][j] = g[static_cast<std::size_t>(std::abs(i - j))];
    const auto x = num_test::solve(sigma, c);  // Σ⁻¹c
    double expected = 0.0;
    for (int t = 0; t < n; ++t) expected += c[t] * x[t];
    std::vector<double> e;
    EXPECT_NEAR(band_form(c, e), expected, 1e-13 * std::fabs(expected)) << "n = " << n;
    for (int t = 0; t < n; ++t) EXPECT_NEAR(e[t], x[t], 1e-13) << "n = " << n << " t = " << t;
  }
}

}  // namespace
