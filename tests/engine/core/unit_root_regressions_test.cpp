// The Dickey-Fuller regressions kernel and the response-surface critical values.
#include "engine/core/unit_root_regressions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "shared/exchange_slots.h"

namespace {

using namespace qorv::core;

TEST(AdfRegressions, WithoutDeterministicTermsByHand) {
  // Δy = 2, −1, 3, −1, 2 on y(t − 1) = 1, 3, 2, 5, 4: Σ Δy·y₋₁ = 8, Σ y₋₁² = 55, Σ Δy² = 19,
  // so b = 8/55, RSS = 981/55, s.e. = sqrt(981)/110, t = 16/sqrt(981).
  const std::vector<double> y = {1, 3, 2, 5, 4, 6};
  const AdfRegressions r = ADFREGRESSIONS(y, 0, DeterministicTerms::kNone);
  ASSERT_EQ(r.orders.size(), 1u);
  EXPECT_EQ(r.observations, 5);
  const AdfRegression& df = r.orders.front();
  EXPECT_EQ(df.coefficients, 1);
  EXPECT_NEAR(df.coefficient, 8.0 / 55.0, 1e-15);
  EXPECT_NEAR(df.rss, 981.0 / 55.0, 1e-13);
  EXPECT_NEAR(df.std_error, std::sqrt(981.0) / 110.0, 1e-15);
  EXPECT_NEAR(df.statistic, 16.0 / std::sqrt(981.0), 1e-14);
  const double ll = -2.5 * (std::log(2.0 * std::numbers::pi * 981.0 / 275.0) + 1.0);
  EXPECT_NEAR(df.loglik, ll, 1e-12);
  EXPECT_NEAR(df.aic, ll - 1.0, 1e-12);
  EXPECT_NEAR(df.sbc, ll - 0.5 * std::log(5.0), 1e-12);
  EXPECT_NEAR(df.hqc, ll - std::log(std::log(5.0)), 1e-12);
}

TEST(AdfRegressions, EveryOrderUsesTheSampleOfTheHighest) {
  // With p = 1 the first value only supplies a lag: order 0 runs over Δy = −1, 3, −1, 2 on
  // y₋₁ = 3, 2, 5, 4 (Σ Δy·y₋₁ = −3 + 6 − 5 + 8 = 6, Σ y₋₁² = 54): b = 1/9.
  const std::vector<double> y = {1, 3, 2, 5, 4, 6};
  const AdfRegressions r = ADFREGRESSIONS(y, 1, DeterministicTerms::kNone);
  ASSERT_EQ(r.orders.size(), 2u);
  EXPECT_EQ(r.observations, 4);
  EXPECT_EQ(r.first_used, 2);
  EXPECT_NEAR(r.orders[0].coefficient, 1.0 / 9.0, 1e-15);
  EXPECT_EQ(r.orders[1].coefficients, 2);
}

TEST(AdfRegressions, LargestOrderLeavesOneDegreeOfFreedom) {
  struct Case {
    int length;
    DeterministicTerms terms;
    int largest;
  };
  for (const Case c : {Case{5, DeterministicTerms::kInterceptTrend, 0}, Case{4, DeterministicTerms::kInterceptTrend, -1},
                       Case{3, DeterministicTerms::kNone, 0}, Case{2, DeterministicTerms::kNone, -1},
                       Case{10, DeterministicTerms::kInterceptTrend, 2}, Case{11, DeterministicTerms::kIntercept, 3}}) {
    EXPECT_EQ(largest_adf_order(c.length, c.terms), c.largest) << c.length;
    const std::vector<double> y(static_cast<std::size_t>(c.length), 1.0);
    EXPECT_TRUE(ADFREGRESSIONS(y, c.largest + 1, c.terms).orders.empty());
  }
}

TEST(AdfRegressions, AConstantSeriesOrAMissingValueGivesNoStatistic) {
  std::vector<double> with_missing = {1, 3, 2, 5, 4, 6, 2, 7};
  with_missing[3] = limits::kMissing;
  for (const auto& y : {std::vector<double>(8, 4.0), with_missing}) {
    for (const AdfRegression& r : ADFREGRESSIONS(y, 1, DeterministicTerms::kIntercept).orders) {
      EXPECT_FALSE(r.fitted);
      EXPECT_EQ(r.statistic, limits::kMissing);
      EXPECT_EQ(r.loglik, limits::kMissing);
    }
  }
}

TEST(UnitRootCriticalValues, ResponseSurfaceTable) {
  EXPECT_EQ(unit_root_case(DeterministicTerms::kNone), 1);
  EXPECT_EQ(unit_root_case(DeterministicTerms::kInterceptTrend), 3);
  // One variable with an intercept at n = 100: −2.8621 − 0.02738 − 0.000836.
  EXPECT_NEAR(unit_root_critical_value(2, 100), -2.890316, 1e-12);
  // Two variables with an intercept at n = 100: −(3.3377 + 5.967/100 + 8.93/10000) = −3.3982.
  EXPECT_NEAR(unit_root_critical_value(4, 100), -3.398263, 1e-12);
  EXPECT_NEAR(unit_root_critical_value(13, 50), -(4.9767 + 20.883 / 50 + 9.05 / 2500), 1e-12);
  EXPECT_EQ(unit_root_critical_value(0, 100), limits::kMissing);
  EXPECT_EQ(unit_root_critical_value(14, 100), limits::kMissing);
  EXPECT_EQ(unit_root_critical_value(2, 0), limits::kMissing);
}

}  // namespace
