// Moving regression data in and out of the work array.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/num/matrices.h"
#include "engine/core/workspace.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;

class DataVectors : public qorv::testing::EngineTest {};

TEST_F(DataVectors, RelayoutLengthensBlocksInPlace) {
  std::vector<double> data = {0, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<double> work(2);
  RELAYOUTBLOCKS(data, 1, 2, 2, 1, 2, work, 5, -9.0);
  EXPECT_EQ(data, (std::vector<double>{0, -9, 1, 2, -9, -9, -9, 3, 4, -9, -9, 0, 0}));
  std::vector<double> plain = {1, 2, 3, 4, 0, 0, 0, 0};
  RELAYOUTBLOCKS(plain, 0, 2, 2, 0, 2, work, 4, 8.5);
  EXPECT_EQ(plain, (std::vector<double>{1, 2, 8.5, 8.5, 3, 4, 8.5, 8.5}));
  // A shorter new block would overwrite the data it still has to move.
  EXPECT_THROW(RELAYOUTBLOCKS(plain, 0, 0, 2, 0, 4, work, 2, 0.0), std::invalid_argument);
}

// Data set of 6 observations: y = variable 1, regressors 2 and 3; sample 2..4 (n = 3) with
// m = 2 observations after it kept for prediction.
TEST_F(DataVectors, ExtractCopiesTheSampleAndThePredictionBlocks) {
  globals().nobs = 6;
  auto work = work_array();
  for (int v = 1; v <= 3; ++v)
    for (int t = 1; t <= 6; ++t) data_at(t, v) = 10 * v + t;
  CurrentEstimation& est = current_estimation();
  est.list = {1, 2, 3};
  est.first_obs_offset = 1;
  est.n = 3;
  est.m = 2;
  est.k = 2;
  est.prediction_offset = 1000;
  std::vector<double> y(5);
  EXTRACTVARIABLES(work, y);
  EXPECT_EQ(y, (std::vector<double>{12, 13, 14, 15, 16}));
  EXPECT_EQ(std::vector<double>(work.begin() + 1000, work.begin() + 1004), (std::vector<double>{25, 26, 35, 36}));
}

TEST_F(DataVectors, ResidualsOfGivenCoefficients) {
  // ld 4, offset 1: y = (1, 3, 2), x1 = (1, 1, 1), x2 = (1, 2, 3).
  const std::vector<double> data = {0, 1, 3, 2, 0, 1, 1, 1, 0, 1, 2, 3};
  const std::vector<int> list = {1, 2, 3};
  std::vector<double> out(3);
  RESIDXB(data, std::vector<double>{1, 3, 2}, std::vector<double>{0.5, 0.5}, out, 3, 2, 1, 4, list);
  EXPECT_EQ(out, (std::vector<double>{0, 1.5, 0}));
}

// The fixture y = (1, 3, 2, 5), x = (1, 2, 3, 4) with the factor T of (X'X)⁻¹ =
// [[1.5, −0.5], [−0.5, 0.2]]: T(1,1) = √1.5, T(1,2) = −0.5/√1.5, T(2,2) = √(1/30).
TEST_F(DataVectors, RegressionThroughAStoredFactor) {
  std::vector<double> data = {1, 3, 2, 5, 1, 1, 1, 1, 1, 2, 3, 4, 0, 0, 0};
  const double r = std::sqrt(1.5);
  data[12] = r;
  data[13] = -0.5 / r;
  data[14] = std::sqrt(1.0 / 30);
  current_estimation().factor_offset = 12;
  const std::vector<int> list = {1, 2, 3};
  const std::vector<double> y = {1, 3, 2, 5};
  std::vector<double> w1(2), w2(4);
  CROSSPRODUCTS(data, list, 4, 4, 0, 2, y, y, w1, w2);
  EXPECT_NEAR(w1[0], 0.0, 1e-14);
  EXPECT_NEAR(w1[1], 1.1, 1e-14);
  const double res[4] = {-0.1, 0.8, -1.3, 0.6};
  for (int t = 0; t < 4; ++t) {
    EXPECT_NEAR(w2[t], res[t], 1e-14);
    EXPECT_NEAR(current_estimation().fitted[t], y[t] - res[t], 1e-14);
  }
  EXPECT_NEAR(current_estimation().rss, 2.7, 1e-13);
}

}  // namespace
