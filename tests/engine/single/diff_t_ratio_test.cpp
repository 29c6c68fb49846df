// The differenced-series t-ratio against the residual unit-root reference, and its fallbacks.
#include "engine/single/diff_t_ratio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/num/packed_least_squares.h"
#include "shared/exchange_slots.h"
#include "tests/engine/single/macro_reference.h"

namespace {

using qorv::single::DIFFTRATIO;
using qorv::single::DiffTRatio;

/// Residuals of the static consumption function LC on INPT LY INFL R, 1960Q1-2008Q4.
std::vector<double> static_residuals() {
  const auto table = qorv::testing::read_data_table(qorv::testing::macro_reference_file("data.csv"));
  const int n = static_cast<int>(table.rows.size());
  // Columns of data.csv after the observation: INPT, LC, LY, INFL, R.
  std::vector<double> data(static_cast<std::size_t>(5 * n));
  for (int t = 0; t < n; ++t)
    for (int v = 0; v < 5; ++v) data[static_cast<std::size_t>(v * n + t)] = table.rows[static_cast<std::size_t>(t)][static_cast<std::size_t>(v)];
  const std::vector<double> y(data.begin() + n, data.begin() + 2 * n);
  const std::vector<int> list = {2, 1, 3, 4, 5};
  std::vector<double> b(4), fitted(static_cast<std::size_t>(n)), resid(static_cast<std::size_t>(n)), inverse(10);
  double rss = 0.0;
  int fail = 0;
  qorv::core::PACKEDXTXSOLVE(data, 0, y, list, 4, n, n, 0, 0, b, fitted, resid, rss, inverse, fail);
  EXPECT_EQ(fail, 0);
  return resid;
}

TEST(DiffTRatio, EveryOrderOfTheResidualReference) {
  const auto expected = qorv::testing::single_extra_expected("RADF_S");
  const std::vector<double> e = static_residuals();
  ASSERT_EQ(e.size(), 196u);
  for (int j = 0; j <= 4; ++j) {
    const DiffTRatio r = DIFFTRATIO(e, 4, j, -99.0, 1e-11);
    ASSERT_TRUE(r.fitted) << j;
    EXPECT_EQ(r.observations, 191);
    EXPECT_PRED2(qorv::testing::agrees, r.statistic, expected.at("STAT:" + std::to_string(j))) << j;
    EXPECT_PRED2(qorv::testing::agrees, r.loglik, expected.at("LL:" + std::to_string(j))) << j;
  }
}

TEST(DiffTRatio, ByHandWithoutLags) {
  // Δe = 2, −1, 3, −1, 2 on e(t − 1) = 1, 3, 2, 5, 4: b = 8/55, RSS = 981/55, sigma² = RSS/4,
  // s.e. = sqrt(981)/110 and t = 16/sqrt(981).
  const std::vector<double> e = {1, 3, 2, 5, 4, 6};
  const DiffTRatio r = DIFFTRATIO(e, 0, 0, -99.0, 1e-11);
  ASSERT_TRUE(r.fitted);
  EXPECT_NEAR(r.statistic, 16.0 / std::sqrt(981.0), 1e-14);
  EXPECT_NEAR(r.sigma, std::sqrt(981.0 / 220.0), 1e-14);
}

TEST(DiffTRatio, FallsBackWhenNoStatisticExists) {
  const std::vector<double> e = {1, 3, 2, 5, 4, 6, 5, 8};
  const double missing = limits::kMissing;
  struct Case {
    const char* why;
    std::vector<double> series;
    int offset, lags;
    double tolerance;
  };
  const std::vector<Case> cases = {
      {"lags + 1 equals the usable observations", e, 5, 1, 1e-11},   // N = 2
      {"lags before the series", e, 1, 2, 1e-11},
      {"offset past the series", e, 8, 0, 1e-11},
      {"negative lags", e, 2, -1, 1e-11},
      {"a zero series is singular", std::vector<double>(8, 0.0), 1, 1, 1e-11},
      {"a missing value", {1, 3, missing, 5, 4, 6, 5, 8}, 1, 1, 1e-11},
      {"standard error below the tolerance", e, 1, 1, 1e3},
  };
  for (const Case& c : cases) {
    const DiffTRatio r = DIFFTRATIO(c.series, c.offset, c.lags, -99.0, c.tolerance);
    EXPECT_FALSE(r.fitted) << c.why;
    EXPECT_EQ(r.statistic, -99.0) << c.why;
    EXPECT_EQ(r.loglik, missing) << c.why;
  }
  EXPECT_TRUE(DIFFTRATIO(e, 4, 1, -99.0, 1e-11).fitted);  // N = 3 > lags + 1
}

}  // namespace
