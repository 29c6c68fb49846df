#include "engine/single/binary_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "engine/core/distributions.h"
#include "engine/core/workspace.h"
#include "engine/single/binary_estimate.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/engine/single/logit_fixture.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::single {
namespace {

using testing::Expected;

class BinaryChoiceReference : public qorv::testing::EngineTest {};

/// y on an intercept and x.
BinaryData intercept_and(std::initializer_list<double> x, std::initializer_list<double> y) {
  BinaryData d;
  d.n = static_cast<int>(x.size());
  d.k = 2;
  d.y.assign(y.begin(), y.end());
  for (const double v : x) d.x.insert(d.x.end(), {1.0, v});
  return d;
}

/// Every quantity of a reference case computed from the estimate, under its name in
/// expected.csv.
std::map<std::string, double> computed_quantities(const qorv::testing::LogitCase& c) {
  auto& g = core::globals();
  g.sample_start = c.sample_start;
  g.sample_end = c.sample_end;
  take_equation(qorv::testing::logit_equation(c));
  const BinaryModel model = c.probit ? BinaryModel::kProbit : BinaryModel::kLogit;
  begin_estimate(binary_method_code(model));
  EXPECT_TRUE(load_sample());
  BinaryData data;
  binary_equation_data(c.sample_start, c.sample_end, data);
  EXPECT_TRUE(binary_dependent(data.y));
  BinaryEstimate e = binary_start(data);
  EXPECT_EQ(binary_newton(model, data, e, 40), BinaryMlStatus::kConverged) << c.name;
  store_binary_estimate(model, e, true);
  const BinaryStatistics st = binary_statistics(model, data, e);

  const auto& s = estimation();
  std::map<std::string, double> q;
  q["N"] = s.nused;
  q["K"] = s.nregs;
  for (int j = 1; j <= s.nregs; ++j) {
    const std::string& name = c.regressors[static_cast<size_t>(j - 1)];
    const double t = s.result[static_cast<size_t>(block::kTRatios + j - 1)];
    int fault = 0;
    q["coef:" + name] = coefficient(j);
    q["se:" + name] = std::sqrt(coefficient_variance(j, j));
    q["t:" + name] = t;
    q["tprob:" + name] = 2.0 * (1.0 - core::TDISTRIBUTION(std::fabs(t), s.nused - s.nregs, fault));
  }
  q["FACTOR"] = st.factor;
  q["LL"] = st.loglik;
  q["AIC"] = st.aic;
  q["SBC"] = st.sbc;
  q["HQC"] = st.hqc;
  q["MEAN_Y"] = st.fit.mean_actual;
  q["MEAN_FITTED"] = st.fit.mean_fitted;
  q["GOF"] = st.fit.goodness;
  q["DA"] = st.fit.accuracy;
  q["DA_PROB"] = st.fit.accuracy_prob;
  q["PSEUDO_R2"] = st.pseudo_r2;
  for (int t = 1; t <= s.nused; ++t) {
    const std::string obs = std::to_string(c.sample_start + t - 1);
    q["PROB:" + obs] = fitted(t);
    q["FITTED:" + obs] = binary_fitted(fitted(t));
  }
  if (c.forecast_start > 0) {
    BinaryData ahead;
    binary_equation_data(c.forecast_start, c.forecast_end, ahead);
    std::vector<double> prob(static_cast<size_t>(ahead.n));
    double loglik = 0.0;
    EXPECT_TRUE(LOGITPROBITLIK(model, ahead, e.b, prob, loglik));
    for (int i = 0; i < ahead.n; ++i) {
      const std::string obs = std::to_string(c.forecast_start + i);
      q["FC_PROB:" + obs] = prob[static_cast<size_t>(i)];
      q["FC_PRED:" + obs] = binary_fitted(prob[static_cast<size_t>(i)]);
    }
    const BinaryFitSummary fc = binary_fit_summary(ahead.y, prob);
    q["FC_MEAN_Y"] = fc.mean_actual;
    q["FC_MEAN_PRED"] = fc.mean_fitted;
    q["FC_GOF"] = fc.goodness;
    q["FC_DA"] = fc.accuracy;
    q["FC_DA_PROB"] = fc.accuracy_prob;
  }
  return q;
}

// Every definite and favoured row of every case, from the estimate (unrounded).
TEST_F(BinaryChoiceReference, EveryRowOfEveryCaseAgrees) {
  for (const auto& c : qorv::testing::logit_cases()) {
    SCOPED_TRACE(c.name);
    qorv::testing::install_logit_data(c.data);
    const auto computed = computed_quantities(c);
    const auto expected = qorv::testing::logit_expected(c.name);
    ASSERT_GT(expected.size(), 40u);
    for (const auto& [name, e] : expected) {
      const auto found = computed.find(name);
      ASSERT_NE(found, computed.end()) << "no value for " << name;
      EXPECT_TRUE(qorv::testing::agrees(found->second, e))
          << name << ": " << found->second << " against " << e.value;
    }
  }
}

// The same Newton iteration read from the score: at the estimate the information's
// inverse is the variance matrix, and a logit with an intercept fits the mean exactly.
TEST(BinaryChoice, LogitMeanOfProbabilitiesEqualsMeanOfY) {
  const BinaryData d = intercept_and({0.5, 1.5, -1.0, 2.0, 0.0, -0.5, 1.0, 3.0}, {0, 1, 0, 1, 1, 0, 0, 1});
  BinaryEstimate e = binary_start(d);
  ASSERT_EQ(binary_newton(BinaryModel::kLogit, d, e, 40), BinaryMlStatus::kConverged);
  double mean = 0.0;
  for (const double p : e.prob) mean += p / d.n;
  EXPECT_NEAR(mean, 0.5, 1e-9);
}

// Perfectly separated data: the probabilities run to 0 and 1 and the iteration stops with
// the undefined likelihood, never with a NaN.
TEST(BinaryChoice, SeparatedDataEndUndefined) {
  for (const BinaryModel model : {BinaryModel::kLogit, BinaryModel::kProbit}) {
    const BinaryData d = intercept_and({1, 2, 3, 4, 5, 6}, {0, 0, 0, 1, 1, 1});
    BinaryEstimate e = binary_start(d);
    BinaryMlStatus status = BinaryMlStatus::kLimitReached;
    for (int limit = 40; status == BinaryMlStatus::kLimitReached && limit <= 1000; limit += 20)
      status = binary_newton(model, d, e, limit);
    EXPECT_EQ(status, BinaryMlStatus::kUndefined) << e.iterations;
    for (const double b : e.b) EXPECT_TRUE(std::isfinite(b));
  }
}

// The limit stops the iteration where it stands; going on from there ends where an
// uninterrupted run ends.
TEST(BinaryChoice, IterationLimitStopsAndResumes) {
  const BinaryData d = intercept_and({0.5, 1.5, -1.0, 2.0, 0.0, -0.5, 1.0, 3.0}, {0, 1, 0, 1, 1, 0, 0, 1});
  BinaryEstimate whole = binary_start(d);
  ASSERT_EQ(binary_newton(BinaryModel::kProbit, d, whole, 40), BinaryMlStatus::kConverged);
  BinaryEstimate parts = binary_start(d);
  ASSERT_EQ(binary_newton(BinaryModel::kProbit, d, parts, 2), BinaryMlStatus::kLimitReached);
  EXPECT_EQ(parts.iterations, 2);
  ASSERT_EQ(binary_newton(BinaryModel::kProbit, d, parts, 40), BinaryMlStatus::kConverged);
  EXPECT_EQ(parts.iterations, whole.iterations);
  EXPECT_EQ(parts.b, whole.b);
}

// Every fitted value 0: the "are all" case, and no directional-accuracy statistic (its
// variance term is 0).
TEST(BinaryChoice, AllFittedValuesTheSame) {
  const BinaryData d =
      intercept_and({0.3, -1.2, 0.8, 1.1, -0.4, 0.9, 0.1, -0.7, 0.5, 1.4}, {0, 0, 0, 1, 0, 0, 0, 0, 1, 0});
  BinaryEstimate e = binary_start(d);
  ASSERT_EQ(binary_newton(BinaryModel::kLogit, d, e, 40), BinaryMlStatus::kConverged);
  const BinaryStatistics st = binary_statistics(BinaryModel::kLogit, d, e);
  EXPECT_TRUE(st.all_same);
  EXPECT_EQ(st.all_value, 0.0);
  EXPECT_DOUBLE_EQ(st.fit.goodness, 0.8);
  EXPECT_EQ(st.fit.accuracy, limits::kMissing);
  EXPECT_EQ(st.fit.accuracy_prob, limits::kMissing);
}

TEST(BinaryChoice, CollinearRegressorsAreSingular) {
  BinaryData d;
  d.n = 6;
  d.k = 3;
  const double x[] = {1, 2, 3, 4, 5, 6};
  const double y[] = {0, 1, 0, 1, 1, 0};
  for (int t = 0; t < d.n; ++t) {
    d.y.push_back(y[t]);
    d.x.insert(d.x.end(), {1.0, x[t], 2.0 * x[t]});
  }
  BinaryEstimate e = binary_start(d);
  EXPECT_EQ(binary_newton(BinaryModel::kProbit, d, e, 40), BinaryMlStatus::kSingular);
}

}  // namespace
}  // namespace qorv::single
