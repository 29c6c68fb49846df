#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/num/packed_index.h"
#include "engine/core/report_lines.h"
#include "engine/multi/dynamic_response.h"
#include "engine/multi/var_hypotheses.h"
#include "engine/multi/var_model.h"
#include "shared/exchange_slots.h"
#include "tests/engine/multi/var_reference.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using multi::FitStatus;
using multi::VarFit;

std::map<std::string, Expected> var_expected(const std::string& case_name) {
  return read_expected(std::string(ZV_REFERENCE_DIR) + "/var/expected.csv", case_name, {"definite"});
}

void expect_agrees(const std::map<std::string, Expected>& rows, const std::string& key, double value) {
  const auto it = rows.find(key);
  ASSERT_NE(it, rows.end()) << key;
  EXPECT_TRUE(agrees(value, it->second)) << key << ": " << value << " against " << it->second.value;
}

/// The non-causal groups of a case (column "noncausal" of cases.csv).
std::vector<std::vector<std::string>> noncausal_groups(const std::string& case_name) {
  std::ifstream in(std::string(ZV_REFERENCE_DIR) + "/var/cases.csv");
  std::string line;
  std::vector<std::vector<std::string>> groups;
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    if (f.size() < 11 || f[0] != case_name) continue;
    std::stringstream text(f[10]);
    std::string group;
    while (std::getline(text, group, '|')) {
      std::stringstream names(group);
      std::vector<std::string>& out = groups.emplace_back();
      for (std::string name; names >> name;) out.push_back(name);
    }
  }
  return groups;
}

double chi_prob(double x, int df) { return core::tail_probability(core::ProbKind::kChiSquared, x, df); }

class VarReference : public EngineTest, public ::testing::WithParamInterface<const char*> {
 protected:
  VarFit fit;
  std::map<std::string, Expected> rows;
  std::vector<std::string> names;  // endogenous
  void SetUp() override {
    EngineTest::SetUp();
    rows = var_expected(GetParam());
    ASSERT_EQ(multi::fit_var(var_reference_data().view(), var_reference_layout(GetParam()), fit), FitStatus::kOk);
    for (int v : fit.layout.endogenous) names.push_back(var_reference_name(v));
  }
  int position(const std::string& name) const {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return static_cast<int>(i) + 1;
    return 0;
  }
};

TEST_P(VarReference, CoefficientsCovariancesAndLikelihood) {
  const auto& layout = fit.layout;
  const int m = layout.m();
  for (int i = 1; i <= m; ++i) {
    const std::string dep = names[static_cast<std::size_t>(i - 1)];
    for (int l = 1; l <= layout.p; ++l)
      for (int j = 1; j <= m; ++j)
        expect_agrees(rows, "coef:" + dep + ":" + names[static_cast<std::size_t>(j - 1)] + "(-" + std::to_string(l) + ")",
                      fit.lag_coef(l, i, j));
    for (int r = 1; r <= layout.d(); ++r)
      expect_agrees(rows, "coef:" + dep + ":" + var_reference_name(layout.deterministic[static_cast<std::size_t>(r - 1)]),
                    fit.deterministic_coef(r, i));
    for (int j = 1; j <= m; ++j)
      expect_agrees(rows, "SIGMA:" + dep + ":" + names[static_cast<std::size_t>(j - 1)],
                    fit.sigma_tilde[static_cast<std::size_t>(core::PACKEDINDEX(i, j) - 1)]);
  }
  expect_agrees(rows, "SYSTEM_LL", fit.loglik);
  expect_agrees(rows, "N", layout.n);
  expect_agrees(rows, "K", layout.k());
}

