// Sign agreement counts and the directional-accuracy statistic.
#include "engine/core/sign_counts.h"

#include <gtest/gtest.h>

#include <vector>

#include "shared/exchange_slots.h"

namespace {

using namespace qorv::core;
constexpr double M = limits::kMissing;

TEST(SignCounts, SharesOfPositivesAndAgreement) {
  const std::vector<double> x = {1, -1, 2}, y = {1, 1, 1};
  const SignCounts s = SIGNCOUNTS(x, y, M);
  ASSERT_TRUE(s.complete);
  EXPECT_DOUBLE_EQ(s.px, 2.0 / 3.0);
  EXPECT_EQ(s.py, 1.0);
  EXPECT_DOUBLE_EQ(s.agreement, 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(s.p, 2.0 / 3.0);
  EXPECT_NEAR(s.variance, 0.0, 1e-16);
  EXPECT_EQ(directional_accuracy(x, y, M, 1e-11), M);
}

TEST(SignCounts, ZeroCountsAsNegativeAndMissingValuesStopTheCount) {
  const std::vector<double> x = {0, -2}, y = {-1, 0};
  EXPECT_EQ(SIGNCOUNTS(x, y, M).agreement, 1.0);
  EXPECT_FALSE(SIGNCOUNTS(std::vector<double>{1, M}, std::vector<double>{1, 1}, M).complete);
  EXPECT_FALSE(SIGNCOUNTS(std::vector<double>{}, std::vector<double>{}, M).complete);
  EXPECT_FALSE(SIGNCOUNTS(std::vector<double>{1, 2}, std::vector<double>{1}, M).complete);
}

}  // namespace
