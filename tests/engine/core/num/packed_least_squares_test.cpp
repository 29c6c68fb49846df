// Least squares through the packed cross-product matrix on a fixture small enough to check
// by hand: y = (1, 3, 2, 5) on a constant and x = (1, 2, 3, 4), held as observations 2..5
// of data columns with 6 observations (leading dimension 6, first-observation offset 1).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using num_test::packed;

constexpr int kLd = 6;
constexpr long kFirst = 1;
constexpr double kUntouched = -777.0;

class PackedLeastSquares : public qorv::testing::EngineTest {
 protected:
  // Variable 1 = y, 2 = constant, 3 = x, 4 = 2·x; the 9s lie outside the sample.
  std::vector<double> data = {9, 1, 3, 2, 5, 9, 9, 1, 1, 1, 1, 9, 9, 1, 2, 3, 4, 9, 9, 2, 4, 6, 8, 9};
  std::vector<int> list = {1, 2, 3};
  std::span<const double> y() const { return std::span<const double>(data).subspan(kFirst, 4); }
  std::vector<double> b = std::vector<double>(2, kUntouched);
  std::vector<double> fitted = std::vector<double>(4, kUntouched);
  std::vector<double> work = std::vector<double>(4, kUntouched);
  std::vector<double> m = std::vector<double>(3, 0.0);
  double rss = kUntouched;
  int fail = -1;
};

TEST_F(PackedLeastSquares, FitsEstimatesFittedValuesResidualsAndInverse) {
  PACKEDXTXSOLVE(data, kFirst, y(), list, 2, 4, kLd, 0, 0, b, fitted, work, rss, m, fail);
  ASSERT_EQ(fail, 0);
  EXPECT_NEAR(b[0], 0.0, 1e-15);
  EXPECT_NEAR(b[1], 1.1, 1e-15);
  const double fit[4] = {1.1, 2.2, 3.3, 4.4}, res[4] = {-0.1, 0.8, -1.3, 0.6};
  for (int t = 0; t < 4; ++t) {
    EXPECT_NEAR(fitted[t], fit[t], 1e-15);
    EXPECT_NEAR(work[t], res[t], 1e-15);
  }
  EXPECT_NEAR(rss, 2.7, 1e-14);
  EXPECT_NEAR(packed(m, 1, 1), 1.5, 1e-15);
  EXPECT_NEAR(packed(m, 2, 1), -0.5, 1e-15);
  EXPECT_NEAR(packed(m, 2, 2), 0.2, 1e-15);
}

TEST_F(PackedLeastSquares, InverseOnlyModeLeavesTheFitUntouched) {
  PACKEDXTXSOLVE(data, kFirst, y(), list, 2, 4, kLd, 0, kSolveInverseOnly, b, fitted, work, rss, m, fail);
  ASSERT_EQ(fail, 0);
  EXPECT_NEAR(packed(m, 2, 2), 0.2, 1e-15);
  EXPECT_EQ(b[0], kUntouched);
  EXPECT_EQ(fitted[0], kUntouched);
  EXPECT_EQ(work[0], kUntouched);
  EXPECT_EQ(rss, kUntouched);
}

TEST_F(PackedLeastSquares, ReuseModeSolvesANewColumnWithTheSameInverse) {
  PACKEDXTXSOLVE(data, kFirst, y(), list, 2, 4, kLd, 0, kSolveInverseOnly, b, fitted, work, rss, m, fail);
  const auto inverse = m;
  const auto y2 = std::span<const double>(data).subspan(3 * kLd + kFirst, 4);  // 2·x
  PACKEDXTXSOLVE(data, kFirst, y2, list, 2, 4, kLd, 0, kSolveReuseInverse, b, fitted, work, rss, m, fail);
  ASSERT_EQ(fail, 0);
  EXPECT_EQ(m, inverse);
  EXPECT_NEAR(b[0], 0.0, 1e-15);
  EXPECT_NEAR(b[1], 2.0, 1e-15);
  EXPECT_NEAR(rss, 0.0, 1e-28);
}