TEST_P(VarReference, OrderSelectionTable) {
  std::vector<multi::OrderRow> table;
  ASSERT_TRUE(multi::order_selection(var_reference_data().view(), fit, table));
  ASSERT_EQ(table.size(), static_cast<std::size_t>(fit.layout.p + 1));
  EXPECT_EQ(table.front().q, fit.layout.p);
  for (const auto& row : table) {
    const std::string q = std::to_string(row.q);
    expect_agrees(rows, "OS_LL:" + q, row.loglik);
    expect_agrees(rows, "OS_AIC:" + q, row.aic);
    expect_agrees(rows, "OS_SBC:" + q, row.sbc);
    if (row.q == fit.layout.p) continue;
    expect_agrees(rows, "OS_LR:" + q, row.lr);
    expect_agrees(rows, "OS_LR_DF:" + q, row.df);
    expect_agrees(rows, "OS_LR_PROB:" + q, chi_prob(row.lr, row.df));
    expect_agrees(rows, "OS_LR_ADJ:" + q, row.lr_adjusted);
    expect_agrees(rows, "OS_LR_ADJ_PROB:" + q, chi_prob(row.lr_adjusted, row.df));
  }
}

TEST_P(VarReference, DeletionTest) {
  // V3 deletes T (its second deterministic variable); V1 deletes its only one.
  const std::vector<int> positions = {fit.layout.d()};
  multi::DeletionTest test;
  ASSERT_TRUE(multi::deletion_test(var_reference_data().view(), fit, positions, test));
  expect_agrees(rows, "DEL_LL_R", test.restricted.loglik);
  expect_agrees(rows, "DEL_LR", test.lr);
  expect_agrees(rows, "DEL_DF", test.df);
  expect_agrees(rows, "DEL_PROB", chi_prob(test.lr, test.df));
}

TEST_P(VarReference, BlockNonCausalityIsTheExactLikelihoodRatio) {
  // cases.csv lists the non-causal groups of each case, "|" between the tests.
  const std::vector<std::vector<std::string>> groups = noncausal_groups(GetParam());
  ASSERT_FALSE(groups.empty());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const std::string prefix = "NC" + std::to_string(g + 1);
    std::vector<int> positions;
    for (const auto& name : groups[g]) positions.push_back(position(name));
    multi::NonCausality test;
    ASSERT_EQ(multi::non_causality(var_reference_data().view(), fit, positions, test), FitStatus::kOk);
    expect_agrees(rows, prefix + "_LR", test.lr);
    expect_agrees(rows, prefix + "_DF", test.df);
    expect_agrees(rows, prefix + "_PROB", chi_prob(test.lr, test.df));
    expect_agrees(rows, prefix + "_LL_R", test.restricted_loglik);
  }
}

