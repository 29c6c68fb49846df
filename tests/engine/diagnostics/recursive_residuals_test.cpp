// Recursive residuals against the reference values, and the collinear first regressions.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/obs_label.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/recursive_residuals.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/diagnostics/estimate_fixture.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::diagnostics;
namespace macro = qorv::testing::macro;

namespace {

class Recursive : public qorv::testing::EstimateTest {
 protected:
  /// A regressor DUM that is 1 from observation `from` on.
  void add_step(int from) {
    auto& g = core::globals();
    g.nvars = 7;
    core::set_variable(7, "DUM", "");
    for (int t = 1; t <= g.nobs; ++t) core::data_at(t, 7) = t >= from ? 1.0 : 0.0;
  }
};

}  // namespace

TEST_F(Recursive, ResidualsAgreeWithTheReference) {
  std::map<std::string, qorv::testing::Expected> ex;
  {
    std::ifstream in(std::string(ZV_REFERENCE_DIR) + "/single-extra/expected.csv");
    ASSERT_TRUE(in);
    for (std::string line; std::getline(in, line);) {
      if (!line.starts_with("REC_S,REC_RESID:")) continue;
      std::vector<std::string> f;
      std::stringstream fields(line);
      for (std::string x; std::getline(fields, x, ',');) f.push_back(x);
      ex[f[1].substr(10)] = {std::stod(f[2]), std::stod(f[3]), f[4] == "rel"};
    }
  }
  ASSERT_EQ(ex.size(), 191u);
  estimate_ols({macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 1, 196);
  RecursiveResiduals r;
  ASSERT_TRUE(RECURSIVERESID(r));
  EXPECT_EQ(r.m, 5);
  ASSERT_EQ(r.w.size(), 196u);
  for (int t = 1; t <= 5; ++t) EXPECT_EQ(r.w[static_cast<size_t>(t - 1)], limits::kMissing);
  for (int t = 6; t <= 196; ++t) {
    const std::string label = qorv::testing::trim(core::OBSLABEL(t));
    ASSERT_EQ(ex.count(label), 1u) << label;
    EXPECT_PRED2(qorv::testing::agrees, r.w[static_cast<size_t>(t - 1)], ex.at(label)) << label;
  }
}

TEST_F(Recursive, FirstRegressionGrowsWhileItIsSingular) {
  add_step(101);  // the first 100 observations cannot identify DUM
  estimate_ols({macro::kLc, macro::kIntercept, 7}, 1, 196);
  RecursiveResiduals r;
  ASSERT_TRUE(RECURSIVERESID(r));
  EXPECT_EQ(r.m, 101);
  EXPECT_EQ(r.w[100], limits::kMissing);
  EXPECT_NE(r.w[101], limits::kMissing);
}

TEST_F(Recursive, CollinearToTheEndIsReported) {
  add_step(196);  // only the last observation identifies DUM
  estimate_ols({macro::kLc, macro::kIntercept, 7}, 1, 196);
  ASSERT_EQ(single::estimation().status, 0);
  RecursiveResiduals r;
  EXPECT_FALSE(RECURSIVERESID(r));
  EXPECT_TRUE(r.w.empty());
  const auto& transcript = dialog_script::transcript();
  EXPECT_NE(std::find(transcript.begin(), transcript.end(), "message error 0  First 195 observations are collinear!"),
            transcript.end());
}
