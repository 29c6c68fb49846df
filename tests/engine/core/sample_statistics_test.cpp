// Means, variances, extremes and average ranks, with the missing code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/sample_statistics.h"
#include "shared/exchange_slots.h"

namespace {

using namespace qorv::core;
constexpr double M = limits::kMissing;

std::vector<double> read_nist(const std::string& name) {
  std::ifstream in(ZV_REFERENCE_DIR "/data-commands/nist-univariate/" + name + "/data.csv");
  std::vector<double> values;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) values.push_back(std::strtod(line.c_str(), nullptr));
  return values;
}

TEST(SampleStatistics, MeanAndVarianceOfNistSetsWithLargeMeans) {
  // Certified s.d. 0.1 about means of 1e6 and 1e7: a one-pass variance loses every digit.
  struct Case {
    const char* name;
    double mean;
    double sd_tolerance;  // the data's decimal values are not binary numbers
  };
  for (const Case& c : {Case{"NumAcc3", 1000000.2, 5e-9}, Case{"NumAcc4", 10000000.2, 1e-7}}) {
    const auto values = read_nist(c.name);
    ASSERT_EQ(values.size(), 1001u) << c.name;
    double mean = 0.0, variance = 0.0;
    MEANVAR(values, mean, variance);
    EXPECT_NEAR(mean, c.mean, 1e-12 * c.mean) << c.name;
    EXPECT_NEAR(std::sqrt(variance), 0.1, c.sd_tolerance * 0.1) << c.name;
  }
}

TEST(SampleStatistics, TooFewValuesGiveTheMissingCode) {
  double mean = 0.0, variance = 0.0;
  MEANVAR(std::vector<double>{}, mean, variance);
  EXPECT_EQ(mean, M);
  EXPECT_EQ(variance, M);
  MEANVAR(std::vector<double>{4.0}, mean, variance);
  EXPECT_EQ(mean, 4.0);
  EXPECT_EQ(variance, M);
}

// Values near the largest double once summed to an infinite mean and variance, which were
// stored and printed: the mean of values that fit is kept, a variance too large is missing.
TEST(SampleStatistics, ValuesTooLargeToSquareGiveNoInfinity) {
  const struct {
    std::vector<double> values;
    double mean, variance;
  } cases[] = {
      {{1e308, 1e308, 1e308}, 1e308, 0.0},
      {{1e300, -1e300}, 0.0, M},
      {{1e200, 0.0, 1.0}, 1e200 / 3, M},
      {{1e150, -1e150}, 0.0, 2e300},
  };
  for (const auto& c : cases) {
    double mean = 0.0, variance = 0.0;
    MEANVAR(c.values, mean, variance);
    EXPECT_DOUBLE_EQ(mean, c.mean);
    EXPECT_DOUBLE_EQ(variance, c.variance);
    int count = 0;
    MEANSDMISSING(c.values, mean, variance, M, count);
    EXPECT_DOUBLE_EQ(variance, c.variance);
  }
}

TEST(SampleStatistics, MissingValuesAreSkipped) {
  struct Case {
    std::vector<double> values;
    double mean, variance;
    int count;
    double max, min;
  };
  const Case cases[] = {
      {{2, M, 4}, 3, 2, 2, 4, 2},
      {{M, -1.5, M}, -1.5, M, 1, -1.5, -1.5},
      {{M, M}, M, M, 0, M, M},
      {{}, M, M, 0, M, M},
      {{M, 5, -7, 1, M}, -1.0 / 3, 112.0 / 3, 3, 5, -7},
  };
  for (const Case& c : cases) {
    double mean = 0.0, variance = 0.0, max = 0.0, min = 0.0;
    int count = -1;
    MEANSDMISSING(c.values, mean, variance, M, count);
    EXPECT_DOUBLE_EQ(mean, c.mean);
    EXPECT_DOUBLE_EQ(variance, c.variance);
    EXPECT_EQ(count, c.count);
    MINMAXSKIPMISS(c.values, max, min, M);
    EXPECT_EQ(max, c.max);
    EXPECT_EQ(min, c.min);
  }
}

TEST(SampleStatistics, AverageRanksShareTiedPositions) {
  std::vector<double> ranks(3);
  AVERAGERANKS(std::vector<double>{3, 1, 3}, std::vector<double>{1, 3, 3}, ranks);
  EXPECT_EQ(ranks, (std::vector<double>{2.5, 1, 2.5}));

  // A run of four ties among unsorted reference values, and a value found nowhere.
  std::vector<double> y{5, 2, 5, 9, 5, 5};
  std::vector<double> x{5, 9, 2, 7, 5, 5};
  ranks.assign(6, 0.0);
  AVERAGERANKS(x, y, ranks);
  EXPECT_EQ(ranks, (std::vector<double>{3.75, 4, 2, M, 3.75, 3.75}));
}

}  // namespace