TEST_P(VarReference, ResponsesAndDecompositionsToTheCaseHorizon) {
  const int H = std::string(GetParam()) == "V3" ? 12 : 8;
  const auto lags = multi::lag_matrices(fit);
  const int m = fit.layout.m();
  const struct {
    int kind;
    const char* label;
  } kinds[] = {{multi::kOrthogonalResponses, "OIR"},
               {multi::kGeneralisedResponses, "GIR"},
               {multi::kOrthogonalDecomposition, "OFEVD"},
               {multi::kGeneralisedDecomposition, "GFEVD"}};
  for (const auto& k : kinds) {
    for (int e = 1; e <= m; ++e) {
      std::vector<double> table;
      ASSERT_TRUE(multi::dynamic_response(lags, fit.sigma_tilde, k.kind, e, H, table));
      ASSERT_EQ(table.size(), static_cast<std::size_t>((H + 1) * m));
      for (int c = 1; c <= m; ++c)
        for (int h = 0; h <= H; ++h)
          // Responses are keyed shock:variable, decompositions variable:shock.
          expect_agrees(rows,
                        std::string(k.label) + ":" + names[static_cast<std::size_t>(e - 1)] + ":" +
                            names[static_cast<std::size_t>(c - 1)] + ":" + std::to_string(h),
                        table[static_cast<std::size_t>((c - 1) * (H + 1) + h)]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, VarReference, ::testing::Values("V3", "V1"));

TEST(DynamicResponse, RefusesNegativeHorizonAndReportsAFailedFactorisation) {
  const multi::LagMatrices lags{{0.5, 0.0, 0.0, 0.5}, 2, 1};
  std::vector<double> table;
  EXPECT_THROW(multi::dynamic_response(lags, std::vector<double>{1, 0, 1}, 1, 1, -1, table), std::invalid_argument);
  // A singular Σ (the two errors identical) has no Cholesky factor; the generalised
  // responses need none.
  const std::vector<double> singular = {1, 1, 1};
  EXPECT_FALSE(multi::dynamic_response(lags, singular, multi::kOrthogonalResponses, 1, 3, table));
  EXPECT_TRUE(multi::dynamic_response(lags, singular, multi::kGeneralisedResponses, 1, 3, table));
  // Horizon 150 gives 151 rows.
  EXPECT_TRUE(multi::dynamic_response(lags, std::vector<double>{1, 0, 1}, 1, 1, multi::kMaxHorizon, table));
  EXPECT_EQ(table.size(), 151u * 2u);
}

TEST(VarOrder, LargestOrderOffered) {
  EXPECT_EQ(multi::max_var_order(4, 0), 24);
  EXPECT_EQ(multi::max_var_order(4, 6), 24);
  EXPECT_EQ(multi::max_var_order(4, 10), 23);
  EXPECT_EQ(multi::max_var_order(12, 18), 7);
}

/// y_t = 0.5·y_{t−1} + x_t exactly: the forecasts are known by hand.
class VarForecasts : public EngineTest {
 protected:
  // Variables: 1 y, 2 x; 10 observations, the sample 2..7, forecasts 8..10.
  std::vector<double> values = std::vector<double>(20, 0.0);
  void SetUp() override {
    EngineTest::SetUp();
    const double x[10] = {0, 1, 3, 2, 5, 4, 1, 2, 6, 3};
    double y = 4.0;
    for (int t = 0; t < 10; ++t) {
      if (t > 0) y = 0.5 * y + x[t];
      values[static_cast<std::size_t>(t)] = t < 7 ? y : 999.0;  // no actual value may leak into the forecasts
      values[static_cast<std::size_t>(10 + t)] = x[t];
    }
  }
};

TEST_F(VarForecasts, DynamicRecursionAndMissingExogenousValue) {
  const multi::DataView data{values, 10};
  VarFit fit;
  // A perfect fit: the estimates are exact, the log-likelihood undefined.
  EXPECT_EQ(multi::fit_var(data, multi::VarLayout{{1}, {2}, 1, 2, 6}, fit), FitStatus::kNoLikelihood);
  EXPECT_EQ(fit.loglik, limits::kMissing);
  std::vector<double> predictions;
  multi::ForecastGap gap;
  ASSERT_TRUE(multi::var_forecasts(data, fit, 3, predictions, gap));
  ASSERT_EQ(predictions.size(), 9u);
  // y: 4, 3, 4.5, 4.25, 7.125, 7.5625, 4.78125 at observations 1..7.
  EXPECT_NEAR(predictions[0], 3.0, 1e-12);
  EXPECT_NEAR(predictions[5], 4.78125, 1e-12);
  const double f8 = 0.5 * 4.78125 + 2, f9 = 0.5 * f8 + 6, f10 = 0.5 * f9 + 3;
  EXPECT_NEAR(predictions[6], f8, 1e-12);
  EXPECT_NEAR(predictions[7], f9, 1e-12);
  EXPECT_NEAR(predictions[8], f10, 1e-12);
  values[10 + 8] = limits::kMissing;  // x at observation 9
  EXPECT_FALSE(multi::var_forecasts(data, fit, 3, predictions, gap));
  EXPECT_EQ(gap.variable, 2);
  EXPECT_EQ(gap.observation, 9);
}

}  // namespace
}  // namespace qorv::testing
