// The Gaussian log-likelihood from the log-determinant of a covariance matrix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using num_test::pack;

class LogDeterminant : public qorv::testing::EngineTest {};

TEST_F(LogDeterminant, WorkedValues) {
  std::vector<double> one = {1.0};
  int fail = -1;
  EXPECT_NEAR(LOGDETERMINANT(one, 1, 10, 0.0, fail), -14.189385332046726, 1e-12);
  EXPECT_EQ(fail, 0);
  // −5·(ln 3 + 2·(1 + ln 2π))
  auto two = pack({{2, 1}, {1, 2}});
  EXPECT_NEAR(LOGDETERMINANT(two, 2, 10, 0.0, fail), -33.871832107434, 1e-11);
  EXPECT_EQ(fail, 0);
  EXPECT_TRUE(dialog_script::transcript().empty());
}

// The third series is the sum of the first two: whatever the scale, the
// factorisation fails, the user is told, and the fallback comes back.
TEST_F(LogDeterminant, RelatedVariablesGiveTheFallbackAndTheMessage) {
  for (double scale : {1e-8, 1.0, 1e8}) {
    dialog_script::reset();
    auto a = pack({{2 * scale, 1 * scale, 3 * scale}, {1 * scale, 3 * scale, 4 * scale}, {3 * scale, 4 * scale, 7 * scale}});
    int fail = -1;
    EXPECT_EQ(LOGDETERMINANT(a, 3, 50, -999.5, fail), -999.5);
    EXPECT_EQ(fail, 1);
    ASSERT_EQ(dialog_script::transcript().size(), 1u);
    EXPECT_NE(dialog_script::transcript()[0].find("An almost exact relationship between variables in the model exists!"),
              std::string::npos);
  }
}

}  // namespace
