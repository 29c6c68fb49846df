// Residuals accurate to the data's precision on ordinary levels data: the consumption
// equation with a lagged dependent variable (condition number of X'X about 1.8e6), whose
// functional-form statistic is a cross product of the squared fitted values with the
// residuals. Raw cross products and the explicit inverse alone get its fourth digit wrong.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using num_test::parse;

const std::string kDir = ZV_REFERENCE_DIR "/ols-macro/";

struct Expected {
  double value, tolerance;
};

std::map<std::string, Expected> expected_of(const std::string& which) {
  std::map<std::string, Expected> out;
  for (const auto& row : num_test::read_csv(kDir + "expected.csv"))
    if (row[0] == which && row[4] == "rel") out[row[1]] = {parse(row[2]), parse(row[3])};
  return out;
}

class ResidualAccuracy : public qorv::testing::EngineTest {};

TEST_F(ResidualAccuracy, FunctionalFormStatisticOfTheDynamicEquation) {
  std::vector<double> lc, ly, infl, r;
  for (const auto& row : num_test::read_csv(kDir + "data.csv")) {
    lc.push_back(parse(row[2]));
    ly.push_back(parse(row[3]));
    infl.push_back(parse(row[4]));
    r.push_back(parse(row[5]));
  }
  // LC on INPT, LC(-1), LY, INFL, R over the second to the last observation.
  const int n = static_cast<int>(lc.size()) - 1, k = 5;
  std::vector<double> data;
  for (int t = 1; t <= n; ++t) data.push_back(lc[t]);
  for (int t = 1; t <= n; ++t) data.push_back(1.0);
  for (int t = 1; t <= n; ++t) data.push_back(lc[t - 1]);
  for (int t = 1; t <= n; ++t) data.push_back(ly[t]);
  for (int t = 1; t <= n; ++t) data.push_back(infl[t]);
  for (int t = 1; t <= n; ++t) data.push_back(r[t]);
  const std::vector<int> list = {1, 2, 3, 4, 5, 6};
  std::vector<double> b(k), fitted(n), e(n), m(15);
  double rss = 0.0;
  int fail = -1;
  PACKEDXTXSOLVE(data, 0, std::span<const double>(data).first(n), list, k, n, n, 0, 0, b, fitted, e, rss, m, fail);
  ASSERT_EQ(fail, 0);

  const auto ref = expected_of("D");
  const char* names[] = {"INPT", "LC(-1)", "LY", "INFL", "R"};
  for (int j = 0; j < k; ++j) {
    const Expected c = ref.at(std::string("coef:") + names[j]);
    EXPECT_NEAR(b[j], c.value, c.tolerance * std::fabs(c.value)) << names[j];
  }
  EXPECT_NEAR(rss, ref.at("RSS").value, ref.at("RSS").tolerance * ref.at("RSS").value);

  // The residuals on the regressors and the squared fitted values.
  std::vector<double> aux(e);
  aux.insert(aux.end(), data.begin() + n, data.end());
  for (int t = 0; t < n; ++t) aux.push_back(fitted[t] * fitted[t]);
  const std::vector<int> aux_list = {1, 2, 3, 4, 5, 6, 7};
  std::vector<double> b2(k + 1), fitted2(n), e2(n), m2(21);
  double rss2 = 0.0;
  PACKEDXTXSOLVE(aux, 0, std::span<const double>(aux).first(n), aux_list, k + 1, n, n, 0, 0, b2, fitted2, e2,
                 rss2, m2, fail);
  ASSERT_EQ(fail, 0);
  const double lm = n * (rss - rss2) / rss;
  const Expected reset = ref.at("B_LM");
  EXPECT_NEAR(lm, reset.value, reset.tolerance * reset.value);
}

}  // namespace