TEST_F(PackedLeastSquares, SingularOrNonFiniteInputFailsBeforeWriting) {
  // x and 2·x: exactly collinear.
  const std::vector<int> collinear = {1, 3, 4};
  PACKEDXTXSOLVE(data, kFirst, y(), collinear, 2, 4, kLd, 0, 0, b, fitted, work, rss, m, fail);
  EXPECT_EQ(fail, 1);
  EXPECT_EQ(numerical_state().failure, 1);
  clear_numerical_failure();
  std::vector<double> bad_y = {1, std::numeric_limits<double>::quiet_NaN(), 2, 5};
  PACKEDXTXSOLVE(data, kFirst, bad_y, list, 2, 4, kLd, 0, 0, b, fitted, work, rss, m, fail);
  EXPECT_EQ(fail, 1);
  EXPECT_EQ(numerical_state().failure, 1);
  EXPECT_EQ(b[0], kUntouched);
  EXPECT_EQ(fitted[0], kUntouched);
  EXPECT_EQ(work[0], kUntouched);
  EXPECT_EQ(rss, kUntouched);
}

TEST_F(PackedLeastSquares, ColumnsOutsideTheDataAreRefused) {
  const std::vector<int> beyond = {1, 2, 5};
  EXPECT_THROW(PACKEDXTXSOLVE(data, kFirst, y(), beyond, 2, 4, kLd, 0, 0, b, fitted, work, rss, m, fail),
               std::invalid_argument);
  const std::vector<int> short_list = {1, 2};
  EXPECT_THROW(PACKEDXTXSOLVE(data, kFirst, y(), short_list, 2, 4, kLd, 0, 0, b, fitted, work, rss, m, fail),
               std::invalid_argument);
}

// Weighted least squares with weights (1, 2, 1, 2): W = diag(w)·X, W'X = [[6, 16], [16, 50]],
// b = (3/22, 25/22).
TEST_F(PackedLeastSquares, GlsTypeFitWithTransformedRegressors) {
  current_estimation().list = list;
  const std::vector<double> w = {1, 2, 1, 2, 1, 4, 3, 8};  // column-major 4 × 2
  PACKEDPRODUCT(data, m, 2, kLd, kFirst, w, y(), fitted, b, work, 4, fail, 1);
  ASSERT_EQ(fail, 0);
  EXPECT_NEAR(b[0], 3.0 / 22, 1e-15);
  EXPECT_NEAR(b[1], 25.0 / 22, 1e-15);
  EXPECT_NEAR(packed(m, 1, 1), 50.0 / 44, 1e-14);
  EXPECT_NEAR(packed(m, 2, 1), -16.0 / 44, 1e-14);
  const double res[4] = {-3.0 / 11, 13.0 / 22, -17.0 / 11, 7.0 / 22};
  for (int t = 0; t < 4; ++t) {
    EXPECT_NEAR(work[t], res[t], 1e-15);
    EXPECT_NEAR(fitted[t], y()[t] - res[t], 1e-15);
  }
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(PackedLeastSquares, FailedGlsTypeFitShowsTheMessageOnlyWhenAsked) {
  current_estimation().list = list;
  const std::vector<double> zero(8, 0.0);
  PACKEDPRODUCT(data, m, 2, kLd, kFirst, zero, y(), fitted, b, work, 4, fail, 0);
  EXPECT_EQ(fail, 1);
  EXPECT_TRUE(dialog_script::transcript().empty());
  PACKEDPRODUCT(data, m, 2, kLd, kFirst, zero, y(), fitted, b, work, 4, fail, 1);
  EXPECT_EQ(fail, 1);
  EXPECT_FALSE(dialog_script::transcript().empty());
  EXPECT_EQ(b[0], kUntouched);
}

TEST_F(PackedLeastSquares, QuadraticFormOfOneObservation) {
  const auto inverse = num_test::pack({{1.5, -0.5}, {-0.5, 0.2}});
  std::vector<double> w(2);
  // Observation 2 of the sample (x = 2): offsets 1 (sample) + 2 (observation).
  EXPECT_NEAR(PACKEDQUADFORMS(data, kFirst, list, 2, kLd, 2, inverse, w), 0.3, 1e-15);
  EXPECT_NEAR(w[0], 0.5, 1e-15);
  EXPECT_NEAR(w[1], -0.1, 1e-15);
  EXPECT_EQ(PACKEDQUADFORMS(data, kFirst, list, 2, kLd, 0, inverse, w), 0.0);
}

}  // namespace
